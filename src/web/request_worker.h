#pragma once

// The request worker: the body of the thread that performs one HTTP exchange for the web
// access call. It reads the seven-slot request record from the in-memory file, makes the
// exchange through the HTTP functions (platform::Http(), so tests can record it), hands the
// cookies that the answer sets to the process-wide store, and writes the record back:
//   slot 0: the body; slot 1: the harvested cookie text; slot 5: the raw response headers.
// A failed open (session, connection or request) writes the record back with slots 0 and 6
// emptied and the others as read. A record that cannot be read leaves the file untouched.

#include "base/memory_file.h"

namespace quorvel {

void RequestWorker(FileNumber file);

}  // namespace quorvel
