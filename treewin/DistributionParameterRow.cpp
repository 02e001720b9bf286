#include "treewin/DistributionParameterRow.h"

#include "framework/window/HandlerDescriptor.h"

DistributionParameterRow::DistributionParameterRow(WindowCL* dialog, unsigned labelId, unsigned fieldId,
                                                   unsigned buttonId, zString* text, EditorOpener openEditor)
    : dialog_(dialog), labelId_(labelId), buttonId_(buttonId),
      field_(BorderedEditCtrl::FromTemplate(dialog, fieldId, text, CtrlWindowCL::MayBeEmpty)),
      openEditor_(std::move(openEditor))
{
    field_->SetLimit(256);
    dialog->AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
        buttonId, AsEventHandler(&DistributionParameterRow::OnButton), this, WM_COMMAND));
}

void DistributionParameterRow::Show(bool shown)
{
    const int command = shown ? SW_SHOWNA : SW_HIDE;
    for (unsigned id : {labelId_, field_->Id(), buttonId_}) {
        if (WindowCL* control = dialog_->FindChild(id))
            control->ShowWindow(command);
    }
}

void DistributionParameterRow::SetLabel(const char* label)
{
    if (WindowCL* control = dialog_->FindChild(labelId_))
        control->SetText(label);
}

long DistributionParameterRow::OnButton(WindowEvent*)
{
    if (openEditor_)
        openEditor_(*field_);
    return 1;
}
