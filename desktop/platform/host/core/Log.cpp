// Logging: one line per call on standard error, filtered by level.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/sdk/log.h"

namespace {

int LevelFromEnvironment() {
  const char* value = std::getenv("MARROWLEAF_LOG_LEVEL");
  if (value == nullptr || *value == '\0') return MW_LOG_INFO;
  char* end = nullptr;
  long level = std::strtol(value, &end, 10);
  if (*end != '\0' || level < 0 || level > 9) return MW_LOG_INFO;
  return static_cast<int>(level);
}

int& LevelSlot() {
  static int level = LevelFromEnvironment();
  return level;
}

const char* BaseName(const char* file) {
  const char* slash = file ? std::strrchr(file, '/') : nullptr;
  return slash ? slash + 1 : (file ? file : "");
}

const char* LevelName(int level) {
  switch (level) {
    case MW_LOG_ERROR: return "E";
    case MW_LOG_WARNING: return "W";
    case MW_LOG_INFO: return "I";
    case MW_LOG_VERBOSE: return "V";
    default: return "D";
  }
}

// Never destroyed: threads that outlive main may still log.
std::mutex& OutputMutex() {
  static auto* mutex = new std::mutex();
  return *mutex;
}

}  // namespace

int mw_log_level() { return LevelSlot(); }
void mw_set_log_level(int level) { LevelSlot() = level; }

void mw_vprint_log2(const char* module, int level, const char* file, int line, const char* function,
                    const char* format, va_list args) {
  if (level > LevelSlot()) return;
  char message[2048];
  std::vsnprintf(message, sizeof message, format ? format : "", args);
  size_t length = std::strlen(message);
  while (length > 0 && message[length - 1] == '\n') message[--length] = '\0';
  std::lock_guard<std::mutex> lock(OutputMutex());
  std::fprintf(stderr, "[%s]%s%s%s %s:%d %s: %s\n", LevelName(level), module ? " [" : "",
               module ? module : "", module ? "]" : "", BaseName(file), line,
               function ? function : "", message);
}

void mw_print_log2(int level, const char* file, int line, const char* function, const char* format,
                   ...) {
  va_list args;
  va_start(args, format);
  mw_vprint_log2(nullptr, level, file, line, function, format, args);
  va_end(args);
}

void mw_print_log2_with_module(const char* module, int level, const char* file, int line,
                               const char* function, const char* format, ...) {
  va_list args;
  va_start(args, format);
  mw_vprint_log2(module, level, file, line, function, format, args);
  va_end(args);
}

void mw_log_guard(const char* module, const char* file, int line, const char* function,
                  const char* expression, const char* value, const char* format, ...) {
  if (MW_LOG_WARNING > LevelSlot()) return;
  char message[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format ? format : "", args);
  va_end(args);
  mw_print_log2_with_module(module, MW_LOG_WARNING, file, line, function,
                            "Condition: \"%s\", return(%s)]%s", expression, value ? value : "",
                            message);
}
