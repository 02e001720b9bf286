#pragma once
// Records every message box shown while it is alive and answers each one instead of a person.
// Answers are taken from a queue (Win32 ids: IDOK, IDCANCEL, IDYES, IDNO); with the queue empty a box gets
// its first button (OK or Yes).

#include "widgets/MessageBoxes.h"

#include <deque>
#include <string>
#include <vector>

class MessageBoxRecorder {
public:
    struct Box {
        std::string caption;
        std::string text;
        unsigned style;
        int help;
        std::string status;  // the status line while the box shows
    };

    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void Answer(int buttonId) { answers_.push_back(buttonId); }
    const std::vector<Box>& Boxes() const { return boxes_; }
    size_t Count() const { return boxes_.size(); }
    const Box& Last() const { return boxes_.back(); }
    void Clear() { boxes_.clear(); }

private:
    int Present(const MessageBoxRequest& request);

    std::vector<Box> boxes_;
    std::deque<int> answers_;
    MessageBoxPresenter previous_;
};
