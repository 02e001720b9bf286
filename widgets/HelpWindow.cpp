#include "widgets/HelpWindow.h"

#include "widgets/WindowPlacement.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"
#include "framework/window/WindowEvent.h"

#include "CommandIds.h"

#include <algorithm>

namespace Help = Ctl::HelpWindow;

HelpWindow* HelpWindow::open_ = nullptr;

namespace {

// A top-level window beside the frame that can be minimized, whatever the template says of its frame.
const DWORD WindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

WindowCL* Frame()
{
    return TheApp ? TheApp->MainWindow() : nullptr;
}

// Chapter headings stand out from the topics under them.
std::string ContentsLineText(const HelpContentsLine& line)
{
    return line.topic < 0 ? line.text : "    " + line.text;
}

} // namespace

BOOL HelpWindow::View(HWND, const char* path, UINT command, ULONG_PTR value)
{
    if (command == HELP_QUIT) {
        if (open_)
            DestroyWindow(open_->Handle());
        return TRUE;
    }
    HelpWindow* window = open_ ? open_ : new HelpWindow();
    if (!window->Load(path)) {
        DestroyWindow(window->Handle());
        return FALSE;
    }
    switch (command) {
    case HELP_CONTEXT:
        window->ShowContext(static_cast<int>(value));
        break;
    case HELP_PARTIALKEY:
    case HELP_KEY:
        window->ShowIndex(value ? reinterpret_cast<const char*>(value) : "");
        if (command == HELP_KEY && window->IndexPositionTopic() >= 0)
            window->ShowTopic(window->IndexPositionTopic());
        break;
    default:
        window->ShowContents();
        break;
    }
    window->Show(IsIconic(window->Handle()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window->Handle());
    if (window->mode_ != Mode::Contents)
        window->FocusFindField();
    return TRUE;
}

HelpWindow::HelpWindow() : DialogFrameCL(Frame(), ResourceId(DialogRes::HelpWindow, nullptr), WindowStyle)
{
    SetStateBits(StateDeleteWithWindow);
    open_ = this;
    AddHandler(this, &HelpWindow::OnKeepAbove, KeepAboveMessage);
    focusWatch_ = SetWindowsHookExA(WH_CBT, &HelpWindow::WatchFrameFocus, nullptr, GetCurrentThreadId());
    // Beside the work: at the right of the frame, so that the dialog it explains stays in view.
    PlaceWindowInFrame(handle_, 0.1f, 0.5f, false);
    RECT own;
    RECT frame;
    if (Frame() && GetWindowRect(handle_, &own) && GetWindowRect(Frame()->Handle(), &frame))
        SetWindowPos(handle_, nullptr, std::max(frame.left, frame.right - (own.right - own.left)), own.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A maximised frame's edges lie past the screen's: the window stays on the screen.
    KeepWindowOnScreen(handle_);
}

HelpWindow::~HelpWindow()
{
    if (askAgain_ != 0)
        KillTimer(nullptr, askAgain_);
    if (focusWatch_ != nullptr)
        UnhookWindowsHookEx(focusWatch_);
    if (open_ == this)
        open_ = nullptr;
}

LRESULT CALLBACK HelpWindow::WatchFrameFocus(int code, WPARAM window, LPARAM details)
{
    HelpWindow* help = open_;
    if (code == HCBT_SETFOCUS && help != nullptr && !help->keepAbovePosted_ && window != 0) {
        const HWND owner = GetWindow(help->Handle(), GW_OWNER);
        if (owner != nullptr && GetAncestor(reinterpret_cast<HWND>(window), GA_ROOT) == owner)
            help->keepAbovePosted_ = PostMessageA(help->Handle(), KeepAboveMessage, 0, 0) != FALSE;
    }
    return CallNextHookEx(nullptr, code, window, details);
}

void CALLBACK HelpWindow::AskAgain(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (open_ != nullptr && open_->askAgain_ == timer) {
        open_->askAgain_ = 0;
        if (!open_->keepAbovePosted_)
            open_->keepAbovePosted_ = PostMessageA(open_->Handle(), KeepAboveMessage, 0, 0) != FALSE;
    }
}

namespace {

// A menu of this thread is up (it lies over every window until it closes).
bool MenuUp()
{
    for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu != nullptr;
         menu = FindWindowExA(nullptr, menu, "#32768", nullptr))
        if (IsWindowVisible(menu) && GetWindowThreadProcessId(menu, nullptr) == GetCurrentThreadId())
            return true;
    return false;
}

} // namespace

long HelpWindow::OnKeepAbove(WindowEvent*)
{
    keepAbovePosted_ = false;
    const HWND owner = GetWindow(handle_, GW_OWNER);
    if (owner == nullptr || GetAncestor(GetFocus(), GA_ROOT) != owner || !IsWindowVisible(handle_) ||
        IsIconic(handle_) || IsIconic(owner))
        return 1;
    // The screen puts a window shown at the top only when no window stands above it in the system's order: a
    // menu still up is waited for, and another program's window is passed (the frame, active, is above it).
    if (MenuUp()) {
        if (askAgain_ == 0)
            askAgain_ = SetTimer(nullptr, 0, 30, &HelpWindow::AskAgain);
        return 1;
    }
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The system's order has this window above the frame still, and it changes nothing for a move to where the
    // window stands; a window shown is put on the screen where the order has it.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, flags | SWP_HIDEWINDOW);
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, flags | SWP_SHOWWINDOW);
    return 1;
}

bool HelpWindow::Load(const std::string& path)
{
    if (path == path_ && !topics_.Topics().empty())
        return true;
    path_ = path;
    return topics_.Read(path);
}

long HelpWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    switch (id) {
    case Help::Contents:
        ShowContents();
        return 1;
    case Help::Index:
        ShowIndex(FindText());
        FocusFindField();
        return 1;
    case Help::Search:
        ShowSearch(FindText());
        FocusFindField();
        return 1;
    case Help::FindEdit:
        if (code == EN_CHANGE && !filling_ && mode_ != Mode::Contents)
            mode_ == Mode::Index ? ShowIndex(FindText()) : ShowSearch(FindText());
        return 1;
    case Help::TopicList:
        if (code == LBN_SELCHANGE && !filling_)
            OnListPick();
        return 1;
    case IDOK:
        OpenListedTopic();
        return 1;
    case IDCANCEL:
        DestroyWindow(handle_);
        return 1;
    default:
        return DialogFrameCL::OnCommandId(id, code, control);
    }
}

std::vector<int> HelpWindow::ShownContexts() const
{
    return shown_ >= 0 ? topics_.Topics()[static_cast<size_t>(shown_)].contexts : std::vector<int>();
}

void HelpWindow::ShowContents()
{
    SetMode(Mode::Contents, "");
    // Opened on no topic, the pane shows the first one (how help is used) rather than nothing.
    if (shown_ < 0)
        ShowTopic(0);
}

void HelpWindow::FocusFindField()
{
    HWND field = Control(Help::FindEdit);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

void HelpWindow::ShowIndex(const std::string& key)
{
    SetMode(Mode::Index, key);
    // The entry that the key leads to is the one picked, as Enter opens it.
    const int position = topics_.IndexPosition(key);
    if (position >= 0) {
        SendMessageA(Control(Help::TopicList), LB_SETTOPINDEX, static_cast<WPARAM>(position), 0);
        PickLine(static_cast<size_t>(position));
    }
}

int HelpWindow::IndexPositionTopic() const
{
    const int position = topics_.IndexPosition(FindText());
    return position < 0 ? -1 : topics_.Index()[static_cast<size_t>(position)].topic;
}

void HelpWindow::ShowSearch(const std::string& query)
{
    SetMode(Mode::Search, query);
}

bool HelpWindow::ShowContext(int context)
{
    const int topic = topics_.ForContext(context);
    ShowContents();
    if (topic < 0)
        return false;
    ShowTopic(topic);
    return true;
}

void HelpWindow::ShowTopic(int topic)
{
    if (topic < 0 || topic >= static_cast<int>(topics_.Topics().size()))
        return;
    shown_ = topic;
    const HelpTopic& shown = topics_.Topics()[static_cast<size_t>(topic)];
    SetWindowTextA(Control(Help::TopicTitle), shown.title.c_str());
    SetWindowTextA(Control(Help::TopicText), shown.text.c_str());
    // The list follows the topic where it shows it: the line picked stays when it leads there (several
    // index entries may), else the first line of the topic.
    const LRESULT picked = SendMessageA(Control(Help::TopicList), LB_GETCURSEL, 0, 0);
    if (picked >= 0 && static_cast<size_t>(picked) < lineTopics_.size() &&
        lineTopics_[static_cast<size_t>(picked)] == topic)
        return;
    for (size_t line = 0; line < lineTopics_.size(); ++line)
        if (lineTopics_[line] == topic) {
            PickLine(line);
            break;
        }
}

void HelpWindow::PickLine(size_t line)
{
    filling_ = true;
    SendMessageA(Control(Help::TopicList), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    filling_ = false;
}

void HelpWindow::SetMode(Mode mode, const std::string& findText)
{
    mode_ = mode;
    if (FindText() != findText)
        SetFindText(findText);
    EnableWindow(Control(Help::FindEdit), mode != Mode::Contents);
    FillList();
}

void HelpWindow::FillList()
{
    HWND list = Control(Help::TopicList);
    std::vector<std::string> lines;
    lineTopics_.clear();
    if (mode_ == Mode::Contents) {
        for (const HelpContentsLine& line : topics_.Contents()) {
            lines.push_back(ContentsLineText(line));
            lineTopics_.push_back(line.topic);
        }
    } else if (mode_ == Mode::Index) {
        for (const HelpIndexEntry& entry : topics_.Index()) {
            lines.push_back(entry.key);
            lineTopics_.push_back(entry.topic);
        }
    } else {
        for (int topic : topics_.Search(FindText())) {
            lines.push_back(topics_.Topics()[static_cast<size_t>(topic)].title);
            lineTopics_.push_back(topic);
        }
    }
    filling_ = true;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    filling_ = false;
}

void HelpWindow::OnListPick()
{
    const LRESULT line = SendMessageA(Control(Help::TopicList), LB_GETCURSEL, 0, 0);
    if (line >= 0 && static_cast<size_t>(line) < lineTopics_.size())
        ShowTopic(lineTopics_[static_cast<size_t>(line)]);
}

void HelpWindow::OpenListedTopic()
{
    // The index opens the entry the find text led the list to; elsewhere the line picked, else the first.
    if (mode_ == Mode::Index && IndexPositionTopic() >= 0) {
        ShowTopic(IndexPositionTopic());
        return;
    }
    const LRESULT picked = SendMessageA(Control(Help::TopicList), LB_GETCURSEL, 0, 0);
    const size_t line = picked >= 0 ? static_cast<size_t>(picked) : 0;
    if (line < lineTopics_.size())
        ShowTopic(lineTopics_[line]);
}

void HelpWindow::SetFindText(const std::string& text)
{
    filling_ = true;
    SetWindowTextA(Control(Help::FindEdit), text.c_str());
    filling_ = false;
}

std::string HelpWindow::FindText() const
{
    char text[256] = {};
    GetWindowTextA(Control(Help::FindEdit), text, sizeof text);
    return text;
}
