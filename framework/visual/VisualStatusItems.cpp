#include "framework/visual/VisualStatusItems.h"

#include "framework/draw/Display.h"
#include "framework/visual/VisualStatusPane.h"
#include "framework/window/Timer.h"

#include <cstdio>

namespace {

TimeItem::ClockSource Clock = nullptr;
KeyStateItem::KeyStateSource KeyState = nullptr;

// A text of the same length made of "M", the widest letter.
std::string WidestOf(const std::string& text)
{
    return std::string(text.size(), 'M');
}

} // namespace

TimeItem::ClockSource TimeItem::SetClockSource(ClockSource source)
{
    ClockSource previous = Clock;
    Clock = source;
    return previous;
}

std::time_t TimeItem::Now()
{
    return Clock ? Clock() : std::time(nullptr);
}

TimeItem::TimeItem(VisualStatusPane* pane, int kind, int key)
    : VisualFieldItem(pane, nullptr, key, Centred | NoGap)
{
    hourFormat_ = static_cast<int>(GetProfileIntA("intl", "iTime", 0));
    GetProfileStringA("intl", "sTime", ":", separator_, sizeof separator_);
    GetProfileStringA("intl", "s1159", "AM", morning_, sizeof morning_);
    GetProfileStringA("intl", "s2359", "PM", afternoon_, sizeof afternoon_);
    timer_ = std::make_unique<Timer>(this, &TimeItem::Tick, 500);
    useSeparator_ = 1;
    shown_ = Now();
    char sample[40] = {};
    std::snprintf(sample, sizeof sample, hourFormat_ == 1 ? "MM%sMM" : "M%sMM MM", separator_);
    SizeBySample(kind, sample);
    MakeGap();
}

TimeItem::~TimeItem()
{
    timer_->Stop();
}

void TimeItem::Tick()
{
    const std::time_t now = Now();
    if (now / 60 == shown_ / 60)
        return;
    shown_ = now;
    if (pane_->ShowingHelp())
        return;
    if (Display* display = HostDisplay()) {
        const RECT bounds = Bounds();
        display->InvalidateRect(&bounds, false);
    }
}

void TimeItem::Draw(const RECT* clip)
{
    const std::tm* local = std::localtime(&shown_);
    const char* separator = useSeparator_ ? separator_ : " ";
    char text[40] = "";
    if (local && hourFormat_ == 1) {
        std::snprintf(text, sizeof text, "%02d%s%02d", local->tm_hour, separator, local->tm_min);
    } else if (local) {
        const int hour = local->tm_hour % 12 == 0 ? 12 : local->tm_hour % 12;
        std::snprintf(text, sizeof text, "%d%s%02d %s", hour, separator, local->tm_min,
                      local->tm_hour < 12 ? morning_ : afternoon_);
    }
    SetText(text);
    VisualFieldItem::Draw(clip);
}

KeyStateItem::KeyStateSource KeyStateItem::SetKeyStateSource(KeyStateSource source)
{
    KeyStateSource previous = KeyState;
    KeyState = source;
    return previous;
}

KeyStateItem::KeyStateItem(VisualStatusPane* pane, int kind, int key, const char* on, const char* off)
    : VisualFieldItem(pane, nullptr, key, Centred | NoGap), on_(on ? on : ""), off_(off ? off : "")
{
    const std::string onSample = on_.empty() ? "MMM" : WidestOf(on_);
    const std::string offSample = WidestOf(off_);
    SizeBySample(kind, onSample.size() >= offSample.size() ? onSample.c_str() : offSample.c_str());
    MakeGap();
    SetText(off_.c_str());
}

void KeyStateItem::Tick()
{
    if (!pane_->ShowingHelp())
        Draw(nullptr);
}

void KeyStateItem::DrawFor(int virtualKey, const char* defaultOn, const RECT* clip)
{
    const SHORT state = KeyState ? KeyState(virtualKey) : GetKeyState(virtualKey);
    if (state & 1)
        SetText(on_.empty() ? defaultOn : on_.c_str());
    else
        SetText(off_.c_str());
    VisualFieldItem::Draw(clip);
}

NumLockItem::NumLockItem(VisualStatusPane* pane, int kind, int key, const char* on, const char* off)
    : KeyStateItem(pane, kind, key, on, off),
      timer_(std::make_unique<Timer>(static_cast<KeyStateItem*>(this), &NumLockItem::Tick, 1000))
{
}

NumLockItem::~NumLockItem()
{
    timer_->Stop();
}

void NumLockItem::Draw(const RECT* clip)
{
    DrawFor(VK_NUMLOCK, "NUM", clip);
}

CapsLockItem::CapsLockItem(VisualStatusPane* pane, int kind, int key, const char* on, const char* off)
    : KeyStateItem(pane, kind, key, on, off),
      timer_(std::make_unique<Timer>(static_cast<KeyStateItem*>(this), &CapsLockItem::Tick, 1000))
{
}

CapsLockItem::~CapsLockItem()
{
    timer_->Stop();
}

void CapsLockItem::Draw(const RECT* clip)
{
    DrawFor(VK_CAPITAL, "CAP", clip);
}
