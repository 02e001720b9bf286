#include "framework/visual/VisualCaption.h"

#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/visual/VisualButton.h"
#include "framework/visual/VisualButtonFace.h"
#include "framework/window/ChildLayout.h"

namespace {

// The colour value that stands for "no pass".
const Colour NoColour{0, 0, 255, 0};
const Colour WhiteColour{255, 255, 255, 0};
const Colour GreyColour{128, 128, 128, 0};

bool IsNoColour(const Colour& c)
{
    return c.red == NoColour.red && c.green == NoColour.green && c.blue == NoColour.blue && c.flag == NoColour.flag;
}

} // namespace

AutoSizeLayout::AutoSizeLayout(ChildLayout* owner, VisualLabelItem* target, Measure measure)
    : LayoutManager(owner), target_(target), measure_(measure)
{
}

void AutoSizeLayout::Geometry(LayoutGeometry& geometry)
{
    if (target_ && measure_) {
        (target_->*measure_)(geometry);
        geometry.x = x_;
        geometry.y = y_;
    } else {
        LayoutManager::Geometry(geometry);
    }
}

void AutoSizeLayout::Place(RECT* rect, int)
{
    SetPosition(rect->left, rect->top);
    SetSize(rect->right - rect->left, rect->bottom - rect->top);
}

VisualLabelItem::VisualLabelItem(VisualItemGroup* parent, LayoutManager* geometry, const char* text, bool autoSize)
    : VisualItem(parent, geometry), text_(text ? text : ""), autoSize_(autoSize ? 1 : 0)
{
    if (!autoSize_)
        return;
    ChildLayout* owner = geometry ? geometry->Owner() : nullptr;
    // The given rule leaves its owner and goes; the new one takes its place there.
    if (geometry)
        geometry->Detach();
    auto* rule = new AutoSizeLayout(owner, this, &VisualLabelItem::MeasureText);
    rule->SetKind(LayoutManager::DockTop);
    SetGeometry(rule);
    if (owner)
        owner->Arrange(nullptr);
}

long VisualLabelItem::OnKey(WindowEvent&) { return 0; }

void VisualLabelItem::SetText(const char* text)
{
    text_ = text ? text : "";
    if (!autoSize_ || !geometry_ || !geometry_->Owner())
        return;
    HostLock lock(*this);
    geometry_->Owner()->Arrange(nullptr);
}

void VisualLabelItem::MeasureText(LayoutGeometry& geometry)
{
    Display* display = HostDisplay();
    SIZE size{0, 0};
    if (display) {
        DisplayLock lock(*display);
        size = display->TextExtent(text_.c_str(), 0);
    }
    geometry.kind = LayoutManager::DockTop;
    geometry.Assign(size.cx, size.cy);
}

void VisualLabelItem::Draw(const RECT*)
{
    Display* display = HostDisplay();
    if (text_.empty() || !display)
        return;
    DisplayLock lock(*display);
    ApplyAttributes();
    const RECT bounds = Bounds();
    display->TextOutAt(bounds.left, bounds.top, text_.c_str());
}

VisualCaption::VisualCaption(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, const char* text)
    : VisualLabelItem(parent, geometry, text, false), style_(style), colour1_(NoColour), colour2_(NoColour),
      grayed_((style & GrayedAtStart) ? 1 : 0)
{
    ApplyScheme();
}

void VisualCaption::ApplyScheme()
{
    switch (style_ & SchemeBits) {
    case 0x000: colour1_ = NoColour; colour2_ = NoColour; break;
    case 0x080: colour1_ = NoColour; colour2_ = WhiteColour; break;
    case 0x0c0: colour1_ = GreyColour; colour2_ = WhiteColour; break;
    case 0x100: colour1_ = WhiteColour; colour2_ = NoColour; break;
    case 0x140: colour1_ = WhiteColour; colour2_ = GreyColour; break;
    default: break;
    }
}

