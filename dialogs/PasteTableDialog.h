#pragma once
// Paste Table (dialog 4510): what to do with pasted pairs whose index the table holds already. The answer
// is the chosen button's position: 0 "Keep &last entry", 1 "Keep &first entry", 2 "&Sum entries" (the
// initial choice); Cancel pastes nothing.

#include <functional>

class PasteTableDialog {
public:
    enum Choice : int { KeepLast = 0, KeepFirst = 1, SumEntries = 2, Cancel = 3 };

    // The person's answer; without a presenter the dialog runs on the screen (the initial choice when there
    // is no application to run it).
    static Choice Ask();

    using Presenter = std::function<Choice()>;
    static Presenter SetPresenter(Presenter presenter);
};
