#include "graph/GraphLabel.h"

#include "widgets/PromptDialog.h"
#include "widgets/Shell.h"
#include "foundation/MessageBoxes.h"
#include "framework/draw/Display.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/LogicalUnits.h"
#include "model/GraphTemplate.h"

#include <cstring>
#include <memory>

namespace {

constexpr int kLabelHelpContext = 30006;

// The record's font made for the display, current while the scope lives.
class PushedFont {
public:
    PushedFont(Display& display, const FontRecord& record) : display_(display)
    {
        display_.PushFont(CreateRecordFont(record, &display).release());
    }
    ~PushedFont() { display_.PopFont(); }
    PushedFont(const PushedFont&) = delete;
    PushedFont& operator=(const PushedFont&) = delete;

private:
    Display& display_;
};

int RefuseEmptyLabel(const zString& text, int32_t)
{
    if (!text.IsEmpty())
        return 1;
    ShowErrorBox(nullptr, "Graph labels cannot be empty.", 0);
    return 0;
}

FontRecord TurnedAs(const FontRecord& font, uint8_t vertical)
{
    FontRecord turned = font;
    turned.turned = vertical;
    return turned;
}

}  // namespace

GraphLabel::GraphLabel(const char* text) : text(text != nullptr ? text : "")
{
    if (const FontRecord* preferred = TheShell().DefaultFontNamed("GraphLbl"))
        font = *preferred;
}

void MeasureText(Display& display, const FontRecord& font, const char* text, float& width, float& height)
{
    PushedFont pushed(display, font);
    const char* shown = text != nullptr && *text != '\0' ? text : " ";
    const SIZE size = display.TextExtent(shown, static_cast<int>(std::strlen(shown)));
    width = text != nullptr && *text != '\0' ? PixelWidthToLogical(size.cx, display) : 0.0f;
    height = PixelHeightToLogical(size.cy, display);
}

void GraphLabel::Measure(Display& display)
{
    float width = 0.0f;
    float height = 0.0f;
    MeasureText(display, font, text.Text(), width, height);
    rect.right = vertical ? height : width;
    rect.bottom = vertical ? width : height;
}

void GraphLabel::Draw(Display& display)
{
    const RECT pixels = LogicalRectToPixels(rect, display);
    if (pixels.left >= pixels.right || pixels.top >= pixels.bottom)
        return;
    PushedFont pushed(display, TurnedAs(font, vertical));
    display.TextOutAt(pixels.left, vertical ? pixels.bottom : pixels.top, text.Text());
}

void GraphLabel::Serialize(Archive& archive)
{
    SerializeGraphLabel(archive, rect, vertical, font, text);
}

bool GraphLabel::Prompt(bool isNew)
{
    zString edited = text;
    if (PromptForText(edited, RefuseEmptyLabel, 0, isNew ? "New Graph Label" : "Modify Graph Label",
                      "Enter new text for the graph label:", kLabelHelpContext, false) != 1)
        return false;
    text = edited;
    return true;
}

GraphLabel* GraphElementList::AddLabel(const char* text)
{
    auto* label = new GraphLabel(text);
    if (!Add(label)) {
        delete label;
        return nullptr;
    }
    return label;
}
