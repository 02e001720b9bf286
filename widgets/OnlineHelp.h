#pragma once
// On-line help: the topic file "Kivo35.Hlp" in the "Help" directory of the program, shown by the program's
// help window (HelpWindow) on the current help context, its contents or its keyword index. A message-filter hook turns F1 released inside
// a dialog or a menu into the frame's Help command, so that help works where the frame's accelerators do not.

#include "widgets/HelpContext.h"

#include "CommandIds.h"

#include <windows.h>

#include <functional>

constexpr const char* HelpFileName = "Kivo35.Hlp";

// The single point where help reaches its viewer, with the commands of the system's help call (HELP_CONTEXT,
// HELP_CONTENTS, HELP_PARTIALKEY, HELP_QUIT); tests install their own to see what is asked.
using HelpViewer = std::function<BOOL(HWND window, const char* path, UINT command, ULONG_PTR value)>;
// Installs a viewer (an empty one restores the help window) and returns the one it replaces.
HelpViewer SetHelpViewer(HelpViewer viewer);

// The directory of the help file: the program directory joined with "Help".
const char* HelpDirectory();
// Opens the help file of the help directory on a command; a null window means the main frame. A missing
// file gives the information box instead.
void ShowHelpFile(const char* fileName, UINT command, ULONG_PTR value, HWND window);
void ShowHelp(UINT command, ULONG_PTR value);
// The topic of the current help context, or the contents when none is set.
void ShowHelpForContext();
void ShowHelpContents();
void ShowHelpIndex();
// Tells the viewer that the program no longer needs the file (named without its directory): the help
// window closes.
void QuitHelp();

void InstallHelpHook();
// Quits help, then removes the hook.
void RemoveHelpHook();
