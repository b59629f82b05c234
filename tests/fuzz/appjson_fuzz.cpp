// Feeds arbitrary bytes to the application catalogue as its database and both view files at once,
// then runs the integrity check and every query over them. Whatever the text, nothing may crash,
// hang or throw; the checker and the lenient parser must both cope with it.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "data/json_manager/AppJsonManager.h"
#include "data/json_manager/JsonFileReader.h"
#include "platform/sdk/files.h"

namespace {

using marrowleaf::desktop::AppJsonManager;

const char* const kFiles[] = {AppJsonManager::kDatabasePath, AppJsonManager::kShippedViewPath,
                              AppJsonManager::kUserViewPath};

std::string& RootFolder() {
  static std::string folder;
  return folder;
}

void RemoveRoot() {
  std::error_code ignored;
  std::filesystem::remove_all(RootFolder(), ignored);
}

// A private device root with the folders of the catalogue's files and a program for the paths the
// seeds name most, so applications can be visible.
void MakeRoot() {
  std::string pattern = (std::filesystem::temp_directory_path() / "appjson-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    std::abort();
  RootFolder() = pattern;
  std::atexit(RemoveRoot);
  setenv("MARROWLEAF_ROOT", pattern.c_str(), 1);
  ReloadDeviceRoot();
  for (const char* folder :
       {"/.sim", "/ebrmain/config/desktop", "/ebrmain/bin", "/mnt/ext1/system/config/desktop"}) {
    std::filesystem::create_directories(HostPath(folder));
  }
  WriteFileAtomically("/ebrmain/bin/explorer.app", "program");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool made = (MakeRoot(), true);
  (void)made;
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const char* file : kFiles) WriteFileAtomically(file, text);
  pk_unlink(AppJsonManager::kHashRecordPath);
  pk_unlink("/.sim/journal.jsonl");

  AppJsonManager catalogue;
  catalogue.CheckIntegrity();
  catalogue.GetVisibleApplications();
  catalogue.GetGroups();
  catalogue.GetApplicationByPath("/ebrmain/bin/explorer.app");
  catalogue.IsUserApplicationPath("/mnt/ext1/applications/x.app");
  Json::Value root;
  std::string error;
  if (marrowleaf::desktop::JsonFileReader::Parse(text, &root, &error) && root.isObject()) {
    const Json::Value& apps = root.get("applications", Json::Value());
    if (apps.isObject()) {
      for (const std::string& id : apps.getMemberNames()) catalogue.GetApplication(id);
    }
  }
  return 0;
}
