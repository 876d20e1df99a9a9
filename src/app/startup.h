#pragma once

// The start of the program with its window.

#include <functional>

namespace quorvel {

class MainWindow;

// Makes RunDirectory the current directory, creates the main window hidden (no control event
// runs), lets `wire` connect the button clicks, runs OnWindowCreated, shows the window centred
// and runs its message loop until it is destroyed. Uses the window backend in force. Returns
// the program's exit status, 0.
int RunWindowProgram(const std::function<void(MainWindow&)>& wire);

}  // namespace quorvel
