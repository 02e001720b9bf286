#pragma once
// Where an owner (a dialog, a report, a graph's data) keeps the presenter that shows it to the person: the
// program or a test installs one, and the owner hands itself to it. One slot per owner and presenter type.

#include <utility>

template <class Owner, class Presenter>
struct PresenterSlot {
    // The installed presenter; empty when none is.
    static Presenter& Current()
    {
        static Presenter presenter;
        return presenter;
    }
    // Installs the presenter (an empty one removes it) and returns the one it replaces.
    static Presenter Replace(Presenter presenter)
    {
        std::swap(Current(), presenter);
        return presenter;
    }
};
