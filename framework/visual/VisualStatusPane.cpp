#include "framework/visual/VisualStatusPane.h"

#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/visual/VisualButton.h"
#include "framework/visual/VisualFieldItem.h"
#include "framework/visual/VisualStatusItems.h"
#include "framework/window/DockLayout.h"
#include "framework/window/FrameworkApp.h"

#include <algorithm>

PaneMargins::~PaneMargins()
{
    for (DockLayout* rule : {top_, bottom_, right_, left_})
        delete rule;
}

void PaneMargins::Set(DockLayout*& rule, int kind, int value)
{
    if (!rule)
        rule = new DockLayout(kind, value, layout_);
    else if (kind == LayoutManager::DockLeft || kind == LayoutManager::DockRight)
        rule->SetFixedWidth(value);
    else
        rule->SetFixedHeight(value);
}

namespace {

zFont* HelvAtTwelvePoints(Display* display)
{
    zFontSpec spec("Helv", 0, 0, FW_NORMAL, DEFAULT_PITCH, FF_SWISS, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY);
    spec.size = 120;
    return new zFont(spec, display);
}

const WORD MenuClosed = 0xFFFF;

} // namespace

VisualStatusPane::VisualStatusPane(WindowCL* parent, LayoutManager* layout, unsigned style, zFont* font)
    : VisualItemPane(parent, layout, 0), paneStyle_(style),
      frameGroup_(std::make_unique<VisualButtonGroup>(root_.get(), nullptr))
{
    Display* display = OwnDisplay();
    font_ = font ? font : HelvAtTwelvePoints(display);
    display->PushFont(font_);
    ApplyLayout();
    SetBackgroundColour(SplitColour(GetSysColor(COLOR_BTNFACE)));
    display->SetBackgroundColour(SplitColour(GetSysColor(COLOR_BTNFACE)));
    display->SetTextColor(SplitColour(GetSysColor(COLOR_BTNTEXT)));
}

VisualStatusPane::~VisualStatusPane()
{
    // The fields before their frames' group; each leaves the field list as it goes.
    const std::list<VisualFieldItem*> fields = fields_;
    for (VisualFieldItem* field : fields)
        delete field;
    frameGroup_.reset();
    if (helpListener_)
        helpListener_->RemoveHandler(this, &VisualStatusPane::OnMenuSelect, WM_MENUSELECT);
    if (loadedModule_)
        FreeLibrary(loadedModule_);
}

ChildLayout* VisualStatusPane::PaneLayout() const
{
    return dynamic_cast<ChildLayout*>(layout_);
}

void VisualStatusPane::ApplyLayout()
{
    border_ = 2;
    Display* display = OwnDisplay();
    TEXTMETRICA metrics{};
    {
        DisplayLock lock(*display);
        GetTextMetricsA(display->DeviceContext(), &metrics);
    }
    const int height = metrics.tmHeight + 2 * border_ + topMargin_ + 2 + bottomMargin_;
    if (auto* docked = dynamic_cast<DockLayout*>(layout_))
        docked->SetFixedHeight(height);
    else if (layout_)
        layout_->SetSize(layout_->Width(), height);
    if (!margins_)
        margins_ = std::make_unique<PaneMargins>(PaneLayout());
    margins_->SetTop(border_ + topMargin_);
    margins_->SetRight(rightExtra_ + 5);
    margins_->SetBottom(border_ + bottomMargin_);
    margins_->SetLeft(leftExtra_ + 5);
}

void VisualStatusPane::RegisterField(VisualFieldItem* field)
{
    fields_.push_back(field);
}

void VisualStatusPane::UnregisterField(VisualFieldItem* field)
{
    fields_.remove(field);
    if (activeField_ == field)
        activeField_ = nullptr;
}

VisualFieldItem* VisualStatusPane::FindItem(int key) const
{
    auto found = std::find_if(fields_.begin(), fields_.end(), [key](VisualFieldItem* f) { return f->Key() == key; });
    return found == fields_.end() ? nullptr : *found;
}

void VisualStatusPane::SetItemTextByKey(int key, const char* text)
{
    if (VisualFieldItem* field = FindItem(key))
        field->SetText(text);
}

WindowCL* VisualStatusPane::CommandWindow() const
{
    return VisualItemPane::CommandWindow(forwardToGrandparent_ != 0);
}

void VisualStatusPane::SetHelpTable(const HelpEntry* table)
{
    WindowCL* target = CommandWindow();
    if (target && !helpListener_) {
        // On the window's own list rather than its menu's: the window then hears the help of its menu and of
        // its tool bar alike, with or without a menu bar, and the pane can leave the list whether it goes
        // before the menu or after it.
        target->AddHandler(this, &VisualStatusPane::OnMenuSelect, WM_MENUSELECT);
        helpListener_ = target;
    }
    helpTable_ = table;
}

void VisualStatusPane::SetPaneHelp()
{
    SetHelpTable(nullptr);
    helpTarget_ = 1;
}

void VisualStatusPane::SetActiveItem(VisualFieldItem* field)
{
    SetHelpTable(nullptr);
    activeField_ = field;
    helpTarget_ = 2;
}

void VisualStatusPane::SetActiveItemByKey(int key)
{
    SetActiveItem(FindItem(key));
}

