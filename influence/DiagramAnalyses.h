#pragma once
// The analyses of a diagram window's Diagram menu. Each first checks the diagram; a failed check selects
// its nodes in the window and shows its message.

class InfluenceDiagramWindow;

// Bayes' Revision: where the diagram's conversion revises probabilities.
void ShowBayesRevision(InfluenceDiagramWindow& window);
// Convert To Tree: the equivalent tree in a new tree window.
void ConvertDiagramWindowToTree(InfluenceDiagramWindow& window);
// Probabilities or Values: the selected node's table in the table editor, kept as one undo step.
void EditDiagramNodeTable(InfluenceDiagramWindow& window, bool values);
