#pragma once

#include <cstdint>
#include <string>

namespace marrowleaf::utilities {

// The device's download service: books fetched from the cloud, loan licences (acsm, lcpl files)
// fulfilled into books, partner downloads (".file" placeholders) and loan returns. Each operation
// hands the work to the service's helper program, which runs as a task of its own behind the home
// screen; the home screen shows each licence's progress on its tile.
//
// Every call is written to the simulator's journal as event "dynamic-load" with the call's name.
// Results are 0 when the work was handed over, -1 when it was refused (bad input, a helper that
// can't be started). Event-loop thread, except the status functions, which any thread may call.
class DynamicLoadServiceWrapper {
 public:
  // Longest path or loan id accepted: the helper's arguments are bounded.
  static constexpr size_t kMaxArgumentBytes = 4096;

  // The fulfilment progress of a licence file in percent, or -1 when it is not being fulfilled.
  static int GetAcsmFileStatus(const std::string& path);
  // Records the progress of a licence file (-1 removes it): the fulfilment queue reports through
  // it. Safe from any thread.
  static void SetAcsmFileStatus(const std::string& path, int percent);

  // Downloads a book that is only in the cloud and opens it once it is on the device.
  static int MWCloudDownloadAndOpenBook(int64_t book_id);
  // Queues a licence file for fulfilment (its status becomes 0 until its turn comes). A file
  // already queued is not queued twice. priority -1 is the normal place at the end; data is passed
  // to the helper with the file when not empty.
  static int AddAcsmToFulfillmentQueue(const std::string& path, int priority,
                                       const std::string& data);
  // Starts the fulfilment of every queued file that is not yet being fulfilled. Each file's
  // status is cleared when the helper ends.
  static int RunAcsmFulfill();
  // Downloads the partner book a ".file" placeholder stands for.
  static int RunMencaDownloader(const std::string& path);
  // Returns a borrowed book to its library.
  static int RunLoanTokenReturn(const std::string& path, const std::string& loan_id);
};

}  // namespace marrowleaf::utilities
