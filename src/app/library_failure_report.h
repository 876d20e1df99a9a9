#pragma once

// How the program tells that a library function cannot be bound (the skin engine missing,
// damaged, or without its function). The process then ends with status 255.

namespace quorvel {

// In a window run the text goes into a message box ("提示信息", one OK button) and the process
// ends once it is closed; with `headless` the same text goes to standard error.
void InstallLibraryFailureReport(bool headless);

}  // namespace quorvel
