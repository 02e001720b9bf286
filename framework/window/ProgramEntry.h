#pragma once
// The program's start function. The program defines it; WinMain calls it once the application object
// exists, and the process ends when it returns.

class FrameworkApp;

// Runs the program; returns when the message loop has ended and everything is freed.
void StartProgram(FrameworkApp* app);
