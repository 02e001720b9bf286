#pragma once
// A validator of signed numbers within a range, for the dialog tests: typed digits, signs and the point are
// accepted; a whole text replaces the selection and is taken; the check selects the whole text when the
// number is out of range. It records every whole text it is offered.

#include "framework/dialog/Validator.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

class TestRangeValidator : public Validator {
public:
    TestRangeValidator(double minimum, double maximum, std::vector<std::string>* offered = nullptr)
        : Validator(0), minimum_(minimum), maximum_(maximum), offered_(offered)
    {
    }

    int Edit(zString& text, char* input, int count, TextSelection& selection) override
    {
        if (count == 1)
            return std::strchr("0123456789+-.\b", input[0]) ? AcceptCharacter : Reject;
        const std::string whole(input, static_cast<size_t>(count));
        if (offered_)
            offered_->push_back(whole);
        std::string current = text.Text();
        const size_t start = std::min(static_cast<size_t>(selection.start), current.size());
        const size_t end = std::min(static_cast<size_t>(selection.end), current.size());
        const std::string inserted = (count == 2 && input[0] == 8) ? "" : whole;
        current = current.substr(0, start) + inserted + current.substr(end);
        text = current.c_str();
        selection = TextSelection{static_cast<int>(start + inserted.size()), static_cast<int>(start + inserted.size())};
        return TakeText;
    }
    int Check(const zString& text, TextSelection& selection) override
    {
        char* end = nullptr;
        const double value = std::strtod(text.Text(), &end);
        if (end != text.Text() && *end == '\0' && value >= minimum_ && value <= maximum_)
            return 1;
        selection = TextSelection{0, static_cast<int>(text.Length())};
        return 0;
    }

private:
    double minimum_;
    double maximum_;
    std::vector<std::string>* offered_;
};
