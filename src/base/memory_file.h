#pragma once

// The in-memory file: a growable block of bytes with a current position, known by a number.
// It carries a TextArray to a worker thread and back, and splits text into lines. Numbers are
// never reused within a process, and every operation may be called from any thread: an
// operation on a number that is not open (closed by its owner, say) does nothing and fails.

#include <cstdint>

#include "base/text.h"

namespace quorvel {

using FileNumber = uint64_t;

// A new, empty file at position 0. Never 0.
FileNumber OpenMemoryFile();
// Closes the file and releases it; the number becomes invalid for good.
void CloseFile(FileNumber file);
// Sets the position to 0.
bool SeekToStart(FileNumber file);
// Writes each element as a 4-byte little-endian length and its bytes at the position,
// overwriting and extending as needed; the position ends after the last element.
bool WriteArray(FileNumber file, const TextArray& array);
// Reads as many elements as the array holds, from the position. On failure the array holds
// nothing usable, the result is false and the position is where it was.
bool ReadArray(FileNumber file, TextArray& array);
// Writes the text's bytes at the position and moves past them.
bool WriteText(FileNumber file, const Text& text);
// Writes raw bytes, zero bytes included, at the position and moves past them.
bool WriteBytes(FileNumber file, const ByteString& bytes);
// Reads one line: up to a line feed (dropped, with one carriage return before it), moving over
// two-byte characters whole. A zero or 0x1A byte ends the line before it and is skipped.
Text ReadLine(FileNumber file);
// True when the position is at or past the end of the data, or the file is not open.
bool AtEnd(FileNumber file);

}  // namespace quorvel
