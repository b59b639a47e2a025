#pragma once

// The program: one instance per program file and user, the splash, the
// main window, the message loop, and a restart when the window asked for one.
int runProgram(int argc, char** argv);
