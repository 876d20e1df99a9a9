#pragma once

// The saved credentials: the user name and password of the last login attempt, in plain text
// in config.ini beside the program (section userinfo, keys username and password).

#include "base/text.h"

namespace quorvel {

class MainWindow;

// RunDirectory + "/config.ini", formed anew on every call.
Text ConfigFilePath();
// Tests only: config.ini is looked for in `directory` instead of RunDirectory (empty: back to
// RunDirectory), so that tests running side by side never share one file.
void SetConfigDirectoryForTesting(const Text& directory);

// Writes the user name, then the password, from the two edit boxes; failures are ignored.
void SaveCredentials(MainWindow& window);
// Sets the user-name box from the file (which runs OnUserNameChanged and so empties the
// password box), then the password box; a missing key gives the empty text.
void LoadCredentials(MainWindow& window);

}  // namespace quorvel
