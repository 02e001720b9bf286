#pragma once
// Hosts that answer a system button's messages (text, font, enable, check and state) for the face drawn in
// them, so dialogs and the dialog keyboard treat them as buttons; and the push and bitmap buttons built on them.

#include "framework/visual/VisualCtrl.h"
#include "framework/visual/VisualItem.h"

#include <string>

class Bitmap;
class VisualButtonCaption;
class VisualButtonFace;

// The group that holds a button's face and caption. The panes use it, without either, for the groups of
// their bevel frames.
class VisualButtonGroup : public VisualItemGroup {
public:
    using VisualItemGroup::VisualItemGroup;

    virtual VisualButtonCaption* GetCaption() const { return caption_; } // 14

    VisualButtonFace* Face() const { return face_; }
    void SetFace(VisualButtonFace* face) { face_ = face; }
    void SetCaption(VisualButtonCaption* caption) { caption_ = caption; }

private:
    // Both are children of the group, deleted with them.
    VisualButtonFace* face_ = nullptr;
    VisualButtonCaption* caption_ = nullptr;
};

class VisualButton : public VisualItemHost {
public:
    VisualButton(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text, unsigned id);

    LRESULT DefaultProcessing(WindowEvent* event) override; // 1
    long OnFocus(WindowEvent* event) override;              // 13
    virtual void SetFont(HFONT font, bool redraw);          // 24
    virtual HFONT GetFont() const;                          // 25
    virtual void SetGrayed(bool grayed);                    // 26
    virtual void SetButtonStyle(unsigned style, bool redraw); // 27
    virtual const std::string& GetTitle() const;            // 28
    virtual void SetTitle(const char* text);                // 29

    // Keeps the button group and style and adds the group to the parent group.
    void AdoptGroup(VisualItemGroup* parent, VisualButtonGroup* group, unsigned style);
    VisualButtonGroup* ButtonGroup() const { return group_; }
    unsigned CommandId() const { return commandId_; }

protected:
    void Redraw();
    VisualButtonCaption* Caption() const { return group_ ? group_->GetCaption() : nullptr; }

    HFONT font_ = nullptr;
    VisualButtonGroup* group_ = nullptr;
    unsigned buttonStyle_ = 0;
    unsigned commandId_;
};

class VisualPanel : public VisualButton {
public:
    using VisualButton::VisualButton;

    LRESULT DefaultProcessing(WindowEvent* event) override; // 1
    long OnButtonUp(WindowEvent* event) override;           // 11
    long OnButtonDown(WindowEvent* event) override;         // 12
    long OnFocus(WindowEvent* event) override;              // 13
    virtual long KeyDown(WPARAM key);                       // 30
    virtual long KeyUp(WPARAM key);                         // 31
    virtual void SetLatching(unsigned style) = 0;           // 32

protected:
    int defaultRing_ = 0;
};

class VisualPushButton : public VisualPanel {
public:
    // Takes the bitmap (a strip of six frames; may be null) and the layout rule.
    VisualPushButton(WindowCL* parent, LayoutManager* layout, unsigned style, const char* text, unsigned id,
                     Bitmap* bitmap);
    VisualPushButton(WindowCL* parent, const RECT& rect, unsigned style, const char* text, unsigned id,
                     Bitmap* bitmap);

    void SetGrayed(bool grayed) override;        // 26
    void SetLatching(unsigned style) override;   // 32

protected:
    VisualPushButton(WindowCL* parent, LayoutManager* layout, unsigned style, const char* text, unsigned id,
                     Bitmap* bitmap, int frameCount);
};

class VisualBitmapButton : public VisualPushButton {
public:
    // Takes the bitmap (one image) and the layout rule.
    VisualBitmapButton(WindowCL* parent, LayoutManager* layout, unsigned style, unsigned id, Bitmap* bitmap);
};
