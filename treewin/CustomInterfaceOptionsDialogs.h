#pragma once
// The designer's options of a custom interface on the screen: Basic options (with New Calculation Method),
// Extended options, and the Extended parameters with their About box.

class CustomInterfaceOptions;
class TreeWindow;

// Basic Custom Interface Options; the list of methods changes at once, the switches on "O&K".
void RunBasicOptions(TreeWindow& tree, CustomInterfaceOptions& options);
// Extended Custom Interface Options: the analyses the user may run and whether the tree may be saved.
void RunExtendedOptions(TreeWindow& tree, CustomInterfaceOptions& options);
// Extended Custom Interface Parameters: every variable, "+" after those ready for the Extended interface;
// Properties edits the selected one.
void RunExtendedParameters(TreeWindow& tree);
