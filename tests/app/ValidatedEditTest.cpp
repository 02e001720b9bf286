#include "widgets/RangeValidator.h"
#include "widgets/ValidatedEdit.h"
#include "framework/dialog/DialogFrameCL.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct FieldDialog {
    std::unique_ptr<DialogFrameCL> dialog;
    ValidatedEdit* field;
    FieldDialog(WindowCL* parent, FormattedValue* binding)
        : dialog(std::make_unique<DialogFrameCL>(parent, ResourceId(61310u, nullptr))),
          field(new ValidatedEdit(dialog.get(), 101, binding, new RealRangeValidator(0, 0, 0), 0))
    {
    }
};

TEST(ValidatedEdit, KeepsTheTypedTextWhileTheValueIsUnchanged)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    FormattedValue bound;
    bound.value = 1e-8;
    {
        FieldDialog open(&top, &bound);
        // Untouched: the value stays exact and no text is taken.
        EXPECT_EQ(open.field->Store(), 1);
        EXPECT_EQ(bound.value, 1e-8);
        EXPECT_EQ(bound.text, "");
        open.field->SetText("1,000");
        EXPECT_EQ(open.field->Store(), 1);
        EXPECT_EQ(bound.value, 1000.0);
        EXPECT_EQ(bound.text, "1,000");
        open.field->SetText("x");
        EXPECT_EQ(open.field->Store(), 0);
        EXPECT_EQ(bound.value, 1000.0);
    }
    EXPECT_EQ(FieldDialog(&top, &bound).field->GetText(), "1,000");
    bound.value = 2000.0;
    EXPECT_EQ(std::string(FieldDialog(&top, &bound).field->GetText().Text()), "2000");
}

} // namespace
