#include "widgets/ValidatedEdit.h"

#include "foundation/NumericFormatParsing.h"

#include <cmath>

ValidatedEdit::ValidatedEdit(WindowCL* parent, unsigned id, FormattedValue* binding, Validator* validator,
                             int flags, double* value)
    : RealEdit(parent, id, validator, flags, nullptr), binding_(binding)
{
    SwapBuffer(binding ? &binding->value : value);
    // The typed text stands for the value it reads as: a value changed elsewhere shows formatted.
    if (binding && !binding->text.IsEmpty()) {
        int error = 0;
        ParseNumber(binding->text.Text(), ownValue_, error);
        if (!error)
            ownText_ = binding->text;
    }
    Load();
}

long ValidatedEdit::Load()
{
    const double* value = static_cast<double*>(buffer_);
    if (value && !ownText_.IsEmpty() && std::fabs(ownValue_ - *value) < 1e-10)
        LoadThroughValidator(ownText_.Text());
    else
        RealEdit::Load();
    shownText_ = GetText();
    return 1;
}

long ValidatedEdit::Store()
{
    auto* value = static_cast<double*>(buffer_);
    if (!value)
        return 0;
    const zString typed = GetText();
    if (typed != shownText_) {
        double parsed = 0.0;
        int error = 0;
        ParseNumber(NormalisedText().Text(), parsed, error);
        if (error)
            return 0;
        *value = parsed;
        ownText_ = typed;
        shownText_ = typed;
    }
    ownValue_ = *value;
    if (binding_)
        binding_->text = ownText_;
    return 1;
}
