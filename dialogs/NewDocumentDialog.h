#pragma once
// New Document (dialog 3430): the kind of the new document, chosen in list 3431 ("Tree", "Influence
// Diagram"); a double click acts as OK.

#include <functional>

class NewDocumentDialog {
public:
    enum Kind : int { Tree = 0, InfluenceDiagram = 1 };

    // The tree comes first, or the influence diagram with the command-line option i.
    NewDocumentDialog();

    // True when the person chose with OK; Choice holds the kind. Without a presenter the dialog runs on the
    // screen (Cancel when there is no application to run it).
    bool Run();
    int Choice;

    using Presenter = std::function<bool(NewDocumentDialog&)>;
    static Presenter SetPresenter(Presenter presenter);
};
