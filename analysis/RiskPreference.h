#pragma once
// Assessing a tree's risk preference function from the person's answers: the end-value range of the tree
// and the questions of a point assessment, which bisect the utility scale level by level (0.5; 0.25, 0.75;
// 0.125 ...), each asking for the certainty equivalent of a 50/50 lottery between two points found so far.

#include <vector>

class TreeDocument;
struct LineGraphData;

// The lowest and highest end values of the tree (wait cursor shown); false on an error, already reported.
bool TreeEndValueRange(TreeDocument* document, double& lowest, double& highest);

class RiskPointAssessment {
public:
    // Starts an assessment in `segments` linear segments (2, 4, 8 or 16) over the tree's end values; false,
    // with the error shown, when the range cannot be found or is empty.
    bool Begin(TreeDocument* document, int segments);

    // The current lottery, the number shown after "CE " and the proposed answer.
    double LotteryLow() const { return low; }
    double LotteryHigh() const { return high; }
    int QuestionNumber() const { return static_cast<int>(values.size()) - 1; }
    double Proposed() const { return (low + high) / 2; }
    // True while the last question is asked.
    bool IsLastQuestion() const { return static_cast<int>(values.size()) == segments; }
    // Takes the certainty equivalent of the current lottery and moves to the next question; false, with the
    // error shown, when the answer is not strictly inside the lottery.
    bool Answer(double certaintyEquivalent);
    bool Complete() const { return static_cast<int>(values.size()) > segments; }
    // Makes the assessed points the tree's function and marks the tree modified.
    void Store(TreeDocument* document) const;

    // The points so far in increasing value, with their utilities.
    std::vector<double> values;
    std::vector<double> utilities;

private:
    int segments = 0;
    double low = 0.0;
    double high = 0.0;
};

// The graph of the tree's function in 10 intervals ("Risk Preference Function"); false without a function.
bool MakeRiskPreferenceGraph(const TreeDocument* document, LineGraphData& graph);
// Shows that graph in a line graph window.
void ShowRiskPreferenceGraph(const TreeDocument* document);
