#include "model/NodeResultText.h"

#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

void BuildNodeValueText(const TreeNode* node, zString& out, int)
{
    const NumericFormat& format = node->document != nullptr ? node->document->NumberFormat() : DefaultNumericFormat;
    FormatNumber(format, node->ExpectedValue(), out, true, true, DigitsOfFormat);
}
