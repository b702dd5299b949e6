#pragma once

#include <functional>

class MainWindow;

// The program's start: the application object, the window fixed at its
// designed size and shown, the event loop; returns the loop's exit code.
// `shown`, when given, runs once the window is shown, just before the loop
// (for the programs that look at the window as it starts: the tests, the
// benchmark).
int runConfigurator(int &argc, char **argv, const std::function<void(MainWindow &)> &shown = nullptr);
