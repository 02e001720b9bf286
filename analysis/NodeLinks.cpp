#include "analysis/NodeLinks.h"

#include "analysis/RollBack.h"
#include "analysis/TreeQueries.h"
#include "foundation/NumericFormatting.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"

#include <cstring>

namespace {

constexpr int16_t kValueDigits = -9;

void FormatPathProbability(const TreeNode* node, double value, zString& out)
{
    const NumericFormat& format = node->document->NumberFormat();
    FormatNumber(format, value, out, false, false, static_cast<int16_t>(format.ExtendedProbDigits()));
}

void SendToLink(TreeNode* node, int id, const zString& text)
{
    node->document->PublishLinkValue(id, text.Text());
}

}  // namespace

bool LinkItemText(TreeNode* node, int id, zString& out)
{
    if (node->document == nullptr || id == 0)
        return false;
    RunFault error;
    if (id == node->GetLinkId0()) {
        const double probability = PathProbability(node, &error, nullptr, true);
        if (error)
            return false;
        FormatPathProbability(node, probability, out);
        return true;
    }
    double value = 0.0;
    if (id == node->GetLinkId1())
        value = NodeStandardDeviation(node, &error);
    else if (id == node->GetLinkId2())
        value = RollBackTree(node, &error, 0);
    else
        return false;
    if (error)
        return false;
    FormatNumber(node->document->NumberFormat(), value, out, true, false, kValueDigits);
    return true;
}

bool LinkValueText(TreeDocument& document, const char* itemName, zString& out)
{
    if (itemName == nullptr || std::strncmp(itemName, "DDE_", 4) != 0)
        return false;
    const char* digits = itemName + 4;
    const size_t length = std::strlen(digits);
    if (length == 0 || length > 5)
        return false;
    long id = 0;
    for (const char* p = digits; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        id = id * 10 + (*p - '0');
    }
    if (id < 1 || id > 32767)
        return false;
    TreeNode* node = FindNodeByLinkId(document.Root, static_cast<int>(id));
    return node != nullptr && LinkItemText(node, static_cast<int>(id), out);
}

void UpdateNodeLinks(TreeNode* node)
{
    if (node->document == nullptr || node->linkBlock == nullptr)
        return;
    zString text;
    if (node->GetLinkId2() != 0) {
        FormatNumber(DefaultNumericFormat, node->ExpectedValue(), text, false, false, kValueDigits);
        SendToLink(node, node->GetLinkId2(), text);
    }
    if (node->GetLinkId1() != 0) {
        RunFault error;
        const double deviation = NodeStandardDeviation(node, &error);
        FormatNumber(DefaultNumericFormat, deviation, text, false, false, kValueDigits);
        SendToLink(node, node->GetLinkId1(), text);
    }
    if (node->GetLinkId0() != 0) {
        RunFault error;
        FormatPathProbability(node, PathProbability(node, &error, nullptr, false), text);
        SendToLink(node, node->GetLinkId0(), text);
    }
}

void UpdateAllNodeLinks(TreeNode* node)
{
    WalkTreeWithSkip(node, [](TreeNode* current, void*) { UpdateNodeLinks(current); }, nullptr, false);
}
