#pragma once
// Plain entry points for a program that drives the core without the analysis frame: each takes the document
// and answers with a result record.

#include "foundation/ValueTriple.h"
#include "foundation/zString.h"

class TreeDocument;

// The outcome of rolling the whole tree back. status 0: done and the tree is marked rolled back; otherwise
// failed or cancelled, and error holds the text of the last message reported (empty when none was).
struct RollBackResult {
    int status = 0;
    ValueTriple root;  // the root's cost, effectiveness and expected value
    zString error;
};

// Rolls the tree back (every node evaluated, no progress entry). Errors reach the host as message boxes
// like any roll back, and their text is kept in the result.
RollBackResult RollBackDocument(TreeDocument& document);
