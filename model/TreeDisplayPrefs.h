#pragma once
// How a tree is drawn and printed: display flags, fonts, terminal-node numbering, page headers and footers
// and the print scale. A new record takes the user's saved preferences (page header and footer emptied); a
// tree file replaces them by its own.

#include "foundation/FontRecord.h"
#include "foundation/PreferenceRecord.h"
#include "foundation/zString.h"

#include <cstdint>

struct TreeDisplayPrefs : PreferenceRecord {
    // Defaults, then the saved preferences; the page header and footer texts are emptied.
    TreeDisplayPrefs();

    bool FromText(const char* text, int flag, const VersionRecord& version) override;
    const char* ClassName() const override { return "TreeDisplayPrefs"; }
    void ReadProfile() override;
    void WriteProfile() override;
    void Serialize(Archive& archive, const VersionRecord& version) override;
    // The fonts are the program's default fonts "Tree", "Prob", "EV", "Variables" and "PageHeader" (for the
    // header and the footer), as the text form's are.
    void SetDefaults() override;

    // The style of a tree converted from an influence diagram.
    bool SetConvertedTreeStyle(bool first, bool second);

    FontRecord TreeFont;
    FontRecord ProbFont;
    FontRecord EVFont;
    FontRecord VariablesFont;
    uint8_t AlignEndNodes;
    uint8_t AddAbove;
    uint8_t ShowProbsAsNumericEquiv;
    uint8_t HideCloneCopies;
    uint8_t MarkNodesWithComments;
    uint8_t ShowEVatTermEtc;
    // Branches a new node gets (0-20).
    uint8_t BranchesPerNode;
    uint8_t ShowTermNodeNumbers;
    uint8_t AlwaysShowPayoffs;
    uint8_t ShowPageHeadersInTree;
    uint8_t CenterTreeOnPage;
    // Forced to 0 while AlignEndNodes is set.
    uint8_t PackTreeVert;
    uint8_t ShowColumns;
    int32_t TermNodeStyle;
    // Border of note boxes (0-20): 0 solid frame, 1 dashed frame, any other value none.
    int32_t NoteBoxBorderKey;
    int32_t MarkNodesWithVars;
    int32_t ArrowHeadSize;
    int32_t ArrowLineStyleKey;
    uint8_t ShowPageBreaksInTree;
    uint8_t WideVars;
    uint8_t ShowMarkovInfo;
    uint8_t BranchesAt90;
    uint8_t BoxPayoffs;
    uint8_t Schematic;
    uint8_t HideProbs;
    zString TermNumString;
    zString PageHeaderString;
    zString PageFooterString;
    FontRecord PageHeaderFont;
    FontRecord PageFooterFont;
    int16_t PageHeaderLoc;
    int16_t PageFooterLoc;
    // Print scale in per cent, 10-250.
    uint8_t PrintZoomFact;
};
