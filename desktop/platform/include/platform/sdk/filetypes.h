// The file types the device's readers open, and which readers can open each one (the choices of
// "Open with"). The simulator reads the table from "/ebrmain/config/extensions.cfg": each line
// "<extension>=<reader>,<reader>,..." (extension in lower case without the dot, the default reader
// first), and "handler.<reader>=<program>" gives the program of a reader named there.
#pragma once

struct FileTypeInfo {
  const char* extension;  // lower case, without the dot
  const char* handlers;   // the names of the readers that open it, separated by ','; may be ""
};

// The table, read anew at each call and valid until the next one. Event-loop thread.
const FileTypeInfo* GetSupportedFileTypes();
// The number of entries of the table the last GetSupportedFileTypes returned.
int GetSupportedFileTypesLength();
