#include "app/ProgressWindow.h"

#include <string>
#include <vector>

namespace {

struct ProgressEntry {
    int32_t handle;
    std::string text;
    double total;
    double position;
};

std::vector<ProgressEntry>& Entries()
{
    static std::vector<ProgressEntry> entries;
    return entries;
}

int32_t lastHandle = 0;
long pushedCount = 0;

}  // namespace

int32_t ProgressWindow::Push(const char* text, int, int, double total)
{
    ++pushedCount;
    Entries().push_back({++lastHandle, text != nullptr ? text : "", total, 0.0});
    return lastHandle;
}

void ProgressWindow::Step(int32_t handle, double position)
{
    auto& entries = Entries();
    if (!entries.empty() && entries.back().handle == handle)
        entries.back().position = position > entries.back().total ? entries.back().total : position;
}

void ProgressWindow::Pop(int32_t handle)
{
    auto& entries = Entries();
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->handle == handle) {
            entries.erase(it);
            return;
        }
    }
}

long ProgressWindow::PushedCount()
{
    return pushedCount;
}

int ProgressWindow::Depth()
{
    return static_cast<int>(Entries().size());
}

bool ProgressWindow::Top(zString& text, double& position, double& total)
{
    const auto& entries = Entries();
    if (entries.empty())
        return false;
    text = entries.back().text.c_str();
    position = entries.back().position;
    total = entries.back().total;
    return true;
}
