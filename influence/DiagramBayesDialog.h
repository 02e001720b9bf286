#pragma once
// The Bayes' Revision dialog of an influence diagram (3475): where the conversion to a tree revises
// probabilities by Bayes' rule, one line per revised event ("\"S\" is predicted by") followed by a line per
// event that predicts it, indented by four blanks, and an empty line between revised events.

#include "widgets/PresentedDialog.h"
#include "model/InfluenceOrder.h"

#include <string>
#include <vector>

class DiagramBayesDialog : public PresentedDialog<DiagramBayesDialog> {
public:

    explicit DiagramBayesDialog(const std::vector<RevisedEvent>& revisions);
    // Shown until OK; on the screen with the lines in its list.
    int Run();

    std::vector<std::string> lines;
};
