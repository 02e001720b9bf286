#pragma once
// A top-level window (the frame, MDI children and margins); the first one constructed becomes the
// application's main window.

#include "framework/window/WindowCL.h"

class Menu;

class TopWindow : public WindowCL {
public:
    TopWindow(WindowCL* parent, LayoutManager* layout, DWORD style, const char* title);
    explicit TopWindow(WindowCL* parent);
    TopWindow(LayoutManager* layout, DWORD style, const char* title);
    // Deletes the menu object first; the application forgets it as its main window.
    ~TopWindow() override;

    // Registers the window class when needed, creates the window without a parent, enters it in the window
    // map and reads its real geometry back.
    virtual void Create(); // 18

    Menu* MenuObject() const override { return menu_.get(); }
    // The window takes ownership of the menu object.
    void SetMenuObject(Menu* menu);

protected:
    // Registers the class (one of the window's own with ownClass), creates the window without a parent and
    // starts the timers made before the main window existed.
    void CreateTopLevel(bool ownClass);

    std::unique_ptr<Menu> menu_;

private:
    void Initialise(const char* title);
};
