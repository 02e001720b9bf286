#pragma once
// The clock the program times mouse presses by (a double click, or one press reported twice), set by the
// test: each press it sends comes exactly as long after the last as the test says, however slowly the
// machine runs. The clock stands still while a press is handled and runs on with the system's between
// presses, so the polls of long operations still see time pass.

#include <cstdint>
#include <functional>

class PressClock {
public:
    // The clock starts at start (the system's tick count unless given, e.g. just before it wraps).
    explicit PressClock(uint32_t start);
    PressClock();
    ~PressClock();
    PressClock(const PressClock&) = delete;
    PressClock& operator=(const PressClock&) = delete;

    // Sends a press (send does) the given time after the last press.
    void Press(uint32_t after, const std::function<void()>& send);
    // A press after this long is a press of its own, never the second of a double click.
    static uint32_t Apart();
    // The second press of a double click comes this long after the first.
    static constexpr uint32_t DoubleClickGap = 20;

private:
    uint32_t Now() const;

    uint32_t lastPress_;
    uint32_t systemAtLastPress_;
    bool pressing_ = false;
    std::function<uint32_t()> previous_;
};
