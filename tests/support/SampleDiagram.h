#pragma once
// Diagrams built in code for tests, the tour and the benchmark.

#include "model/InfluenceDiagram.h"

#include <initializer_list>

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
