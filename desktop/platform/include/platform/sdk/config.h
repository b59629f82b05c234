// Key-value configuration files of the device.
//
// File syntax (one entry a line, UTF-8):
//   key=value        the value runs to the end of the line; spaces around '=' and at both ends of
//                    the line are dropped; a value may be wrapped in double quotes to keep its
//                    spaces, and inside quotes \\, \" and \n stand for a backslash, a quote and a
//                    line feed
//   # comment        lines whose first non-blank character is '#' or ';' are ignored
// Keys are unique; a later line wins, keeping the place of the first. A damaged line is skipped and
// reading goes on after it. Damage is: control characters other than tab (binary data), a line
// without '=' or with an empty key, an unterminated quote, an unknown escape or text after the
// closing quote, a line longer than 64 KiB. Files larger than 1 MiB are read as far as that cap
// (the line the cap cuts is dropped). A UTF-8 byte order mark at the start is skipped.
//
// Other programs write the same files, so saving reads the file as it is at that moment and changes
// in it only the keys set or deleted through the handle since its last save: every other line,
// comments and damaged lines included, stays as it is, and a changed key's line is written in the
// place of its first line, quoting the value only when it needs it. A file over the size cap is not
// saved, since its tail would be lost. Saving writes a temporary file beside the original, flushes
// it and renames it over the original, so a crash never leaves a half-written file.
#pragma once

struct DeviceConfig;

// A default value taken when the file has no such key. Arrays end with a {nullptr, nullptr} entry.
struct ConfigDefault {
  const char* key;
  const char* value;
};

// Opens a configuration file by device path. A missing file whose folder exists opens empty (it is
// created by the first save); returns nullptr when the file can't be read or its folder is missing.
DeviceConfig* OpenConfig(const char* path, const ConfigDefault* defaults);

// The returned text stays valid until the key is written again or the handle is closed.
const char* ReadString(DeviceConfig* config, const char* key, const char* default_value);
int ReadInt(DeviceConfig* config, const char* key, int default_value);
long long ReadLongLong(DeviceConfig* config, const char* key, long long default_value);
// Keys and values the syntax can't hold (a key with '=' or starting with '#' or ';', control
// characters other than tab and, in values, line feed, lines over the cap) are refused and logged.
void WriteString(DeviceConfig* config, const char* key, const char* value);
void WriteInt(DeviceConfig* config, const char* key, int value);
void WriteLongLong(DeviceConfig* config, const char* key, long long value);
// Removes a key; defaults stay in force for it.
void DeleteConfigKey(DeviceConfig* config, const char* key);

// 0 on success (also when nothing changed: then nothing is written), -1 when the file can't be
// read whole or written (the changes are kept for the next try) or for a null handle.
int SaveConfig(DeviceConfig* config);
// Saves when changed and releases the handle.
void CloseConfig(DeviceConfig* config);
// Releases the handle and drops unsaved changes.
void CloseConfigNoSave(DeviceConfig* config);

// "/mnt/ext1/system/config/global.cfg", opened on first use and kept for the life of the process
// (tried again while it can't be opened; opened anew when the device root changes). Returns nullptr
// when it can't be opened. Closing it saves it but keeps it open. Event-loop thread only.
DeviceConfig* GetGlobalConfig();
