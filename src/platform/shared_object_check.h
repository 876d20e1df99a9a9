#pragma once

// Checks a file before it goes to the dynamic loader.

namespace quorvel::platform {

// True when the file is a shared object this process can hand to the loader: an ELF file of
// this machine's class, byte order and architecture, of type ET_DYN, whose header tables and
// segments all lie inside the file. The loader trusts those offsets and faults (SIGBUS) on a
// file cut short, so a library is checked before it is loaded.
bool IsLoadableSharedObject(const char* path);

}  // namespace quorvel::platform
