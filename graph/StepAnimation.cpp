#include "graph/StepAnimation.h"

#include "widgets/ZoomPane.h"
#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/Timer.h"
#include "graph/GraphWindow.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned kAnimateId = 1557;
constexpr int kGap = 9;
constexpr int kButtonGap = 20;
constexpr SIZE kScrollBarSize{150, 17};
constexpr SIZE kButtonSize{60, 23};

// The strip keeps the bottom of its window, whatever the window's size.
class BottomRowLayout : public LayoutManager {
public:
    void Resize(WindowCL* window, WindowEvent* parentSize) override
    {
        if (window == nullptr || window->Handle() == nullptr || parentSize == nullptr)
            return;
        const SIZE client = parentSize->ClientSize();
        MoveWindow(window->Handle(), 0, std::max(0L, client.cy - StepAnimationStrip::Height), client.cx,
                   StepAnimationStrip::Height, TRUE);
    }
};

}  // namespace

StepValueLabel::StepValueLabel()
{
    font.bold = 1;
}

void StepValueLabel::Initialise(const NumericFormat& numberFormat, const char* captionText, double first,
                                double last, double step)
{
    format = numberFormat;
    format.axisFormat = 1;
    caption = captionText != nullptr ? captionText : "";
    baseValue = first;
    maximumValue = last;
    stepSize = step;
    SetStep(0, nullptr);
}

// The step label stands this far (inches) above the plot's frame.
constexpr float kStepLabelGap = 0.05f;

LogicalRect StepLabelBlock(LogicalRect block, const StepValueLabel& label)
{
    block.bottom += label.Height() + kStepLabelGap;
    return block;
}

LogicalRect PlotUnderStepLabel(LogicalRect block, const StepValueLabel& label)
{
    block.top += label.Height() + kStepLabelGap;
    return block;
}

void PlaceStepLabel(StepValueLabel& label, const LogicalRect& block, const LogicalRect& plot)
{
    label.MoveTo(plot.right - label.Width(), block.top);
}

int SteppedGraph::ShownStep()
{
    int step = currentStep;
    const StepValueLabel* label = StepLabel();
    if (step == 0 && label != nullptr && label->stepSize != 0.0)
        step = static_cast<int>(std::lround((label->currentValue - label->baseValue) / label->stepSize));
    return std::min(std::max(step, 0), StepCount() - 1);
}

zString StepValueLabel::TextAt(double value) const
{
    zString number;
    FormatNumber(format, value, number, false, true, DigitsOfFormat);
    zString shown = caption;
    shown += " = ";
    shown += number;
    return shown;
}

void StepValueLabel::SetStep(int step, Display* display)
{
    currentValue = baseValue + step * stepSize;
    text = TextAt(currentValue);
    if (display == nullptr || owner == nullptr)
        return;
    owner->InvalidateLogicalRect(&rect);
    DisplayLock lock(*display);
    Fit(*display);
    owner->InvalidateLogicalRect(&rect);
}

void StepValueLabel::Measure(Display& display)
{
    float width = 0.0f;
    float height = 0.0f;
    float otherWidth = 0.0f;
    float otherHeight = 0.0f;
    MeasureText(display, font, TextAt(baseValue).Text(), width, height);
    MeasureText(display, font, TextAt(maximumValue).Text(), otherWidth, otherHeight);
    width = std::max(width, otherWidth);
    height = std::max(height, otherHeight);
    rect.right = vertical ? height : width;
    rect.bottom = vertical ? width : height;
}

void StepValueLabel::Serialize(Archive& archive)
{
    GraphLabel::Serialize(archive);
    if (archive.Failed())
        return;
    VersionRecord version(VersionRecord::Current());
    version.Serialize(archive);
    SerializeWithVersion(format, archive);
    if (archive.IsStoring()) {
        archive.WriteDouble(baseValue).WriteDouble(maximumValue).WriteDouble(stepSize).WriteDouble(currentValue);
        caption.Serialize(archive);
        return;
    }
    archive.ReadDouble(baseValue).ReadDouble(maximumValue).ReadDouble(stepSize).ReadDouble(currentValue);
    caption.Serialize(archive);
}

