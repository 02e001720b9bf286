#pragma once
// The tree's result columns: after a roll back each column shows one number per node where the tree
// visibly ends (the expected value or C/E ratio, path probability, scenario number, cost, effectiveness,
// a marginal value against the neighbouring strategy, or a custom formula), formatted by its number format
// and drawn in its font. The list belongs to the document and is saved in the tree file.

#include "foundation/FontRecord.h"
#include "foundation/NumericFormat.h"
#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>
#include <memory>

class Archive;

struct DisplayColumn {
    enum Kind : int32_t {
        kExpectedValue,
        kPathProbability,
        kScenarioNumber,
        kCost,
        kEffectiveness,
        kMarginalValue,
        kMarginalCost,
        kMarginalEffectiveness,
        kCustomCalculation,
    };
    enum FormatSource : int32_t { kStandardFormat, kProbabilityFormat, kCostFormat, kEffectivenessFormat,
                                  kCustomFormat, kNoFormat };

    DisplayColumn() = default;
    // A deep copy: the own format and font are copied.
    DisplayColumn(const DisplayColumn& other);
    DisplayColumn& operator=(const DisplayColumn&) = delete;

    // Stored form:
    //   version record        3 bytes
    //   kind                  16 bits (sign-extended on reading)
    //   reserved              16 bits
    //   format source         16 bits
    //   formula, header       stored strings
    //   has own format        16 bits 1/0; when 1 the NumericFormat with its version
    //   has own font          16 bits 1/0; when 1 the FontRecord
    void Serialize(Archive& archive);

    int32_t kind = kExpectedValue;
    // Kept and stored as read; new columns carry -1.
    int32_t reserved = -1;
    int32_t formatSource = kStandardFormat;
    // The custom calculation's formula text (kind 8).
    zString formula;
    zString header;
    // Only with the Custom format source.
    std::unique_ptr<NumericFormat> format;
    // Only when the column has a font of its own.
    std::unique_ptr<FontRecord> font;
    // Layout results in the tree pane's logical units, not stored: left edge, width, header text width.
    float x = 0.0f;
    float width = 0.0f;
    float headerWidth = 0.0f;
};

class DisplayColumnList : public PtrArray {
public:
    explicit DisplayColumnList(int16_t growBy = 4, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
    ~DisplayColumnList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    DisplayColumn* At(int i) const { return static_cast<DisplayColumn*>(PtrArray::At(i)); }
};
