#include "app/OutcomeBoxes.h"

#include "formula/RunOutcome.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

void ShowOutcomeInWindows(const RunOutcome& outcome)
{
    for (const OutcomeNotice& notice : outcome.notices) {
        if (notice.selectNode && notice.node != nullptr && notice.node->document != nullptr)
            notice.node->document->SelectNode(notice.node, 1, nullptr, false);
        ShowNoticeBox(notice);
    }
}
