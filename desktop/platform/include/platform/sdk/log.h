// Logging of the device SDK.
//
// Every line carries a level (2 error, 3 warning, 4 and 5 information, 6 detail), the source place and
// an optional module name. Lines above the level chosen by the environment variable
// MARROWLEAF_LOG_LEVEL (default 4) are dropped; the text goes to standard error.
#pragma once

#include <cstdarg>

enum MWLogLevel {
  MW_LOG_ERROR = 2,
  MW_LOG_WARNING = 3,
  MW_LOG_INFO = 4,
  MW_LOG_VERBOSE = 5,
  MW_LOG_DETAIL = 6,
};

void mw_print_log2(int level, const char* file, int line, const char* function, const char* format,
                   ...) __attribute__((format(printf, 5, 6)));
void mw_print_log2_with_module(const char* module, int level, const char* file, int line,
                               const char* function, const char* format, ...)
    __attribute__((format(printf, 6, 7)));
void mw_vprint_log2(const char* module, int level, const char* file, int line, const char* function,
                    const char* format, va_list args);

// The level in force; tests may change it.
int mw_log_level();
void mw_set_log_level(int level);

// Writes the one line a guard clause leaves behind:
//   Condition: "<expression>", return(<value>)]<message>
void mw_log_guard(const char* module, const char* file, int line, const char* function,
                  const char* expression, const char* value, const char* format, ...)
    __attribute__((format(printf, 7, 8)));

#define MW_LOG(level, ...) mw_print_log2((level), __FILE__, __LINE__, __func__, __VA_ARGS__)
#define MW_LOGM(module, level, ...) \
  mw_print_log2_with_module((module), (level), __FILE__, __LINE__, __func__, __VA_ARGS__)

// Guard clauses: when the condition holds, log it at warning level and return. The message (a
// printf format, "" for none) is required:
//   MW_RETURN_IF(path == nullptr, -1, "no path");
#define MW_RETURN_IF(condition, value, ...)                                             \
  do {                                                                                  \
    if (condition) {                                                                    \
      mw_log_guard(nullptr, __FILE__, __LINE__, __func__, #condition, #value, __VA_ARGS__); \
      return value;                                                                     \
    }                                                                                   \
  } while (0)
#define MW_RETURN_VOID_IF(condition, ...)                                          \
  do {                                                                             \
    if (condition) {                                                               \
      mw_log_guard(nullptr, __FILE__, __LINE__, __func__, #condition, "", __VA_ARGS__); \
      return;                                                                      \
    }                                                                              \
  } while (0)
#define MW_RETURN_IF_M(module, condition, value, ...)                                    \
  do {                                                                                   \
    if (condition) {                                                                     \
      mw_log_guard((module), __FILE__, __LINE__, __func__, #condition, #value, __VA_ARGS__); \
      return value;                                                                      \
    }                                                                                    \
  } while (0)
