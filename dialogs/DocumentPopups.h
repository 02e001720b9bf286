#pragma once
// Result windows that are popups of the frame and point into a tree's document (Markov, cost-effectiveness
// sensitivity, Monte Carlo progress) are listed here while they live, so that a closing tree window closes
// them before its document goes.

class TreeDocument;
class WindowCL;

void AddDocumentPopup(WindowCL* window, const TreeDocument* document);
void RemoveDocumentPopup(WindowCL* window);
// Destroys every listed window of the document.
void CloseDocumentPopups(const TreeDocument* document);
