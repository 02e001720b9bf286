// A script file read line by line: characters with a push-back of two, line ends and comments, and the
// reopening for a label or a line count.

#include "script/ScriptManager.h"

#include "foundation/FileStream.h"

#include <string>

int ScriptManager::TakeChar()
{
    if (pushedCount_ > 0) {
        const char c = pushedBack_[0];
        pushedBack_[0] = pushedBack_[1];
        --pushedCount_;
        return static_cast<unsigned char>(c);
    }
    if (!stream_ || stream_->BytesLeft() == 0)
        return -1;
    uint8_t c = 0;
    stream_->ReadByte(c);
    return c;
}

// A full buffer keeps the newer of its two characters first and the new one second.
void ScriptManager::PushBackChar(char c)
{
    if (pushedCount_ == 2) {
        pushedBack_[0] = pushedBack_[1];
        pushedCount_ = 1;
    }
    pushedBack_[pushedCount_++] = c;
}

bool ScriptManager::ReadLine(std::string& line)
{
    line.clear();
    readingLine_ = lineCount + 1;
    bool quoted = false;
    bool comment = false;
    for (;;) {
        const int c = TakeChar();
        if (c < 0)
            return false;
        if (c == '"')
            quoted = !quoted;
        else if (c == '#' && !quoted) {
            comment = true;
            continue;
        }
        if (c == '\r' || c == '\n') {
            // CR LF and LF CR are one line end.
            const int next = TakeChar();
            const bool otherLineEnd = (next == '\r' || next == '\n') && next != c;
            if (next >= 0 && !otherLineEnd)
                PushBackChar(static_cast<char>(next));
            ++lineCount;
            return true;
        }
        if (comment || ((c == ' ' || c == '\t') && line.empty()))
            continue;
        line += static_cast<char>(c);
    }
}

int ScriptManager::NextLine(std::string& line)
{
    for (;;) {
        if (!ReadLine(line))
            return 0;
        if (!line.empty())
            return 1;
    }
}

// Jumps and subroutines work only in a file, reopened from its start for each jump.
void ScriptManager::FindLabel(const std::string& label)
{
    if (!stream_) {
        ReportError(7, currentCommand_, label.c_str());
        return;
    }
    const std::string key = Upper(!label.empty() && label[0] == ':' ? label : ":" + label);
    if (!ReopenFile()) {
        ReportError(3, currentCommand_, label.c_str());
        return;
    }
    std::string line;
    while (NextLine(line)) {
        // Blanks before the line's end or its comment are no part of the label.
        line.erase(line.find_last_not_of(" \t") + 1);
        if (Upper(line) == key)
            return;
    }
    CloseScriptFile();
    ReportError(3, currentCommand_, label.c_str());
}

bool ScriptManager::RestartFile(long count)
{
    if (!stream_) {
        ReportError(7, currentCommand_);
        return false;
    }
    if (!ReopenFile())
        return false;
    std::string line;
    while (lineCount < count) {
        if (!ReadLine(line)) {
            CloseScriptFile();
            return false;
        }
    }
    return true;
}
