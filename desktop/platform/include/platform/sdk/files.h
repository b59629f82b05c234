// Files of the device. Every path the system uses is a device path ("/mnt/ext1/..."); the file
// layer maps it under the device root folder named by MARROWLEAF_ROOT (unset: "/", as on the
// device). All file access of the system goes through these functions or through HostPath.
#pragma once

#include <string>

// The host path of a device path. ".." stops at the device root as it stops at "/" on the device;
// a path that is not absolute is refused and maps to "" (which no file call accepts).
std::string HostPath(const std::string& device_path);
// HostPath for deleting, replacing or creating: "" as well when a symbolic link on the way leads out
// of the device root.
std::string HostPathForChange(const std::string& device_path);
// True when the folder that holds device_path, symbolic links resolved, is device_folder or lies
// below it: a cache deletes only what lies inside its own folder.
bool ResolvesInside(const std::string& device_path, const std::string& device_folder);
// The device path of a host path under the root (inverse of HostPath), or "" when outside.
std::string DevicePath(const std::string& host_path);
// The host folder of the device root ("" for "/").
const std::string& DeviceRoot();
// Re-reads MARROWLEAF_ROOT; for tests that switch device roots.
void ReloadDeviceRoot();

// access(2) on a device path: 0 when allowed, -1 otherwise.
int pk_access(const char* path, int mode);
// Creates every missing folder of the path's parent folders (mode 0777). 0 on success.
int pk_buildpath(const char* path);
// Deletes a file. 0 on success.
int pk_unlink(const char* path);
// Copies a file (atomically replacing the target). 0 on success, -1 otherwise.
int copy_file(const char* source, const char* target);
// Same as copy_file, with the SDK's other name.
int CopyFile(const char* source, const char* target);

// Replaces a file whole: writes a temporary file in the same folder, flushes and fsyncs it, renames
// it over the target and fsyncs the folder, so readers see the old or the new content, never a mix.
// 0 on success, -1 otherwise (the target is then unchanged).
int WriteFileAtomically(const std::string& device_path, const std::string& content);
// Deletes from a device folder (not its subfolders) the temporary files of WriteFileAtomically
// calls that never finished: a process killed between writing and renaming leaves them. Call it
// only while no such call can be writing in the folder. Returns the number of files deleted.
int RemoveStaleTemporaryFiles(const std::string& device_folder);
// Reads at most max_bytes of a file. Returns false when it can't be opened or read; truncated is
// set when the file was longer than the cap.
bool ReadFileCapped(const std::string& device_path, size_t max_bytes, std::string* content,
                    bool* truncated = nullptr);
