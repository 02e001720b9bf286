#include "app/OutcomeBoxes.h"

#include "formula/RunOutcome.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"
#include "model/TreeNode.h"

void ShowOutcomeInWindows(const RunOutcome& outcome)
{
    for (const OutcomeNotice& notice : outcome.notices) {
        TreeDocument* document = notice.node != nullptr ? notice.node->document : nullptr;
        if (notice.selectNode && document != nullptr && document->View != nullptr) {
            NodeChildList pointed(1, Ownership::Borrows);
            pointed.Add(notice.node);
            document->View->PointAt(pointed);
        }
        ShowNoticeBox(notice);
    }
}
