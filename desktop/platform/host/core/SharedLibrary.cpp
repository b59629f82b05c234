#include "SharedLibrary.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "platform/sdk/log.h"

namespace marrowleaf::platform {

SharedLibrary::SharedLibrary(const std::string& file) {
  // Symbols bound now, so that a broken installation shows here and not at some later call;
  // kept local, so that the library's names never interpose on those of the program.
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    error_ = why != nullptr ? why : "can't open " + file;
  }
}

void* SharedLibrary::Address(const char* symbol) {
  if (handle_ == nullptr)
    return nullptr;
  dlerror();
  void* address = dlsym(handle_, symbol);
  if (address == nullptr) {
    const char* why = dlerror();
    error_ = why != nullptr ? why : std::string("no symbol ") + symbol;
  }
  return address;
}

void SharedLibrary::LogMissing(const char* what, const std::string& error) {
  MW_LOG(MW_LOG_WARNING, "no %s library: %s", what, error.c_str());
}

std::string SharedLibrary::ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof path - 1)
    return std::string();
  const std::string program(path, static_cast<size_t>(length));
  const size_t slash = program.rfind('/');
  return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

}  // namespace marrowleaf::platform
