#pragma once
// Edit fields whose every keystroke, paste, cut and delete goes through a Validator they own; the numeric
// and string fields load their caller's value through the validator and store its canonical form.

#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/Validator.h"

#include <memory>

class FormattedEdit : public BorderedEditCtrl {
public:
    // Create form; the validator (which may be null) belongs to the field.
    FormattedEdit(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id,
                  Validator* validator, int mode);
    static FormattedEdit* FromTemplate(WindowCL* parent, unsigned id, Validator* validator, int mode);
    ~FormattedEdit() override;

    long OnChar(WindowEvent* event) override; // 19
    long Validate() override;                 // 21: the validator's check, its range selected on failure

    // Feeds a whole text through the validator as a paste would.
    long CheckText(const char* text);
    Validator* GetValidator() const { return validator_.get(); }

protected:
    FormattedEdit(WindowCL* parent, unsigned id, Validator* validator, int mode);
    // Loads a number or text through the validator, then puts the caret where the validator wants it.
    void LoadThroughValidator(const char* text);
    // A copy of the window text in its canonical form.
    zString NormalisedText() const;

private:
    void Initialise(Validator* validator, int mode, const char* initialText);
    long OnKeyDown(WindowEvent* event);
    long OnCut(WindowEvent* event);
    long OnPaste(WindowEvent* event);
    // The Delete key or a cut: the validator's text after deleting the selection; a cut copies it first.
    long DeleteSelection(bool copyFirst);
    // Makes the validator's text and selection the field's.
    void TakeEdit(const zString& text, const TextSelection& selection);
    TextSelection CurrentSelection() const;

    int skipNextCharacter_ = 0;
    int mode_ = 0;
    std::unique_ptr<Validator> validator_;
};

// A field bound to a double, shown with "%f" and trailing zeros cut (a whole number without its dot).
class RealEdit : public FormattedEdit {
public:
    RealEdit(WindowCL* parent, const RECT& rect, DWORD style, unsigned id, Validator* validator, int mode,
             double* value);
    static RealEdit* FromTemplate(WindowCL* parent, unsigned id, Validator* validator, int mode, double* value);

    long Store() override; // 20
    long Load() override;  // 22
    // The text a value is offered to the validator as: "%f", trailing zeros and a bare dot cut, '+' before
    // values >= 0.
    static zString FormatValue(double value);
    double* SwapBuffer(double* value);

protected:
    RealEdit(WindowCL* parent, unsigned id, Validator* validator, int mode, double* value);

private:
    // What the last load showed, so that an untouched field stores its value unchanged (the text keeps only
    // six decimals).
    zString loadedText_;
    double loadedValue_ = 0.0;
};

// A field bound to an int.
class IntegerEdit : public FormattedEdit {
public:
    IntegerEdit(WindowCL* parent, const RECT& rect, DWORD style, unsigned id, Validator* validator, int mode,
                int* value);
    static IntegerEdit* FromTemplate(WindowCL* parent, unsigned id, Validator* validator, int mode, int* value);

    long Store() override; // 20
    long Load() override;  // 22
    static zString FormatValue(int value);

private:
    IntegerEdit(WindowCL* parent, unsigned id, Validator* validator, int mode, int* value);
};

// A field bound to a zString.
class StringEdit : public FormattedEdit {
public:
    static StringEdit* FromTemplate(WindowCL* parent, unsigned id, Validator* validator, int mode, zString* value);

    long Store() override; // 20
    long Load() override;  // 22

private:
    StringEdit(WindowCL* parent, unsigned id, Validator* validator, int mode, zString* value);
};