long VisualStatusPane::OnMenuSelect(WindowEvent* event)
{
    const WORD id = LOWORD(event->wParam);
    const WORD flags = HIWORD(event->wParam);
    if (flags == MenuClosed && event->lParam == 0) {
        inMenu_ = 0;
        EndHelp();
        return 0;
    }
    if (flags & (MF_POPUP | MF_SYSMENU | MF_SEPARATOR))
        return 0;
    if (!inMenu_) {
        inMenu_ = 1;
        if (helpTarget_ == 2) {
            savedText_ = activeField_ ? activeField_->Text() : std::string();
        } else {
            showingHelp_ = 1;
            InvalidateHelpArea();
        }
        if (loadedModule_)
            FreeLibrary(loadedModule_);
        loadedModule_ = helpStrings_.Library() ? LoadLibraryA(helpStrings_.Library()) : nullptr;
        stringModule_ = helpStrings_.Library() ? loadedModule_
                                               : (TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr));
    }
    if (helpTable_ && helpTable_[0].id != 0) {
        const HelpEntry* entry = helpTable_;
        while (entry->text && entry->id != id)
            ++entry;
        entry->text ? ShowHelp(entry->text) : ClearHelp();
        return 0;
    }
    char text[200] = "";
    if (stringModule_ && LoadStringA(stringModule_, id + helpStrings_.NumericId(), text, sizeof text) > 0)
        ShowHelp(text);
    else
        ClearHelp();
    return 0;
}

void VisualStatusPane::ShowHelp(const char* text)
{
    if (helpTarget_ == 2) {
        if (activeField_)
            activeField_->SetText(text);
        return;
    }
    if (helpText_ != text) {
        helpText_ = text;
        InvalidateHelpArea();
    }
}

void VisualStatusPane::ClearHelp()
{
    if (helpTarget_ == 2) {
        if (activeField_)
            activeField_->EraseText();
        return;
    }
    ShowHelp("");
}

void VisualStatusPane::EndHelp()
{
    if (helpTarget_ == 2) {
        if (activeField_)
            activeField_->SetText(savedText_.c_str());
        return;
    }
    InvalidateHelpArea();
    showingHelp_ = 0;
    if (handle_)
        InvalidateRect(handle_, nullptr, FALSE);
}

void VisualStatusPane::InvalidateHelpArea()
{
    const RECT area{0, 2, layout_ ? layout_->Width() : 0, layout_ ? layout_->Height() : 0};
    CurrentDisplay()->InvalidateRect(&area, false);
}

POINT VisualStatusPane::PlaceText(const char* text, unsigned flags, const RECT& rect)
{
    Display* display = CurrentDisplay();
    DisplayLock lock(*display);
    const SIZE size = display->TextExtent(text, 0);
    POINT at{rect.left, (rect.top + rect.bottom) / 2 - size.cy / 2};
    if (flags & VisualFieldItem::Centred)
        at.x = (rect.left + rect.right) / 2 - size.cx / 2;
    else if (flags & VisualFieldItem::RightAligned)
        at.x = rect.right - size.cx;
    return at;
}

LRESULT VisualStatusPane::DefaultProcessing(WindowEvent* event)
{
    return ForwardCommands(event, forwardToGrandparent_ != 0);
}

long VisualStatusPane::OnSize(WindowEvent* event)
{
    KeepFillRulesLast();
    return VisualItemPane::OnSize(event);
}

void VisualStatusPane::KeepFillRulesLast()
{
    ChildLayout* layout = PaneLayout();
    if (!layout)
        return;
    std::list<LayoutManager*> fills;
    for (LayoutManager* rule : layout->Children())
        if (rule->Kind() == LayoutManager::FillTopLeft || rule->Kind() == LayoutManager::FillCentre)
            fills.push_back(rule);
    for (LayoutManager* rule : fills) {
        layout->Remove(rule);
        layout->Append(rule);
    }
}

long VisualStatusPane::Paint(WindowEvent*)
{
    Display* display = CurrentDisplay();
    DisplayLock lock(*display);
    const HDC dc = display->DeviceContext();
    if (!dc)
        return 1;
    RECT bounds{};
    display->Bounds(bounds);
    {
        ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(background_));
        if (brush.Get())
            FillRect(dc, &bounds, brush.Get());
    }
    const int width = layout_ ? layout_->Width() : bounds.right;
    const int height = layout_ ? layout_->Height() : bounds.bottom;
    for (const auto& [y, colour] : {std::pair<int, COLORREF>{0, RGB(0, 0, 0)}, {1, RGB(255, 255, 255)}}) {
        ScopedPen pen(dc, colour);
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, width, y);
    }
    if (!showingHelp_) {
        root_->Draw(&bounds);
    } else if (!helpText_.empty()) {
        const RECT area{16, 3, width, height}; // the help area, its top-left corner moved in
        const POINT at = PlaceText(helpText_.c_str(), 0, area);
        TextOutA(dc, at.x, at.y, helpText_.c_str(), static_cast<int>(helpText_.size()));
    }
    return 1;
}

VisualPane::VisualPane(WindowCL* parent, LayoutManager* layout, unsigned style, zFont* font)
    : VisualStatusPane(parent, layout, style, font)
{
    if (style & Clock)
        new TimeItem(this, LayoutManager::DockRight, -1);
    if (style & NumLock)
        new NumLockItem(this, LayoutManager::DockRight, -1, nullptr, nullptr);
    if (style & CapsLock)
        new CapsLockItem(this, LayoutManager::DockRight, -1, nullptr, nullptr);
    if (style & MessageField)
        new VisualFieldItem(this, nullptr, 0, 0x401);
    if (style & PaneShowsHelp)
        SetPaneHelp();
    else if ((style & 0x8100) == 0x8100)
        SetActiveItemByKey(0);
}

void VisualPane::Show(int showCommand)
{
    if (state_ & StateWindowGone) {
        ShowWindow(showCommand);
        return;
    }
    if (paneStyle_ & MessageField) {
        VisualFieldItem* message = FindItem(0);
        if (message && !message->Geometry())
            message->SetGeometry(new DockLayout(LayoutManager::FillTopLeft, 0, PaneLayout()));
    }
    VisualItemPane::Show(showCommand);
}
