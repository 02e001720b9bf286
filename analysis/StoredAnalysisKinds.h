#pragma once
// What each analysis kind does with a stored record: run it again and describe it. Each analysis registers
// its kind; roll back, the retired kind and the Markov cohort analysis are built in.

#include "foundation/zString.h"

class TreeDocument;
struct StoredAnalysis;

using StoredRunFunction = void (*)(StoredAnalysis* record, TreeDocument* document);
using StoredDescribeFunction = void (*)(TreeDocument* document, StoredAnalysis* record, zString& text);

struct StoredAnalysisHandlers {
    StoredRunFunction run = nullptr;
    StoredDescribeFunction describe = nullptr;
};

// Installs (or replaces) the handlers of a kind; either may be null.
void RegisterStoredAnalysisKind(int kind, StoredRunFunction run, StoredDescribeFunction describe);
// The handlers of a kind; both null for a kind nobody handles.
StoredAnalysisHandlers StoredAnalysisKindHandlers(int kind);

// The description shown in the stored-analyses dialogs; kinds without a describer leave text as it was.
void DescribeStoredAnalysis(TreeDocument* document, StoredAnalysis* record, zString& text);
// Runs the analysis again by its kind; the analysis carries the record as its caller.
void RunStoredAnalysis(StoredAnalysis* record, TreeDocument* document);
// Clears the successor link and hands back the successor, or null.
StoredAnalysis* TakeNextStoredAnalysis(StoredAnalysis* record);
// Clears the successor link and runs the successor, when there is one.
void RunNextStoredAnalysis(StoredAnalysis* record, TreeDocument* document);
