#pragma once
// The presentation of a graph kept under a description so that it can be applied to other graphs: size,
// axis number formats, six fonts, free labels, the title and axis texts, the reference lines and the
// choice of which of these to apply. Stored analyses keep a copy for the graphs they draw again.

#include "foundation/FontRecord.h"
#include "foundation/LogicalRect.h"
#include "foundation/NumericFormat.h"
#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>
#include <vector>

class Archive;

// The settings of a number format a template keeps (not its kind), copied from one format to another.
void CopyFormatSettings(NumericFormat& to, const NumericFormat& from);

// The stored form of a graph label, shared by graph files and templates (nothing happens once the archive
// has failed):
//   version record               3 bytes
//   left, top, right, bottom     4 x f32
//   vertical                     u8 (0 or 1, else format error 9)
//   font                         font record
//   text                         stored string
void SerializeGraphLabel(Archive& archive, LogicalRect& rect, uint8_t& vertical, FontRecord& font, zString& text);

// A free label kept in a template: what a graph's label holds, in the graph label's stored form.
struct TemplateLabel {
    LogicalRect rect{0, 0, 0, 0};
    uint8_t vertical = 0;
    // Copied with the label, never stored.
    uint8_t secondFlag = 0;
    FontRecord font;
    zString text;

    // The graph label's stored form.
    void Serialize(Archive& archive) { SerializeGraphLabel(archive, rect, vertical, font, text); }
};

// The owning list of a template's labels, in the list's stored form.
class TemplateLabelList : public PtrArray {
public:
    TemplateLabelList() : PtrArray(4, true) {}
    ~TemplateLabelList() override { Clear(); }

    TemplateLabel* Label(int index) const { return static_cast<TemplateLabel*>(At(index)); }
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};

class GraphTemplate {
public:
    GraphTemplate() { Reset(); }
    GraphTemplate(const GraphTemplate&) = delete;
    GraphTemplate& operator=(const GraphTemplate&) = delete;

    // Apply choices, availability flags, reference-line values and extra bytes back to their defaults.
    void Reset();
    void Assign(const GraphTemplate& source);
    // Stored form (no version gates):
    //   current version record                            3 bytes
    //   description                                       stored string
    //   width, height (inches)                            2 x f32
    //   horizontal, vertical and third number formats     3 records with their version
    //   title, label, horizontal-axis label, vertical-axis label, horizontal axis, vertical axis fonts
    //   free labels                                       list of label records (TemplateLabel)
    //   X of the vertical line, Y of the horizontal line  2 x f64
    //   horizontal-axis label, vertical-axis label, title and subtitle texts   4 stored strings
    //   the thirteen flags in field order                 13 x i32
    //   extra bytes: length n, then n bytes               u32 + n
    void Serialize(Archive& archive);

    zString description;
    float width = 0.0f;
    float height = 0.0f;
    NumericFormat horizontalFormat{true};
    NumericFormat verticalFormat{true};
    NumericFormat thirdFormat{true};
    // Title, label, horizontal-axis label, vertical-axis label, horizontal axis and vertical axis fonts.
    FontRecord fonts[6];
    TemplateLabelList labels;
    zString horizontalLabel;
    zString verticalLabel;
    zString title;
    zString subtitle;
    double verticalLineX = 0.0;
    double horizontalLineY = 0.0;
    // apply number formats, fonts, labels, horizontal-axis label, vertical-axis label, title, subtitle,
    // vertical line, horizontal line; has subtitle, vertical line, horizontal line, labels.
    int32_t flags[13] = {};
    enum Flag {
        ApplyFormats, ApplyFonts, ApplyLabels, ApplyHorizontalLabel, ApplyVerticalLabel, ApplyTitle,
        ApplySubtitle, ApplyVerticalLine, ApplyHorizontalLine, HasSubtitle, HasVerticalLine, HasHorizontalLine,
        HasLabels
    };
    enum Font { TitleFont, LabelFont, HorizontalLabelFont, VerticalLabelFont, HorizontalAxisFont, VerticalAxisFont };
    std::vector<uint8_t> extraBytes;
};