StepAnimationStrip::StepAnimationStrip(GraphWindow& graph, SteppedGraph& stepped)
    : PaneWindowCL(&graph, new BottomRowLayout, WS_CHILD | WS_VISIBLE), graph_(graph), stepped_(stepped)
{
    SetBackgroundColourRef(GetSysColor(COLOR_BTNFACE));
    const int top = (Height - kScrollBarSize.cy) / 2;
    scrollBar_ = CreateWindowExA(0, "scrollbar", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, kGap, top,
                                 kScrollBarSize.cx, kScrollBarSize.cy, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ScrollBarId)), nullptr, nullptr);
    SetScrollRange(scrollBar_, SB_CTL, 0, std::max(0, stepped_.StepCount() - 1), FALSE);
    SetScrollPos(scrollBar_, SB_CTL, 0, TRUE);
    const int left = kGap + kScrollBarSize.cx + kButtonGap;
    CreateWindowExA(0, "button", "Animate", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, left,
                    (Height - kButtonSize.cy) / 2, kButtonSize.cx, kButtonSize.cy, Handle(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kAnimateId)), nullptr, nullptr);
    if (HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)))
        SendMessageA(GetDlgItem(Handle(), static_cast<int>(kAnimateId)), WM_SETFONT,
                     reinterpret_cast<WPARAM>(font), FALSE);
    AddMessageHandler(this, &StepAnimationStrip::OnScroll, WM_HSCROLL);
    AddHandler(this, &StepAnimationStrip::OnDestroyed, WM_DESTROY);
    graph_.ReserveBottomStrip(Height);
    RECT client{};
    GetClientRect(graph_.Handle(), &client);
    MoveWindow(Handle(), 0, std::max(0L, client.bottom - Height), client.right, Height, TRUE);
}

StepAnimationStrip::~StepAnimationStrip()
{
    timer_.reset();
    graph_.ReserveBottomStrip(0);
}

int StepAnimationStrip::ScrollPosition() const
{
    return GetScrollPos(scrollBar_, SB_CTL);
}

long StepAnimationStrip::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (id == kAnimateId && code == BN_CLICKED) {
        Animate();
        return 1;
    }
    return PaneWindowCL::OnCommandId(id, code, control);
}

long StepAnimationStrip::OnScroll(WindowEvent* event)
{
    int minimum = 0;
    int maximum = 0;
    GetScrollRange(scrollBar_, SB_CTL, &minimum, &maximum);
    int position = GetScrollPos(scrollBar_, SB_CTL);
    switch (event->ScrollCode()) {
    case SB_LINELEFT:
        --position;
        break;
    case SB_LINERIGHT:
        ++position;
        break;
    case SB_PAGELEFT:
        position -= 5;
        break;
    case SB_PAGERIGHT:
        position += 5;
        break;
    case SB_LEFT:
        position = minimum;
        break;
    case SB_RIGHT:
        position = maximum;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        position = event->ThumbPosition();
        break;
    default:
        return 1;
    }
    position = std::min(std::max(position, minimum), maximum);
    graph_.Deselect();
    ShowStep(position);
    return 1;
}

// The window may go before the object does (its graph's window destroyed): no step is shown after that.
long StepAnimationStrip::OnDestroyed(WindowEvent*)
{
    timer_.reset();
    return 0;
}

void StepAnimationStrip::Animate()
{
    graph_.Deselect();
    if (timer_)
        return;
    nextStep_ = 0;
    timer_ = std::make_unique<Timer>(this, &StepAnimationStrip::OnTick, TickMilliseconds);
}

// The step shown is always the graph's current one, so that a repaint between two ticks shows it too.
void StepAnimationStrip::OnTick()
{
    ShowStep(std::min(nextStep_, std::max(0, stepped_.StepCount() - 1)));
    if (++nextStep_ >= stepped_.StepCount())
        timer_.reset();
}

void StepAnimationStrip::ShowStep(int step)
{
    stepped_.currentStep = step;
    LogicalRect plot = graph_.graphRect;
    graph_.InvalidateLogicalRect(&plot);
    if (StepValueLabel* label = stepped_.StepLabel()) {
        ZoomPane* pane = graph_.Pane();
        label->SetStep(step, pane != nullptr ? pane->CurrentDisplay() : nullptr);
    }
    SetScrollPos(scrollBar_, SB_CTL, step, TRUE);
    if (ZoomPane* pane = graph_.Pane())
        UpdateWindow(pane->Handle());
}
