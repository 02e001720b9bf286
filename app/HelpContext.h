#pragma once
// The help context that F1 opens: each box or dialog sets it for its life and restores it afterwards.

extern int CurrentHelpContext;
