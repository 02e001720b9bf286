#pragma once
// The order in which a diagram's events become the levels of a decision tree: after the events that
// influence them, every chance event before the first decision that observes it, ties broken by kind and
// by place on the page. The same pass finds the chance events that are observed before an event that
// influences them: their probabilities are revised by Bayes' rule.

#include <vector>

class InfluenceNodeRecord;

// A revised event and the events observed before it that predict it, each once.
struct RevisedEvent {
    InfluenceNodeRecord* revised;
    std::vector<InfluenceNodeRecord*> predictors;
};

// Deterministic and value events first, then for each decision in order the chance events it observes
// followed by the decision, then the chance events no decision observes; the final event (when given)
// last. Clones stand for their masters and sub-model nodes for the events inside them. With vertical, ties
// go by the events' heights on the page, else by their left-to-right places. Bayes, when asked for, gets
// every revised event with its predictors.
std::vector<InfluenceNodeRecord*> OrderDiagramNodes(InfluenceNodeRecord* finalNode,
                                                    const std::vector<InfluenceNodeRecord*>& nodes, bool vertical,
                                                    std::vector<RevisedEvent>* bayes);

// Orders the list after the arcs among its events and the anchor (which takes part but is left out of the
// result), decisions after the others where the arcs leave it open, then by place on the page.
void OrderRelativeTo(InfluenceNodeRecord* anchor, std::vector<InfluenceNodeRecord*>& list, bool vertical);
