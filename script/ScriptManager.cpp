#include "script/ScriptManager.h"

#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/MessageBoxes.h"

#include <cctype>

ScriptManager::ScriptManager() = default;
ScriptManager::~ScriptManager() = default;

void ScriptManager::RunScriptFile(const char* path)
{
    CloseScriptFile();
    stream_ = FilePath(path).OpenStream(false);
    if (!stream_ || !stream_->IsOpen()) {
        CloseScriptFile();
        return;
    }
    lineCount = 0;
    runningScript = 1;
    ContinueScript();
}

void ScriptManager::ContinueScript()
{
    ++continuations;
    while (stream_ && waitingForAnalysis == 0) {
        std::string line;
        if (!NextLine(line))
            CloseScriptFile();
        ExecuteLine(line);
    }
}

void ScriptManager::CloseScriptFile()
{
    stream_.reset();
    pushedCount_ = 0;
    runningScript = 0;
}

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

void ScriptManager::ExecuteLine(const std::string& line)
{
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '!')
        return;
    const size_t nameStart = ++at;
    while (at < line.size() && std::isalpha(static_cast<unsigned char>(line[at])))
        ++at;
    // No script command is known: the script ends at its first command.
    const std::string name = line.substr(nameStart, at - nameStart);
    CloseScriptFile();
    ShowErrorBox(nullptr, ("Unrecognized command \"" + name + "\".").c_str(), 0);
}
