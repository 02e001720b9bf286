#pragma once
// The program's start function: called by WinMain with the application object; runs the whole life of the
// program, including the message loop.

class FrameworkApp;

void StartProgram(FrameworkApp* app);
