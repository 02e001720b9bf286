#pragma once
// Windowless visual items: pieces of a host window (status fields, frames, button faces) that the host draws
// and hands its mouse and key events to. A group holds child items; the WantsInput mark climbs from an item
// to the root so that the host routes input only when some item wants it.

#include "framework/window/EventTarget.h"

#include <list>
#include <memory>
#include <vector>

class Display;
class LayoutManager;
class VisualItemGroup;
class WindowCL;

// A drawing attribute an item applies to its host's display before drawing.
class VisualAttribute {
public:
    virtual ~VisualAttribute() = default;
    virtual void Apply(Display& display) = 0;
};

class VisualItem : public EventTarget {
public:
    static constexpr unsigned WantsInput = 1;

    // Takes the geometry (owned); does not enter the parent's children.
    VisualItem(VisualItemGroup* parent, LayoutManager* geometry);
    VisualItem(const VisualItem&) = delete;
    VisualItem& operator=(const VisualItem&) = delete;
    ~VisualItem() override;

    virtual bool HitTest(POINT point);              // 2: edges included
    virtual bool Intersects(const RECT& rect);      // 3
    virtual bool AcceptsPoint(POINT point);         // 4
    virtual bool NeedsPaint(const RECT& rect);      // 5
    virtual long OnButtonUp(WindowEvent& event);    // 6
    virtual long OnButtonDown(WindowEvent& event);  // 7
    virtual long OnMouseMove(WindowEvent& event);   // 8
    virtual long OnKey(WindowEvent& event);         // 9
    virtual void ApplyAttributes();                 // 10
    virtual void Draw(const RECT* clip);            // 11: null clip draws the whole item
    virtual void OnResize();                        // 12
    virtual void SetVisible(bool visible);          // 13

    void AddAttribute(std::unique_ptr<VisualAttribute> attribute);
    void SetStateBits(unsigned bits);
    void ClearStateBits(unsigned bits);
    unsigned StateBits() const { return stateBits_; }
    bool IsVisible() const { return visible_ != 0; }
    RECT Bounds() const;
    LayoutManager* Geometry() const { return geometry_.get(); }
    // Gives up the geometry without deleting it (a rule that belongs to a window).
    LayoutManager* ReleaseGeometry() { return geometry_.release(); }
    // Replaces (and deletes) the geometry.
    void SetGeometry(LayoutManager* geometry);
    VisualItemGroup* Parent() const { return parent_; }
    // The host's display, reached through the parent; null outside a group.
    Display* HostDisplay() const;
    // The parent's host window, or the application's main window.
    WindowCL* HostWindow() const;
    void CaptureMouse();
    void ReleaseMouse();

protected:
    static POINT EventPoint(const WindowEvent& event);

    // The host's display locked while the scope lives; nothing without a host display.
    class HostLock {
    public:
        explicit HostLock(const VisualItem& item);
        ~HostLock();
        HostLock(const HostLock&) = delete;
        HostLock& operator=(const HostLock&) = delete;
        // The display's device context; null without a display or a context.
        HDC DeviceContext() const;

    private:
        Display* display_;
    };

    std::unique_ptr<LayoutManager> geometry_;
    VisualItemGroup* parent_;
    std::unique_ptr<std::vector<std::unique_ptr<VisualAttribute>>> attributes_;
    int visible_ = 1;
    unsigned stateBits_ = 0;

    friend class VisualItemGroup;
};

class VisualItemGroup : public VisualItem {
public:
    // A nested group: takes the parent's display slot and host window (the main window when it has none).
    VisualItemGroup(VisualItemGroup* parent, LayoutManager* geometry);
    // A root group of a host window.
    VisualItemGroup(LayoutManager* geometry, Display** displaySlot, WindowCL* host);
    ~VisualItemGroup() override;

    bool HitTest(POINT point) override;
    bool Intersects(const RECT& rect) override;
    long OnButtonUp(WindowEvent& event) override;
    long OnButtonDown(WindowEvent& event) override;
    long OnMouseMove(WindowEvent& event) override;
    long OnKey(WindowEvent& event) override;
    void Draw(const RECT* clip) override;
    void OnResize() override;
    void SetVisible(bool visible) override;

    VisualItem* AddChild(VisualItem* item);
    void RemoveChild(VisualItem* item);
    void AddActiveChild(VisualItem* child, unsigned bits);
    int RemoveActiveChild(VisualItem* child);
    void SetWholeArea(bool whole) { wholeArea_ = whole ? 1 : 0; }
    VisualItem* Tracked() const { return tracked_; }
    void SetTracked(VisualItem* item) { tracked_ = item; }
    Display** DisplaySlot() const { return displaySlot_; }
    WindowCL* Host() const { return host_; }
    void ClearHost() { host_ = nullptr; }
    int ActiveCount() const { return activeCount_; }

private:
    std::unique_ptr<std::list<VisualItem*>> children_;
    std::list<VisualItem*> active_;
    int activeCount_ = 0;
    int wholeArea_ = 0;
    VisualItem* tracked_ = nullptr;
    Display** displaySlot_ = nullptr;
    WindowCL* host_ = nullptr;
};
