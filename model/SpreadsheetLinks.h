#pragma once
// Bi-directional links between a tree's variables and named cells of a spreadsheet workbook: before a link
// that invokes them is read, the tree's values are written into their cells, and the recalculated cells are
// read back into the link and into the variables at the node being evaluated. Failures become evaluation
// errors of the formula that read the link.

class DocumentLink;
class EvalContext;

// Connects to the spreadsheet and opens the tree's workbook: 1, else 0 after evaluation error 26 ("You have
// not set up the bi-directional links.", "Unable to start Excel." or `Unable to load workbook "path".`).
int OpenLinkedWorkbook(EvalContext& context);

// The refresh pass before a bi-directional link is read: the workbook opened, every written variable's value
// put into its cell (25 without a definition, 27 when the cell refuses it), the link's own cell read into the
// link's value (28 naming "SUB()") and each read variable's cell bound at the evaluated node (28 naming it).
// Nothing happens while a pass is already running for the tree.
void RefreshSpreadsheetLinks(EvalContext& context, DocumentLink& link);
