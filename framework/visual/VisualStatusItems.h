#pragma once
// Status indicators that keep themselves current on framework timers: the clock (the minute in the user's
// time format from WIN.INI) and the Num Lock and Caps Lock states.

#include "framework/visual/VisualFieldItem.h"

#include <ctime>
#include <memory>

class Timer;

class TimeItem : public VisualFieldItem {
public:
    // Where the clock reads the time; time() unless a test sets another.
    using ClockSource = std::time_t (*)();

    TimeItem(VisualStatusPane* pane, int kind, int key);
    ~TimeItem() override;

    void Draw(const RECT* clip) override; // 11

    // Replaces the clock; returns the previous one. Null restores time().
    static ClockSource SetClockSource(ClockSource source);
    static std::time_t Now();

private:
    void Tick();

    std::unique_ptr<Timer> timer_;
    char separator_[2] = ":";
    char morning_[5] = "AM";
    char afternoon_[5] = "PM";
    int hourFormat_ = 0;
    int useSeparator_ = 1;
    std::time_t shown_;
};

class KeyStateItem : public VisualFieldItem {
public:
    // Where the indicators read a key's state; GetKeyState unless a test sets another.
    using KeyStateSource = SHORT (*)(int key);

    KeyStateItem(VisualStatusPane* pane, int kind, int key, const char* on, const char* off);

    // Replaces the key-state reader; returns the previous one. Null restores GetKeyState.
    static KeyStateSource SetKeyStateSource(KeyStateSource source);

protected:
    // The text for the toggle state of the virtual key, then the field draws itself.
    void DrawFor(int virtualKey, const char* defaultOn, const RECT* clip);
    // Redraws at once unless the pane shows menu help.
    void Tick();

private:
    std::string on_;
    std::string off_;
};

class NumLockItem : public KeyStateItem {
public:
    NumLockItem(VisualStatusPane* pane, int kind, int key, const char* on, const char* off);
    ~NumLockItem() override;
    void Draw(const RECT* clip) override; // 11

private:
    std::unique_ptr<Timer> timer_;
};

class CapsLockItem : public KeyStateItem {
public:
    CapsLockItem(VisualStatusPane* pane, int kind, int key, const char* on, const char* off);
    ~CapsLockItem() override;
    void Draw(const RECT* clip) override; // 11

private:
    std::unique_ptr<Timer> timer_;
};
