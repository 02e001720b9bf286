#pragma once
// A text on a graph: the title lines, the axis labels, the legend texts and the labels the user adds. A
// vertical label is drawn turned by 90 degrees, reading upwards. Its list owns and stores the labels.

#include "foundation/FontRecord.h"
#include "foundation/PtrArray.h"
#include "foundation/zString.h"
#include "graph/GraphElement.h"

#include <cstdint>
#include <vector>

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

// An owning list of labels of one kind in the list's stored form: each label stores itself.
template <class Kind>
class LabelList : public PtrArray {
public:
    LabelList() : PtrArray(8, true) {}
    ~LabelList() override { Clear(); }

    Kind* Label(int index) const { return static_cast<Kind*>(At(index)); }
    void StoreItem(Archive& archive, void* item) override { static_cast<Kind*>(item)->Serialize(archive); }
    void* LoadItem(Archive& archive) override
    {
        auto* label = new Kind;
        label->Serialize(archive);
        return label;
    }
    void* CloneItem(void* item) override { return new Kind(*static_cast<Kind*>(item)); }
    void DeleteItem(void* item) override { delete static_cast<Kind*>(item); }

    // A block of a graph's legend column: the heading over the labels, or nothing without labels.
    std::vector<GraphElement*> Column(GraphElement& heading) const
    {
        std::vector<GraphElement*> column;
        if (Count() == 0)
            return column;
        column.push_back(&heading);
        for (int i = 0; i < Count(); ++i)
            column.push_back(Label(i));
        return column;
    }
};

// The graph's own labels (title lines, axis labels, legend texts, added labels).
class GraphElementList : public LabelList<GraphLabel> {
public:
    GraphLabel* AddLabel(const char* text);
};
