#pragma once
// The share of Monte Carlo trials in which each option of a decision was optimal, as one bar per option with
// a hidden spacer on each side; the legend names each option beside a swatch of its fill, which the user
// restyles with the fill picker.

#include "graph/LineListGraph.h"

struct OptionBarData;

class OptionBarGraph : public LineListGraph {
public:
    static constexpr int kTypeCode = 48;

    explicit OptionBarGraph(const OptionBarData& data);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit OptionBarGraph(const char* path);

    int TypeCode() override { return kTypeCode; }
    bool HasTextExport() override { return true; }
    // "KIVO(tm) Bar Graph": each option's name and share.
    bool WriteTextExport(TextReport& report) override;
    int AxisChanged(int vertical) override;
    // Over a bar: "Option (<name>); P = <share>".
    zString CoordinateText(float x, float y) const override;
    // The fill picker on an option's swatch; its bar takes the new fill.
    bool EditLegendKey(GraphElement& key) override;

    int16_t optionCount = 0;
    int16_t legacyCount = 0;

protected:
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;
};
