#include "framework/dialog/DialogFrameCL.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/window/MDIframeCL.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

namespace {

// A window of any kind that deletes itself inside the handler of one message and answers 0, so that the
// dispatch would go on. Its memory is kept and poisoned when it is deleted: a dispatch that touches it
// afterwards changes the poison or follows a poisoned pointer.
struct Poisoned {
    static constexpr unsigned char Poison = 0xA5;
    static void* block;
    static size_t size;
    static bool Intact()
    {
        const auto* bytes = static_cast<const unsigned char*>(block);
        for (size_t i = 0; i < size; ++i)
            if (bytes[i] != Poison)
                return false;
        return true;
    }
};
void* Poisoned::block = nullptr;
size_t Poisoned::size = 0;

template <class Base>
struct SelfDeleting : Base {
    template <class... Args>
    explicit SelfDeleting(UINT deleteOn_, Args&&... args) : Base(std::forward<Args>(args)...), deleteOn(deleteOn_)
    {
    }
    long OnResize(SIZE, UINT) override { return Leave(WM_SIZE); }
    long OnMove(WindowEvent*) override { return Leave(WM_MOVE); }
    long OnCommandId(unsigned, unsigned, HWND) override { return Leave(WM_COMMAND); }
    long Leave(UINT message)
    {
        if (message == deleteOn)
            delete this;
        return 0;
    }
    static void operator delete(void* block, size_t size)
    {
        std::memset(block, Poisoned::Poison, size);
        Poisoned::block = block;
        Poisoned::size = size;
    }
    UINT deleteOn;
};

struct DispatchCase {
    const char* kind;
    // Makes the window that deletes itself on the message; the top window is its parent where it needs one.
    std::function<WindowCL*(UINT message, WindowCL& top)> make;
};

const DispatchCase Kinds[] = {
    {"window", [](UINT m, WindowCL&) -> WindowCL* {
         auto* window = new SelfDeleting<TopWindow>(m, nullptr, nullptr, WS_OVERLAPPEDWINDOW, "window");
         window->Create();
         return window;
     }},
    {"control", [](UINT m, WindowCL& top) -> WindowCL* {
         return new SelfDeleting<EditCtrl>(m, &top, RECT{0, 0, 50, 20}, WS_CHILD, "text", 7);
     }},
    {"dialog", [](UINT m, WindowCL& top) -> WindowCL* {
         return new SelfDeleting<DialogFrameCL>(m, &top, ResourceId(61100u, nullptr));
     }},
    {"frame", [](UINT m, WindowCL&) -> WindowCL* {
         return new SelfDeleting<MDIframeCL>(m, nullptr, 0, "frame");
     }},
};

TEST(DispatchPath, AWindowThatDeletesItselfInAHandlerIsNotTouchedAfterwards)
{
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } messages[] = {{WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80)},
                    {WM_MOVE, 0, MAKELPARAM(30, 40)},
                    {WM_COMMAND, MAKEWPARAM(4321, 0), 0}};
    for (const DispatchCase& kind : Kinds) {
        for (const auto& message : messages) {
            ScopedApplication app;
            RecordingTopWindow top;
            top.Create();
            Poisoned::block = nullptr;
            WindowCL* window = kind.make(message.message, top);
            const HWND handle = window->Handle();
            ASSERT_TRUE(IsWindow(handle)) << kind.kind;
            SendMessageA(handle, message.message, message.wParam, message.lParam);
            ASSERT_NE(Poisoned::block, nullptr) << kind.kind << " " << message.message;
            EXPECT_TRUE(Poisoned::Intact()) << kind.kind << " " << message.message;
            EXPECT_FALSE(IsWindow(handle)) << kind.kind << " " << message.message;
            ::operator delete(Poisoned::block);
        }
    }
}

// A handler registered for one message alone runs for it, whatever other message shares its row.
TEST(DispatchPath, AHandlerForASingleMessageRunsBeforeTheWindowsOwnOperation)
{
    const UINT messages[] = {WM_KILLFOCUS, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_RBUTTONUP, WM_SETFOCUS};
    for (const UINT message : messages) {
        ScopedApplication app;
        std::vector<std::string> log;
        RecordingTopWindow top(&log, "top");
        top.Create();
        EditCtrl control(&top, RECT{0, 0, 50, 20}, WS_CHILD, "text", 7);
        RecordingTarget handler(&log, "handler", 1);
        for (WindowCL* window : {static_cast<WindowCL*>(&top), static_cast<WindowCL*>(&control)}) {
            log.clear();
            window->AddMessageHandler(&handler, &RecordingTarget::Handle, message);
            EXPECT_EQ(SendMessageA(window->Handle(), message, 0, 0), 1) << message;
            EXPECT_EQ(log, (std::vector<std::string>{"handler"})) << message;
        }
    }
}

} // namespace
