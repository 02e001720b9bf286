#pragma once
// The program's side of a run's outcome: each notice becomes its message box, after the node it concerns
// is selected in its tree window. AppHost installs it as the core's outcome presenter.

struct RunOutcome;

void ShowOutcomeInWindows(const RunOutcome& outcome);
