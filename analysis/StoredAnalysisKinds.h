#pragma once
// What each analysis kind does with a stored record: run it again and describe it. Each analysis registers
// its kind; roll back, the retired kind and the Markov cohort analysis are built in.

#include "foundation/zString.h"

class TreeWindow;
struct StoredAnalysis;

using StoredRunFunction = void (*)(StoredAnalysis* record, TreeWindow* window);
using StoredDescribeFunction = void (*)(TreeWindow* window, StoredAnalysis* record, zString& text);

struct StoredAnalysisHandlers {
    StoredRunFunction run = nullptr;
    StoredDescribeFunction describe = nullptr;
};

// Installs (or replaces) the handlers of a kind; either may be null.
void RegisterStoredAnalysisKind(int kind, StoredRunFunction run, StoredDescribeFunction describe);
// The handlers of a kind; both null for a kind nobody handles.
StoredAnalysisHandlers StoredAnalysisKindHandlers(int kind);
