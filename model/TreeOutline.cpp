#include "model/TreeOutline.h"

#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovInfo.h"
#include "model/NodeRef.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "model/NodeResultText.h"
#include "model/TreeDocument.h"

#include <vector>

// One line per node:
//   values not current: tabs, name, "\" probability, [n kind letter], [v bindings], [p payoffs],
//                       [t terminations], [r rewards] [u tunnels] or [j transition rewards],
//                       [ci id] [cn name] or [cc id], "<-" second text, CR LF
//   values current:     tabs, name, "\" probability (or its value), " :: " result text, CR LF
// Sections list their fields separated by "\"; formula texts have their brackets written as braces.

namespace {

const char kKindLetters[] = {0, 'c', 'd', 't', 'm', 'b', 'l', 'a'};

bool ValuesCurrent(const TreeNode* node)
{
    return node->document != nullptr && node->document->ValuesCurrent();
}

// The text with carriage returns dropped and each line feed written as "^N".
void AppendOneLine(zString& out, const zString& text)
{
    for (const char* p = text.Text(); *p != '\0'; ++p) {
        if (*p == '\n')
            out += "^N";
        else if (*p != '\r')
            out += *p;
    }
}

void AppendFormula(zString& out, const zString& text)
{
    zString escaped(text);
    EscapeOutlineBrackets(escaped);
    out += escaped;
}

// A section of the fields 0 up to the last non-empty one; nothing when all are empty.
// `fields` is an array of expressions or the node's payoffs.
template <typename Fields>
void AppendFieldSection(zString& out, char letter, const Fields& fields, int count)
{
    int last = count - 1;
    while (last >= 0 && fields[last].IsEmpty())
        --last;
    if (last < 0)
        return;
    AppendOutlineMarker(out, letter, 0);
    for (int i = 0; i <= last; ++i) {
        if (i > 0)
            out += '\\';
        AppendFormula(out, fields[i].Text());
    }
    out += ']';
}

void AppendRewardSection(zString& out, const MarkovInfo& info)
{
    int last = kMarkovPayoffCount - 1;
    while (last >= 0 && info.initialReward[last].IsEmpty() && info.incrementalReward[last].IsEmpty() &&
           info.finalReward[last].IsEmpty())
        --last;
    if (last < 0)
        return;
    AppendOutlineMarker(out, 'r', 0);
    for (int p = 0; p <= last; ++p) {
        const Expression* rewards[] = {&info.initialReward[p], &info.incrementalReward[p], &info.finalReward[p]};
        for (int k = 0; k < 3; ++k) {
            if (p > 0 || k > 0)
                out += '\\';
            // A reward never entered counts as 0; the node itself is left as it is.
            if (rewards[k]->IsEmpty())
                out += '0';
            else
                AppendFormula(out, rewards[k]->Text());
        }
    }
    out += ']';
}

void AppendNumberSection(zString& out, char letter, char secondLetter, long number)
{
    AppendOutlineMarker(out, letter, secondLetter);
    AppendInt(out, number);
    out += ']';
}

void AppendCloneSections(zString& out, const TreeNode* node)
{
    if (node->cloneStatus == CloneMasterNode) {
        AppendNumberSection(out, 'c', 'i', node->cloneId);
        AppendOutlineMarker(out, 'c', 'n');
        if (node->document != nullptr) {
            if (const NodeRef* ref = node->document->CloneMasters.FindId(node->cloneId))
                out += ref->name;
        }
        out += ']';
    } else if (node->cloneStatus == CloneCopyNode) {
        AppendNumberSection(out, 'c', 'c', node->cloneId);
    }
}

void AppendFormulaSections(zString& out, const TreeNode* node)
{
    if (node->kind >= 1 && node->kind <= 7) {
        AppendOutlineMarker(out, 'n', 0);
        out += kKindLetters[node->kind];
        out += ']';
    }
    if (node->parent != nullptr && node->bindings != nullptr && node->bindings->Count() > 0) {
        AppendOutlineMarker(out, 'v', 0);
        zString assignment;
        for (int i = 0; i < node->bindings->Count(); ++i) {
            if (i > 0)
                out += '\\';
            node->bindings->At(i)->FormatAssignment(assignment, false);
            AppendFormula(out, assignment);
        }
        out += ']';
    }
    const bool inMarkov = node->IsInMarkovSubtree();
    if (node->IsTerminal() && !inMarkov && node->HasPayoffs())
        AppendFieldSection(out, 'p', node->payoffs, kPayoffCount);
    const MarkovInfo* info = node->markovInfo.get();
    if (info == nullptr)
        return;
    if (node->kind == MarkovNode) {
        AppendFieldSection(out, 't', info->termination, kMarkovPayoffCount);
    } else if (node->parent != nullptr && node->parent->kind == MarkovNode) {
        AppendRewardSection(out, *info);
        if (info->tunnelCount > 0)
            AppendNumberSection(out, 'u', 0, info->tunnelCount + 1L);
    } else if (node->IsTerminal() && inMarkov) {
        AppendFieldSection(out, 'j', info->transitionReward, kMarkovPayoffCount);
    }
}

void AppendValueLine(zString& out, const TreeNode* node)
{
    if (!node->IsProbabilityEmpty()) {
        out += '\\';
        if (node->document->DisplayPrefs.ShowProbsAsNumericEquiv != 0) {
            zString number;
            FormatNumber(node->document->NumberFormat(), node->branchProbability, number, false, false, DigitsOfFormat);
            out += number;
        } else {
            out += node->probability.Text();
        }
    }
    zString result;
    BuildNodeValueText(node, result, 0);
    out += " :: ";
    out += result;
}

}  // namespace

