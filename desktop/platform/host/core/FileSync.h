// Pieces of the atomic file replacement shared by WriteFileAtomically and AtomicFileBatch.
#pragma once

#include <cstddef>
#include <string>

namespace marrowleaf::platform {

// Writes the whole buffer, retrying short writes and interrupted calls. False on an error.
bool WriteAll(int fd, const char* data, size_t size);
// The folder part of a host path ("." for a bare name, "/" for a file at the root).
std::string FolderOf(const std::string& path);
// Makes the folder's entries (renames into it) durable.
void SyncFolder(const std::string& folder);
// A full internal storage, as the device profile may simulate it.
bool StorageIsFull(const std::string& device_path);

}  // namespace marrowleaf::platform
