#include "ReaderRegistry.h"

#include <cctype>

#include "FileTypeTable.h"
#include "platform/sdk/config.h"

namespace marrowleaf::platform {

namespace {

constexpr const char* kReadersConfig = "/ebrmain/config/readers.cfg";
constexpr const char* kDefaultReader = "/ebrmain/bin/reader.app";
constexpr const char* kProgramFolder = "/ebrmain/bin/";
constexpr size_t kMaxHandlerBytes = 4096;

}  // namespace

ReaderRegistry& ReaderRegistry::Get() {
  // Never destroyed: threads that outlive main (task reapers, workers) may still use it.
  static auto* instance = new ReaderRegistry();
  return *instance;
}

std::string ReaderRegistry::Extension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.rfind('.');
  // A leading dot names a hidden file, not an extension.
  if (dot == std::string::npos || dot <= name_start)
    return "";
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

std::string ReaderRegistry::ReaderFor(const std::string& book_path) const {
  std::string reader = ChosenHandler(book_path);
  if (!reader.empty())
    return reader;
  const std::string extension = Extension(book_path);
  reader = ConfiguredReader(extension);
  if (!reader.empty())
    return reader;
  if (extension == "app")
    return book_path;
  return kDefaultReader;
}

bool ReaderRegistry::SetHandler(const std::string& book_path, const std::string& handler) {
  if (book_path.empty() || handler.size() > kMaxHandlerBytes)
    return false;
  // A bare name is a program of the device's program folder; it can't reach into other folders.
  if (!handler.empty() && handler[0] != '/' && handler.find('/') != std::string::npos) {
    return false;
  }
  // A reader the file-type table names runs its program there.
  const std::string named = handler.empty() || handler[0] == '/' ? "" : FileTypeTable::ProgramOf(handler);
  std::lock_guard<std::mutex> lock(mutex_);
  if (handler.empty()) {
    handlers_.erase(book_path);
  } else if (!named.empty()) {
    handlers_[book_path] = named;
  } else {
    handlers_[book_path] = handler[0] == '/' ? handler : kProgramFolder + handler;
  }
  return true;
}

std::string ReaderRegistry::ChosenHandler(const std::string& book_path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = handlers_.find(book_path);
  return it == handlers_.end() ? "" : it->second;
}

std::string ReaderRegistry::ConfiguredReader(const std::string& extension) {
  if (extension.empty())
    return "";
  DeviceConfig* config = OpenConfig(kReadersConfig, nullptr);
  if (config == nullptr)
    return "";
  std::string reader = ReadString(config, extension.c_str(), "");
  CloseConfigNoSave(config);
  // Only absolute device paths name a program; anything else in the file is a mistake.
  return !reader.empty() && reader[0] == '/' ? reader : "";
}

}  // namespace marrowleaf::platform
