#pragma once
// A text on a graph: the title lines, the axis labels, the legend texts and the labels the user adds. A
// vertical label is drawn turned by 90 degrees, reading upwards. Its list owns and stores the labels.

#include "foundation/FontRecord.h"
#include "foundation/PtrArray.h"
#include "foundation/zString.h"
#include "graph/GraphElement.h"

#include <cstdint>

class GraphLabel : public GraphElement {
public:
    // At the origin, in the graph label font.
    explicit GraphLabel(const char* text = nullptr);

    // The text's extent in the label's font, width and height swapped for a vertical label.
    void Measure(Display& display) override;
    void Draw(Display& display) override;
    FontRecord* Font() override { return &font; }
    bool Editable() const override { return true; }
    // The Modify Graph Label prompt.
    bool Edit() override { return Prompt(false); }
    // The graph label's stored form (model/GraphTemplate.h).
    void Serialize(Archive& archive) override;

    // Asks for the text ("New Graph Label" or "Modify Graph Label"); an empty text is refused. True when
    // the user confirmed.
    bool Prompt(bool isNew);

    zString text;
    FontRecord font;
    uint8_t vertical = 0;
    // Copied with the label, never stored.
    uint8_t secondFlag = 0;
};

// The text's extent in inches in the font on the display (locked).
void MeasureText(Display& display, const FontRecord& font, const char* text, float& width, float& height);

// An owning list of labels in the list's stored form.
class GraphElementList : public PtrArray {
public:
    GraphElementList() : PtrArray(4, true) {}
    ~GraphElementList() override { Clear(); }

    GraphLabel* Label(int index) const { return static_cast<GraphLabel*>(At(index)); }
    GraphLabel* AddLabel(const char* text);
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};
