#include "formula/RunOutcome.h"

#include "foundation/Host.h"
#include "foundation/MessageBoxes.h"
#include "foundation/PresenterSlot.h"

namespace {

using Slot = PresenterSlot<RunOutcome, OutcomePresenter>;

OutcomeScope* innermost = nullptr;

void Deliver(const OutcomeNotice& notice)
{
    if (innermost != nullptr) {
        innermost->Outcome().Add(notice);
        return;
    }
    RunOutcome outcome;
    outcome.Add(notice);
    PresentOutcome(outcome);
}

}  // namespace

void RunOutcome::Add(const OutcomeNotice& notice)
{
    notices.push_back(notice);
    if (notice.kind != NoticeKind::Error || Failed())
        return;
    code = notice.code;
    node = notice.node;
    variable = notice.variable;
    text = notice.text;
}

OutcomeScope::OutcomeScope() : OutcomeScope(own)
{
}

OutcomeScope::OutcomeScope(RunOutcome& target) : target(&target), outer(innermost)
{
    innermost = this;
}

OutcomeScope::~OutcomeScope()
{
    innermost = outer;
}

OutcomeRelay::OutcomeRelay(RunOutcome& kept) : kept(kept)
{
    scope.emplace(part);
}

OutcomeRelay::~OutcomeRelay()
{
    scope.reset();
    for (const OutcomeNotice& notice : part.notices)
        kept.Add(notice);
    ForwardOutcome(part);
}

OutcomeScopePause::OutcomeScopePause() : paused(innermost)
{
    innermost = nullptr;
}

OutcomeScopePause::~OutcomeScopePause()
{
    innermost = paused;
}

void ReportOutcome(OutcomeNotice notice)
{
    notice.quiet = Host::Silenced(Silence::Notices);
    Deliver(notice);
}

void ForwardOutcome(const RunOutcome& outcome)
{
    for (const OutcomeNotice& notice : outcome.notices)
        Deliver(notice);
}

namespace {

void ReportAtNode(OutcomeCode code, TreeNode* node, bool selectNode, const char* caption, const char* text,
                  int help)
{
    OutcomeNotice notice;
    notice.code = code;
    notice.node = node;
    notice.selectNode = selectNode;
    notice.caption = caption;
    notice.text = text;
    notice.help = help;
    ReportOutcome(notice);
}

} // namespace

void ReportFailure(OutcomeCode code, TreeNode* node, const char* caption, const char* text, int help)
{
    ReportAtNode(code, node, false, caption, text, help);
}

void ReportNodeFault(OutcomeCode code, TreeNode* node, const char* caption, const char* text, int help)
{
    ReportAtNode(code, node, true, caption, text, help);
}

void ReportNotice(OutcomeCode code, const char* caption, const char* text, int help)
{
    OutcomeNotice notice;
    notice.code = code;
    notice.kind = NoticeKind::Information;
    notice.caption = caption;
    notice.text = text;
    notice.help = help;
    ReportOutcome(notice);
}

void PresentOutcome(const RunOutcome& outcome)
{
    if (outcome.notices.empty())
        return;
    if (Slot::Current())
        Slot::Current()(outcome);
    else
        for (const OutcomeNotice& notice : outcome.notices)
            ShowNoticeBox(notice);
}

OutcomePresenter SetOutcomePresenter(OutcomePresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

void ShowNoticeBox(const OutcomeNotice& notice)
{
    if (notice.quiet)
        return;
    if (notice.kind == NoticeKind::Error)
        ShowErrorBox(notice.caption, notice.text.Text(), notice.help);
    else
        ShowInfoBox(notice.caption, notice.text.Text(), notice.help);
}
