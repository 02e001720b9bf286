#pragma once
// The main window's tool bar: a row of 23 x 23 bitmap buttons, one per frequent command, in groups separated
// by gaps, built once at start-up on the frame's tool bar pane. Its buttons send the menu commands' ids to the
// frame. The last group is a one-of-N choice of the influence diagram drawing mode, with a hidden member
// (Cmd::ModeNone) that stands for no mode. Windows enable and check the buttons by command id through the
// operations below, from their menu-updating code.

#include "CommandIds.h"

#include <functional>

class Bitmap;
class VisualListPane;
class VisualToggleSet;


// Fills the frame's tool bar pane (a forwarding list pane docked at the top, 31 pixels high) with the row,
// and starts the mode set on no mode with every mode button disabled.
void BuildMainToolbar(VisualListPane* toolBarPane);
// Deletes the mode set and the gap rules; the buttons go with the pane.
void DestroyMainToolbar();
VisualListPane* MainToolbarPane();
// A button picture from the program's resources, its light-grey background turned into the button face's
// colour of this system; null when it cannot be loaded.
Bitmap* LoadToolbarPicture(unsigned resourceId);
VisualToggleSet* ModeButtonSet();

// The buttons of the window's commands (Convert to Outline, Font, the Values and the Analysis buttons), each
// enabled by the rule the active window gives for its command id; a window without a rule for one passes
// false, so the button is disabled.
void EnableToolbarButtons(const std::function<bool(unsigned id)>& rule);
// Presses or releases the latching roll-back button.
void CheckRollBackButton(bool checked);
void EnableSaveCommand(int enable);
void EnablePrintCommands(int enable);
void EnableFontCommand(int enable);
void EnableDefineVariable(int enable);
void EnableCommand1556(int enable);
void EnableProbabilityWheel(int enable);
// Disables one-way, two-way, distribution, Monte Carlo, roll back and change node type, and releases roll back.
void DisableAnalysisCommands();
// Checks or releases the roll-back button, then enables or disables it.
void EnableRollBack(int enable, int checked);
void SetNavigatingButton(int checked);
// No visible mode button pressed, and all modes disabled.
void SelectDefaultMode();
// Presses the mode button of the id (1750 to 1754; any other id: no mode), enabling the modes first when
// they are disabled.
void SelectModeButton(unsigned id);
