// Files held in memory in place of the system's, for runs that must not wait on a disk (the
// fuzzers): while they are in use, every routine of platform/file.h that takes a path works on
// them alone (the profile routines too, on POSIX), and their handles keep working after.
// A file replaced through ReplaceFileContents is a new file under the old name, as on a disk:
// handles open on the old one go on seeing the old contents.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// On: an empty set of memory files replaces the system's files. Off: the system's files again
// (the memory files stay until the next switch on).
void UseMemoryFiles(bool on);
bool MemoryFilesInUse();

// Puts `bytes` at `path` as a memory file, the state RestoreMemoryFiles goes back to.
void PutMemoryFile(const char* path, std::vector<std::uint8_t> bytes);

// Every file put back as it was put, at the cost of what was written since (only the parts
// written; a file replaced or emptied whole); files made since are gone.
void RestoreMemoryFiles();

// How many files were replaced since the last restore (or switch on).
std::uint32_t MemoryFileReplacements();
// Whether the file at `path` was replaced, emptied or made since the last restore, or is gone.
bool MemoryFileReplaced(const char* path);

}  // namespace platform
