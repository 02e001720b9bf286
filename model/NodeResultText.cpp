#include "model/NodeResultText.h"

#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

void BuildNodeResultText(const TreeNode* node, zString& out, int)
{
    const NumericFormat& format = node->window != nullptr ? node->window->NumberFormat : DefaultNumericFormat;
    FormatNumber(format, node->ExpectedValue(), out, true, true, DigitsOfFormat);
}
