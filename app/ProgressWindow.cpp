#include "app/ProgressWindow.h"

#include "app/MainFrame.h"
#include "widgets/ProgressBar.h"
#include "framework/draw/Display.h"
#include "framework/visual/VisualStatusPane.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/DockLayout.h"

#include <vector>

namespace {

// The program frame's progress display; null while there is none.
ProgressWindow* Shown()
{
    const MainFrame* frame = MainFrame::Program();
    return frame ? frame->Progress() : nullptr;
}

std::vector<ProgressMessage>& Messages()
{
    static std::vector<ProgressMessage> messages;
    return messages;
}

uint32_t lastHandle = 0;
// The handle of the message shown; -1 when none.
uint32_t shownHandle = static_cast<uint32_t>(-1);
long pushedCount = 0;

// True once a message has waited long enough for its bar to be worth showing.
bool ShowDue(const ProgressMessage& message)
{
    return GetTickCount() - message.PushedAt >= ProgressWindow::ShowDelay;
}

} // namespace

ProgressWindow::ProgressWindow(VisualStatusPane* pane) : VisualFieldItem(pane, LayoutManager::DockLeft, "", Key, 0)
{
}

ProgressWindow::~ProgressWindow() = default;

uint32_t ProgressWindow::Push(const char* text, double low, double high)
{
    ++pushedCount;
    ProgressMessage message{++lastHandle, low, high, zString(text ? text : ""), low, GetTickCount()};
    // Over a bar already shown the new message shows at once; alone it waits for its first late step.
    ProgressWindow* shown = Shown();
    const bool showNow = shown != nullptr && shown->activeBar_ != nullptr;
    if (showNow)
        shown->HideBar();
    Messages().push_back(message);
    if (showNow)
        shown->ShowMessage(Messages().back());
    shownHandle = message.Handle;
    return message.Handle;
}

void ProgressWindow::Step(uint32_t handle, double value)
{
    if (handle != shownHandle || Messages().empty())
        return;
    ProgressMessage& top = Messages().back();
    top.Value = value > top.High ? top.High : value;
    ProgressWindow* shown = Shown();
    if (shown == nullptr)
        return;
    if (!shown->activeBar_ && ShowDue(top))
        shown->ShowMessage(top);
    if (shown->activeBar_)
        shown->activeBar_->SetValue(value);
}

void ProgressWindow::Pop(uint32_t handle)
{
    std::vector<ProgressMessage>& messages = Messages();
    if (handle != shownHandle) {
        for (auto it = messages.begin(); it != messages.end(); ++it) {
            if (it->Handle == handle) {
                messages.erase(it);
                return;
            }
        }
        return;
    }
    ProgressWindow* shown = Shown();
    const bool barShown = shown != nullptr && shown->activeBar_ != nullptr;
    if (shown)
        shown->HideBar();
    messages.pop_back();
    if (messages.empty()) {
        shownHandle = static_cast<uint32_t>(-1);
        return;
    }
    if (shown && (barShown || ShowDue(messages.back())))
        shown->ShowMessage(messages.back());
    shownHandle = messages.back().Handle;
}

bool ProgressWindow::HasEntries()
{
    const ProgressWindow* shown = Shown();
    return shown && shown->activeBar_;
}

long ProgressWindow::PushedCount()
{
    return pushedCount;
}

int ProgressWindow::Depth()
{
    return static_cast<int>(Messages().size());
}

bool ProgressWindow::Top(zString& text, double& position, double& total)
{
    if (Messages().empty())
        return false;
    const ProgressMessage& top = Messages().back();
    text = top.Text;
    position = top.Value;
    total = top.High;
    return true;
}

void ProgressWindow::ShowMessage(const ProgressMessage& message)
{
    Display* display = HostDisplay();
    int textWidth = 0;
    if (display) {
        DisplayLock lock(*display);
        textWidth = display->TextExtent(message.Text.Text(), 0).cx;
    }
    const RECT bounds = Bounds();
    const RECT barRect{textWidth + 8, bounds.top, textWidth + 8 + BarWidth, bounds.bottom};
    activeBar_ = std::make_unique<ProgressBar>(pane_, barRect, message.Low, message.High);
    auto* rule = static_cast<DockLayout*>(Geometry());
    savedSize_ = SIZE{rule->FixedWidth(), rule->FixedHeight()};
    rule->SetFixedWidth(barRect.right + 8 - bounds.left);
    Relayout();
    pane_->SetItemTextByKey(0, "");
    SetText(message.Text.Text());
    ShowWindow(activeBar_->Handle(), SW_SHOW);
    InvalidateRect(pane_->Handle(), nullptr, TRUE);
    UpdateWindow(pane_->Handle());
}

void ProgressWindow::HideBar()
{
    if (!activeBar_)
        return;
    activeBar_.reset();
    SetText("");
    auto* rule = static_cast<DockLayout*>(Geometry());
    rule->SetFixedWidth(savedSize_.cx);
    Relayout();
    InvalidateRect(pane_->Handle(), nullptr, TRUE);
}

void ProgressWindow::Relayout()
{
    pane_->PaneLayout()->Arrange(nullptr);
}
