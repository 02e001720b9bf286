#pragma once
// The help context that F1 opens: each box or dialog sets it for its life and restores it afterwards.

extern int CurrentHelpContext;

// Makes a help context above 0 current for its life and restores the previous one afterwards.
class HelpContextScope {
public:
    explicit HelpContextScope(int help) : saved_(CurrentHelpContext)
    {
        if (help > 0)
            CurrentHelpContext = help;
    }
    ~HelpContextScope() { CurrentHelpContext = saved_; }
    HelpContextScope(const HelpContextScope&) = delete;
    HelpContextScope& operator=(const HelpContextScope&) = delete;

private:
    int saved_;
};