void AppendOutlineMarker(zString& out, char letter, char secondLetter)
{
    out += " [";
    out += letter;
    if (secondLetter != 0)
        out += secondLetter;
    out += ' ';
}

void EscapeOutlineBrackets(zString& text)
{
    char* p = text.Buffer();
    for (; *p != '\0'; ++p) {
        if (*p == '[')
            *p = '{';
        else if (*p == ']')
            *p = '}';
    }
}

void NodeOutlineLine(const TreeNode* node, zString& out)
{
    out.Clear();
    for (int depth = node->Depth(); depth > 0; --depth)
        out += '\t';
    AppendOneLine(out, node->text);
    if (ValuesCurrent(node)) {
        AppendValueLine(out, node);
    } else {
        if (!node->IsProbabilityEmpty()) {
            out += '\\';
            AppendFormula(out, node->probability.Text());
        }
        AppendFormulaSections(out, node);
        AppendCloneSections(out, node);
        if (!node->text2.IsEmpty()) {
            out += "<-";
            AppendOneLine(out, node->text2);
        }
    }
    out += "\r\n";
}

void WriteTreeOutline(const TreeNode* node, zString& out)
{
    const bool valuesCurrent = ValuesCurrent(node);
    // Pre-order on an explicit stack; a node that does not fit is left out with its subtree.
    std::vector<const TreeNode*> pending{node};
    zString line;
    bool topWritten = false;
    while (!pending.empty()) {
        const TreeNode* current = pending.back();
        pending.pop_back();
        NodeOutlineLine(current, line);
        if (out.Length() + line.Length() > static_cast<uint32_t>(kMaxOutlineLength))
            continue;
        out += line;
        topWritten = topWritten || current == node;
        if (current->cloneStatus != CloneCopyNode || valuesCurrent) {
            for (int i = current->childCount - 1; i >= 0; --i)
                pending.push_back(current->GetChild(i));
        }
    }
    // The root's own bindings follow its subtree when the formulas were written and the subtree was.
    if (!topWritten || node->parent != nullptr || valuesCurrent || node->bindings == nullptr ||
        node->childCount == 0 || node->cloneStatus == CloneCopyNode)
        return;
    uint32_t total = out.Length();
    zString assignment;
    for (int i = 0; i < node->bindings->Count(); ++i) {
        node->bindings->At(i)->FormatAssignment(assignment, false);
        if (total + assignment.Length() + 2 > static_cast<uint32_t>(kMaxOutlineLength))
            break;
        total += assignment.Length();
        out += assignment;
        out += "\r\n";
    }
}
