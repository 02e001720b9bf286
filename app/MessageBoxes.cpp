#include "app/MessageBoxes.h"

#include "app/HelpContext.h"
#include "app/MessageOwnerWindow.h"

#include <windows.h>

namespace {

int PresentOnScreen(const MessageBoxRequest& request)
{
    return MessageBoxA(MessageOwnerWindow(), request.text, request.caption, request.style);
}

MessageBoxPresenter& Presenter()
{
    static MessageBoxPresenter presenter = PresentOnScreen;
    return presenter;
}

// Sets the box's help context for its life and restores the previous one afterwards.
class HelpContextScope {
public:
    explicit HelpContextScope(int help) : saved_(CurrentHelpContext)
    {
        if (help > 0)
            CurrentHelpContext = help;
    }
    ~HelpContextScope() { CurrentHelpContext = saved_; }

private:
    int saved_;
};

} // namespace

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter)
{
    MessageBoxPresenter previous = Presenter();
    Presenter() = presenter ? std::move(presenter) : MessageBoxPresenter(PresentOnScreen);
    return previous;
}

int PresentMessageBox(const MessageBoxRequest& request)
{
    HelpContextScope helpScope(request.help);
    return Presenter()(request);
}
