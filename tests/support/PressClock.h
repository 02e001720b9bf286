#pragma once
// The clock the program times mouse presses by (a double click, or one press reported twice), set by the
// test: each press it sends comes as long after the last as the test says, however slowly the machine runs.
// Between presses the clock runs on with the system's, so the polls of long operations still see time pass.

#include <cstdint>
#include <functional>

class PressClock {
public:
    PressClock();
    ~PressClock();
    PressClock(const PressClock&) = delete;
    PressClock& operator=(const PressClock&) = delete;

    // Sets the clock to the given time after the last press; call it just before sending the press.
    void NextPressAfter(uint32_t milliseconds);
    // A press after this long is a press of its own, never the second of a double click.
    static uint32_t Apart();
    // The second press of a double click comes this long after the first.
    static constexpr uint32_t DoubleClickGap = 20;

private:
    uint32_t Now() const;

    uint32_t lastPress_;
    uint32_t systemAtLastPress_;
    std::function<uint32_t()> previous_;
};
