#pragma once
// What a formatted field asks of the object that decides its text: which input it takes, how the text
// reads once valid, and the canonical form the field converts into its value. Concrete validators (number
// ranges and the like) belong to the program's dialogs.

#include "foundation/zString.h"

#include <cstdint>
#include <vector>

struct TextSelection {
    int start;
    int end;
};

class Validator {
public:
    // Answers of Edit.
    enum EditAnswer { Reject = 0, AcceptCharacter = 1, TakeText = 2 };

    explicit Validator(uint32_t setting) : setting_(setting) {}
    virtual ~Validator() = default;

    // Input is a typed character (count 1; Backspace is 8), the Delete key (8 with count 2), or a whole
    // pasted or loaded text with its length. text is a copy of the field's text that the validator may
    // rewrite; on TakeText the text and the selection become the field's. On AcceptCharacter the control
    // inserts input[0], which the validator may have replaced.
    virtual int Edit(zString& text, char* input, int count, TextSelection& selection) = 0;
    // Nonzero when the text is valid; 0 with the range to select in selection.
    virtual int Check(const zString& text, TextSelection& selection) = 0;
    // Rewrites the text into the form the field's store converts.
    virtual int Normalise(zString& text, int mode) { return 1; }
    // The caret position after a load.
    virtual int CaretPosition(const char* text) { return 0; }

    uint32_t Setting() const { return setting_; }

private:
    uint32_t setting_;
};

// A zeroed set of n bits, rounded up to whole bytes.
class CharSet {
public:
    explicit CharSet(unsigned bits) : bits_((bits | 7) + 1), bytes_(bits_ / 8, 0) {}
    void Set(unsigned bit) { bytes_[bit / 8] = static_cast<uint8_t>(bytes_[bit / 8] | (1u << (bit % 8))); }
    bool Test(unsigned bit) const { return bit < bits_ && (bytes_[bit / 8] & (1u << (bit % 8))); }
    unsigned Size() const { return bits_; }

private:
    unsigned bits_;
    std::vector<uint8_t> bytes_;
};
