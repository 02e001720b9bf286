#pragma once
// The help context that F1 opens: each box or dialog sets it for its life and restores it afterwards; the
// menu item the person points at sets it until something else does.

// The help context F1 opens now; 0 or less opens the contents.
int CurrentHelpContext();
// The menu item the person points at becomes the help context.
void PointHelpAtMenuItem(int item);

// Makes a help context above 0 current for its life and restores the previous one afterwards.
class HelpContextScope {
public:
    explicit HelpContextScope(int help);
    ~HelpContextScope();
    HelpContextScope(const HelpContextScope&) = delete;
    HelpContextScope& operator=(const HelpContextScope&) = delete;

private:
    int saved_;
};
