#pragma once
// "Mimic Ru&n-Time" of the Options menu: while it is on, the designer of a tree sees the custom interface's
// dialogs as their end user will (ranges the set-ups take are not written into the variables, the wheel
// works only on probabilities its node binds to variables), and the designer's notes are added to their
// refusals. One switch for the program's session, shared by every tree window; it starts off.

bool IsMimicRunTime();
void SetMimicRunTime(bool on);
