#include "graph/GraphCommandDialogs.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/window/FrameworkApp.h"

#include "CommandIds.h"

namespace GraphLinesIds = Ctl::GraphLines;

int RunCopyGraphDialog()
{
    int checked = Ctl::CopyGraph::CopyAsSpreadsheetAccessibleText;
    if (ProgramDialog::RunRadioChoice(DialogRes::CopyGraph, Ctl::CopyGraph::CopyAsSpreadsheetAccessibleText,
                                      Ctl::CopyGraph::CopyAsBitmapMetafile, checked) != IDOK)
        return -1;
    return checked == static_cast<int>(Ctl::CopyGraph::CopyAsSpreadsheetAccessibleText) ? 1 : 0;
}

namespace {

// A line that is not drawn (or not offered) starts unchecked at 0.
double StartValue(uint8_t flag, double value)
{
    return flag == 1 ? value : 0.0;
}

} // namespace

GraphLinesDialog::GraphLinesDialog(uint8_t& verticalFlag, uint8_t& horizontalFlag, double& x, double& y)
    : AppDialog(DialogRes::GraphLines), verticalFlag_(verticalFlag), horizontalFlag_(horizontalFlag), x_(x), y_(y),
      verticalChecked_(verticalFlag == 1), horizontalChecked_(horizontalFlag == 1),
      xField_(StartValue(verticalFlag, x)), yField_(StartValue(horizontalFlag, y))
{
    CheckBoxCtrl::FromTemplate(this, GraphLinesIds::DrawDottedVerticalLine, &verticalChecked_);
    CheckBoxCtrl::FromTemplate(this, GraphLinesIds::DrawDottedHorizontalLine, &horizontalChecked_);
    AddRealFieldUnbounded(GraphLinesIds::XEdit, &xField_);
    AddRealFieldUnbounded(GraphLinesIds::YEdit, &yField_);
    for (unsigned id : {GraphLinesIds::DrawDottedVerticalLine, GraphLinesIds::XEdit})
        EnableItem(id, verticalFlag != kLineNotOffered);
    for (unsigned id : {GraphLinesIds::DrawDottedHorizontalLine, GraphLinesIds::YEdit})
        EnableItem(id, horizontalFlag != kLineNotOffered);
}

int GraphLinesDialog::Run()
{
    if (!TheApp || !Handle())
        return 0;
    return RunModal() ? 1 : 0;
}

int GraphLinesDialog::OkResult()
{
    verticalFlag_ = verticalChecked_ ? 1 : 0;
    horizontalFlag_ = horizontalChecked_ ? 1 : 0;
    x_ = xField_;
    y_ = yField_;
    return 1;
}
