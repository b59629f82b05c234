#pragma once

#include <string>

namespace marrowleaf::platform {

// A host library opened when the simulator first needs it instead of being linked. Every linked
// library is mapped and relocated before main runs, and the window's and the PDF renderer's
// libraries with the dozens they pull in were most of that start-up time, though a headless run
// never uses them. A library stays open for the life of the process: its objects may keep threads
// and state that outlive any one caller.
class SharedLibrary {
 public:
  // Opens `file`: a shared object name searched the loader's way, or a path.
  explicit SharedLibrary(const std::string& file);
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr; }
  // Why the library or the last symbol could not be found.
  const std::string& Error() const { return error_; }

  // Sets *function to the library's `symbol`; false (and a null *function) when it is missing.
  template <typename Function>
  bool Find(const char* symbol, Function* function) {
    void* address = Address(symbol);
    *function = reinterpret_cast<Function>(address);
    return address != nullptr;
  }

  // The folder of the running program, where the modules built with it lie; empty when unknown.
  static std::string ProgramFolder();

  // A table of a library's functions, made on the first call for its type: `file` opened and the
  // table filled by find_all. Nullptr, logged once with `what` names the library, when the library
  // or one of the functions is missing.
  template <typename Table>
  static const Table* OpenTable(const char* file, const char* what,
                                bool (*find_all)(SharedLibrary&, Table&)) {
    static const Table* const opened = [&]() -> const Table* {
      static SharedLibrary library(file);
      static Table table;
      if (library.Loaded() && find_all(library, table))
        return &table;
      LogMissing(what, library.Error());
      return nullptr;
    }();
    return opened;
  }

 private:
  void* Address(const char* symbol);
  static void LogMissing(const char* what, const std::string& error);

  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace marrowleaf::platform