void VisualCaption::SetStyle(unsigned style)
{
    style_ = style;
    ApplyScheme();
}

void VisualCaption::SetFont(HFONT font)
{
    Display* display = HostDisplay();
    if (!display)
        return;
    display->PopFont();
    display->PushFont(font ? new zFont(font) : new zFont(SYSTEM_FONT));
}

const std::string& VisualCaption::ShownText()
{
    // The stored text stays as given, so a "&&" never turns into a marker at a later pass.
    shown_.clear();
    hasMnemonic_ = 0;
    for (size_t i = 0; i < text_.size() && shown_.size() < 255; ++i) {
        if (text_[i] != '&') {
            shown_ += text_[i];
        } else if (i + 1 < text_.size() && text_[i + 1] == '&') {
            shown_ += '&';
            ++i;
        } else if (i + 1 < text_.size()) {
            hasMnemonic_ = 1;
            mnemonicIndex_ = static_cast<int>(shown_.size());
        }
    }
    return shown_;
}

SIZE VisualCaption::Extent()
{
    Display* display = HostDisplay();
    if (!display)
        return SIZE{0, 0};
    DisplayLock lock(*display);
    const std::string& shown = ShownText();
    return shown.empty() ? SIZE{0, 0} : display->TextExtent(shown.c_str(), static_cast<int>(shown.size()));
}

int VisualCaption::TextWidth()
{
    const unsigned scheme = style_ & SchemeBits;
    return Extent().cx + (scheme == 0x080 || scheme == 0x0c0 || scheme == 0x140 ? 2 : 1);
}

int VisualCaption::TextHeight()
{
    const unsigned scheme = style_ & SchemeBits;
    return Extent().cy + (scheme == 0x080 || scheme == 0x0c0 || scheme == 0x140 ? 2 : 1);
}

void VisualCaption::Erase()
{
    HostLock lock(*this);
    const HDC dc = lock.DeviceContext();
    if (!dc)
        return;
    const int width = TextWidth(), height = TextHeight();
    ScopedPen pen(dc, GetSysColor(COLOR_BTNFACE));
    ScopedSelection brush(dc, GetSysColorBrush(COLOR_BTNFACE));
    Rectangle(dc, position_.x, position_.y, position_.x + width, position_.y + height);
}

void VisualCaption::DrawFocusRect(bool erase)
{
    if (ShownText().empty())
        return;
    HostLock lock(*this);
    const HDC dc = lock.DeviceContext();
    if (!dc)
        return;
    const COLORREF colour = erase ? GetSysColor(COLOR_BTNFACE) : RGB(128, 128, 128);
    const int x = position_.x, y = position_.y;
    const int right = x + TextWidth() + 3, bottom = y + TextHeight() + 1;
    for (int i = x - 1; i <= right; ++i) {
        if (i % 2 != 0)
            continue;
        SetPixel(dc, i, y - 1, colour);
        SetPixel(dc, i, bottom, colour);
    }
    for (int j = y - 1; j <= bottom; ++j) {
        if (j % 2 != 0)
            continue;
        SetPixel(dc, x - 1, j, colour);
        SetPixel(dc, right, j, colour);
    }
}

void VisualCaption::Draw(const RECT*)
{
    Display* display = HostDisplay();
    if (!display || ShownText().empty())
        return;
    const RECT area = parent_ ? parent_->Bounds() : Bounds();
    DisplayLock lock(*display);
    display->SetBackgroundColour(SplitColour(GetSysColor(COLOR_BTNFACE)));
    const unsigned scheme = style_ & SchemeBits;
    position_.x = ((style_ & NarrowMargin) ? 1 : 19) + area.left;
    position_.y = (area.bottom - area.top) / 2 - TextHeight() / 2 + (scheme != 0x000 && scheme != 0x080 ? 1 : 0) +
                  area.top;
    DrawFocusRect(true);
    if (focused_)
        DrawFocusRect(false);
    DrawTextPasses();
}

