#pragma once
// The program's help window: the topics of the help file with three ways in beside the topic shown: the
// contents (chapters and their topics in the file's order), the index (keywords and titles, the list follows
// what is typed in "Find:") and the full-text search (topics holding every word typed). One window at a time;
// it belongs to the main frame, stays open over it beside the work (work in the frame leaves it in view) and
// deletes itself when closed.

#include "widgets/HelpTopics.h"
#include "framework/dialog/DialogFrameCL.h"

#include <string>
#include <vector>

class HelpWindow : public DialogFrameCL {
public:
    enum class Mode { Contents, Index, Search };

    // The help system's viewer: opens (or reuses) the window on the file for one request of the help
    // commands (HELP_CONTEXT, HELP_CONTENTS, HELP_PARTIALKEY, HELP_KEY), closes it on HELP_QUIT.
    static BOOL View(HWND owner, const char* path, UINT command, ULONG_PTR value);
    // The open help window, or null.
    static HelpWindow* Open() { return open_; }

    ~HelpWindow() override;
    long OnCommandId(unsigned id, unsigned code, HWND control) override;

    Mode CurrentMode() const { return mode_; }
    // The topic shown (an index into the file's topics), or -1.
    int ShownTopic() const { return shown_; }
    const HelpTopics& Topics() const { return topics_; }
    // The help contexts of the topic shown (empty when none).
    std::vector<int> ShownContexts() const;

    void ShowContents();
    // The index, scrolled to the first entry that begins with the key.
    void ShowIndex(const std::string& key);
    // The topics that hold every word of the query.
    void ShowSearch(const std::string& query);
    // Shows a topic; false when the context has none (the contents are shown then).
    bool ShowContext(int context);
    void ShowTopic(int topic);

private:
    // Posted to the window once the keyboard focus goes into its frame: it comes back over the frame.
    static constexpr UINT KeepAboveMessage = WM_APP + 0x2766;

    HelpWindow();
    // Where the screen raises the window that takes the keyboard focus above every other, the windows it owns
    // included, the focus going into the frame hides this window, though the system's order keeps it above.
    static LRESULT CALLBACK WatchFrameFocus(int code, WPARAM window, LPARAM details);
    long OnKeepAbove(WindowEvent* event);
    // While a menu is up over everything, the window comes back once it has gone: a thread timer asks again.
    static void CALLBACK AskAgain(HWND, UINT, UINT_PTR, DWORD);
    bool Load(const std::string& path);
    void SetMode(Mode mode, const std::string& findText);
    void FillList();
    void OnListPick();
    // Picks the list's line as the program's doing, which the list's pick handler ignores.
    void PickLine(size_t line);
    // Enter: opens the topic the list shows for what was typed.
    void OpenListedTopic();
    // The topic of the index entry the find text leads to, or -1.
    int IndexPositionTopic() const;
    void SetFindText(const std::string& text);
    // Typing goes into "Find:" (its text selected, so that it is typed over), not to the buttons' letters.
    void FocusFindField();
    std::string FindText() const;

    static HelpWindow* open_;
    HHOOK focusWatch_ = nullptr;
    bool keepAbovePosted_ = false;
    UINT_PTR askAgain_ = 0;
    HelpTopics topics_;
    std::string path_;
    Mode mode_ = Mode::Contents;
    int shown_ = -1;
    // The topic of each list line (-1 for a chapter heading).
    std::vector<int> lineTopics_;
    bool filling_ = false;
};
