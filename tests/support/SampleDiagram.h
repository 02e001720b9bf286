#pragma once
// Diagrams built in code for tests, the tour and the benchmark.

#include "model/InfluenceDiagram.h"

#include <initializer_list>
#include <vector>

// A node of the kind with the name (its variable name too) and outcomes, its top left corner at (left,
// top), appended to the diagram and laid out.
InfluenceNodeRecord* AddDiagramNode(InfluenceDocument& document, InfluenceDiagram& diagram, int kind,
                                    const char* name, float left, float top,
                                    std::initializer_list<const char*> outcomes = {});
// An arc from tail to head appended to the diagram.
InfluenceArc* AddDiagramArc(InfluenceDiagram& diagram, InfluenceNodeRecord* tail, InfluenceNodeRecord* head);

// Decision "Treat" (2 alternatives) -> chance "Outcome" (3 outcomes, probability table) -> value "Value"
// (value table) with a curved arc carrying a shown comment, a hidden arc, a note, a clone of the chance node,
// a sub-model node holding a deterministic node influenced by a clone of the decision, and a link.
struct SampleDiagram {
    InfluenceNodeRecord* decision;
    InfluenceNodeRecord* chance;
    InfluenceNodeRecord* value;
    InfluenceNodeRecord* clone;
    InfluenceNodeRecord* subModel;
    InfluenceArc* curvedArc;
    InfluenceArc* hiddenArc;
};
SampleDiagram BuildSampleDiagram(InfluenceDocument& document);

// The table's cell for the chosen states (the table made or brought in step first): a number goes in as
// its expression, any other text as its formula.
void SetDiagramCell(InfluenceNodeRecord* node, int table, const std::vector<StateChoice>& choices, const char* text);

// A test result A (a1, a2) observed before deciding D (Act, Wait) predicts the state S (s1, s2) that pays
// V: P(s1) 0.3, P(a1 | s1) 0.8, P(a1 | s2) 0.1; V(Act, s1) 100, V(Act, s2) -20, V(Wait) 0. By hand the
// tree reads P(a1) 0.31, P(s1 | a1) 0.24 / 0.31, P(s1 | a2) 0.06 / 0.69 and rolls back to 22.6.
struct BayesDiagram {
    InfluenceNodeRecord* state;
    InfluenceNodeRecord* test;
    InfluenceNodeRecord* decision;
    InfluenceNodeRecord* value;
};
BayesDiagram BuildBayesDiagram(InfluenceDocument& document);