void VisualCaption::DrawTextPasses()
{
    Display* display = HostDisplay();
    Erase();
    const HDC dc = display->DeviceContext();
    const std::string shown = ShownText();
    const int x = position_.x, y = position_.y;
    if (grayed_) {
        GrayStringA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(shown.c_str()), static_cast<int>(shown.size()), x,
                    y, 0, 0);
        return;
    }
    const int mode = display->SetBackgroundMode(TRANSPARENT);
    if (hasMnemonic_ && mnemonicIndex_ < static_cast<int>(shown.size())) {
        const int before = mnemonicIndex_ ? display->TextExtent(shown.c_str(), mnemonicIndex_).cx : 0;
        const int width = display->TextExtent(shown.c_str() + mnemonicIndex_, 1).cx;
        ScopedPen pen(dc, RGB(0, 0, 0));
        MoveToEx(dc, x + before, y + TextHeight() - 1, nullptr);
        LineTo(dc, x + before + width + 1, y + TextHeight() - 1);
    }
    const Colour saved = display->TextColour();
    if (!IsNoColour(colour1_)) {
        display->SetTextColor(colour1_);
        display->TextOutAt(x, y, shown.c_str());
    }
    if (!IsNoColour(colour2_)) {
        display->SetTextColor(colour2_);
        display->TextOutAt(x + 2, y + 2, shown.c_str());
    }
    display->SetTextColor(Colour{0, 0, 0, 0});
    display->TextOutAt(x + 1, y + 1, shown.c_str());
    display->SetTextColor(saved);
    display->SetBackgroundMode(mode);
}

VisualButtonCaption::VisualButtonCaption(VisualItemGroup* parent, LayoutManager* geometry, unsigned style,
                                         const char* text, bool hasImage)
    : VisualCaption(parent, geometry, style, text), hasImage_(hasImage ? 1 : 0)
{
}

void VisualButtonCaption::Draw(const RECT*)
{
    Display* display = HostDisplay();
    if (!display || ShownText().empty() || (style_ & VisualButtonFace::BareStyle))
        return;
    DisplayLock lock(*display);
    int m = 0;
    if (style_ & FocusMark) {
        DrawFocusRect(true);
        m = 1;
    }
    m += 2;
    const RECT area = parent_ ? parent_->Bounds() : Bounds();
    const int L = area.left + m, T = area.top + m, R = area.right - m, B = area.bottom - m;
    const int tw = TextWidth(), th = TextHeight();
    auto* group = dynamic_cast<VisualButtonGroup*>(parent_);
    const VisualButtonFace* face = group ? group->Face() : nullptr;
    if (!hasImage_ || !face) {
        if (B < th || R < tw) {
            position_ = POINT{L, T};
            return;
        }
        position_ = POINT{(R + L) / 2 - tw / 2, (B + T) / 2 - th / 2};
    } else {
        const SIZE image = face->ImageSize();
        const unsigned arrangement = style_ & 0xc00;
        if (arrangement == 0x400 || arrangement == 0xc00) {
            position_ = POINT{(R + L) / 2 - tw / 2, (B + T) / 2 - (image.cy + 1 + th) / 2};
            if (arrangement == 0x400)
                position_.y += 1 + image.cy;
        } else {
            position_ = POINT{(R + L) / 2 - (image.cx + 1 + tw) / 2, (B + T) / 2 - th / 2};
            if (arrangement == 0x800)
                position_.x += 1 + image.cx;
        }
    }
    if (buttonState_ == VisualStateItem::PressedFromLatched || buttonState_ == VisualStateItem::PressedFromUp) {
        ++position_.x;
        ++position_.y;
    }
    display->SetBackgroundColour(SplitColour(GetSysColor(COLOR_BTNFACE)));
    if (focused_ && (style_ & FocusMark))
        DrawFocusRect(false);
    DrawTextPasses();
}
