#pragma once
// Number fields of the program's dialogs: validators that filter keystrokes and check the value against a
// range before the dialog accepts it. The range kind says which values pass; the one-sided kinds use the
// high bound:
//   0 any ("only")               1 low <= v <= high ("between " low " and " high)
//   2 v > high ("greater than ") 3 v >= high ("greater than or equal to ")
//   4 v < high ("less than ")    5 v <= high ("less than or equal to ")

#include "framework/dialog/Validator.h"

class RangeValidator : public Validator {
public:
    // The bounds of the range, in the field's own type.
    RangeValidator(double low, double high, int kind) : Validator(0), low_(low), high_(high), kind_(kind) {}

    // Replaces the selection by the accepted characters (Backspace and Delete widen an empty selection by
    // one character first); the caret follows the inserted text. Always answers TakeText.
    int Edit(zString& text, char* input, int count, TextSelection& selection) override;
    // A character the field does not take is selected; a value out of range selects the whole text and
    // shows why.
    int Check(const zString& text, TextSelection& selection) override;
    // Removes the currency symbol and the thousands separators.
    int Normalise(zString& text, int mode) override;

    int Kind() const { return kind_; }

protected:
    // Whether the field takes the character; with mayReplace a typed point may become the decimal character.
    virtual bool IsCharAllowed(char& c, bool mayReplace) const = 0;
    virtual bool Validate(const char* text) const = 0;
    virtual void ShowError() const = 0;
    // Thousands separators, exponents and unit letters only where the range admits values above 999.
    bool IsLargeValueChar(char c) const;
    // The text without currency symbol and thousands separators.
    static zString Stripped(const char* text);
    // The range words of the refusal message; bounds formatted by the caller.
    void AppendRangeWords(zString& message, const zString& low, const zString& high) const;
    bool InRange(double value) const;

    double low_;
    double high_;
    int kind_;
};

class IntegerRangeValidator : public RangeValidator {
public:
    IntegerRangeValidator(int low, int high, int kind) : RangeValidator(low, high, kind) {}

protected:
    bool IsCharAllowed(char& c, bool mayReplace) const override;
    bool Validate(const char* text) const override;
    void ShowError() const override;
};

class RealRangeValidator : public RangeValidator {
public:
    RealRangeValidator(double low, double high, int kind) : RangeValidator(low, high, kind) {}

protected:
    bool IsCharAllowed(char& c, bool mayReplace) const override;
    bool Validate(const char* text) const override;
    void ShowError() const override;
};
