#include "FileTypeTable.h"

#include <cctype>

#include "KeyValueStore.h"
#include "platform/sdk/filetypes.h"

namespace marrowleaf::platform {
namespace {

constexpr const char* kHandlerPrefix = "handler.";

bool IsHandlerKey(const std::string& key) {
  return key.compare(0, std::char_traits<char>::length(kHandlerPrefix), kHandlerPrefix) == 0;
}

// What GetSupportedFileTypes hands out: the strings live here until the next call.
struct Snapshot {
  std::vector<std::pair<std::string, std::string>> types;
  std::vector<FileTypeInfo> infos;
};

Snapshot& CurrentSnapshot() {
  static auto* snapshot = new Snapshot();
  return *snapshot;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> FileTypeTable::Types() {
  std::vector<std::pair<std::string, std::string>> types;
  const KeyValueStore table = KeyValueStore::ReadFile(kPath);
  for (const auto& [key, value] : table.Entries()) {
    if (IsHandlerKey(key))
      continue;
    std::string extension = key;
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    types.emplace_back(extension, value);
  }
  return types;
}

std::string FileTypeTable::ProgramOf(const std::string& reader) {
  if (reader.empty())
    return "";
  const KeyValueStore table = KeyValueStore::ReadFile(kPath);
  const std::string* program = table.Find(kHandlerPrefix + reader);
  // Only absolute device paths name a program.
  return program != nullptr && !program->empty() && (*program)[0] == '/' ? *program : "";
}

}  // namespace marrowleaf::platform

using marrowleaf::platform::CurrentSnapshot;
using marrowleaf::platform::FileTypeTable;

const FileTypeInfo* GetSupportedFileTypes() {
  auto& snapshot = CurrentSnapshot();
  snapshot.types = FileTypeTable::Types();
  snapshot.infos.clear();
  for (const auto& [extension, handlers] : snapshot.types)
    snapshot.infos.push_back(FileTypeInfo{extension.c_str(), handlers.c_str()});
  return snapshot.infos.data();
}

int GetSupportedFileTypesLength() {
  return static_cast<int>(CurrentSnapshot().infos.size());
}
