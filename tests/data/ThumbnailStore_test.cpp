#include "data/ThumbnailStore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "platform/sdk/files.h"
#include "platform/utils/CacheController.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

using utilities::CacheController;

constexpr int kNames = 12;
constexpr int kSide = 48;

std::string Name(int n) {
  return "1/crash/" + std::to_string(n) + "_48x48.png";
}

std::string DevicePathOf(const std::string& name) {
  return std::string(ThumbnailStore::kFolder) + "/" + name;
}

// A thumbnail whose pixels all follow from its version: any complete file is recognised as one
// version whole, and a mix of two is not.
SmartBitmap Versioned(int version) {
  SmartBitmap bitmap = SmartBitmap::Create(kSide, kSide, 0);
  uint32_t* pixels = bitmap.MutableData();
  for (int i = 0; i < kSide * kSide; ++i) {
    const uint32_t grey = static_cast<uint32_t>((version * 37 + i * 11) & 0xFF);
    pixels[i] = 0xFF000000u | grey * 0x010101u;
  }
  return bitmap;
}

// True when the thumbnail reads back as one complete version: its first pixel gives the version's
// offset and every other pixel must follow from it.
bool Complete(const std::string& device_path) {
  const SmartBitmap bitmap = SmartBitmap::LoadPNGToFormat(device_path, SMART_BITMAP_GREY);
  if (bitmap.Width() != kSide || bitmap.Height() != kSide)
    return false;
  const uint32_t offset = bitmap.Data()[0] & 0xFF;
  for (int i = 0; i < kSide * kSide; ++i) {
    if (bitmap.Data()[i] != (0xFF000000u | ((offset + i * 11) & 0xFF) * 0x010101u))
      return false;
  }
  return true;
}

// The writer of the crash test: batches of new versions of random thumbnails, each registered as
// the cover cache registers them, committed one after another until the process is killed. It
// writes one byte to `first_commit_fd` once its first batch is committed.
[[noreturn]] void WriteUntilKilled(unsigned seed, int first_commit_fd) {
  std::mt19937 random(seed);
  ThumbnailStore store;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (int version = static_cast<int>(seed % 97);; ++version) {
    for (int k = std::uniform_int_distribution<int>(1, 8)(random); k > 0; --k) {
      const std::string name = Name(std::uniform_int_distribution<int>(0, kNames - 1)(random));
      CacheController::Instance().Push(name, ThumbnailStore::kCache, false);
      pk_buildpath(DevicePathOf(name).c_str());
      store.Write(DevicePathOf(name), Versioned(version));
    }
    store.Commit();
    if (first_commit_fd >= 0) {
      const char byte = 'c';
      if (write(first_commit_fd, &byte, 1) != 1)
        _exit(1);
      close(first_commit_fd);
      first_commit_fd = -1;
    }
    if (std::chrono::steady_clock::now() > deadline)
      _exit(0);
  }
}

struct Listing {
  std::set<std::string> thumbnails;
  int temporaries = 0;
};

Listing ListFolder(const test::TempDeviceRoot& root) {
  Listing listing;
  const std::filesystem::path folder = root.Host(ThumbnailStore::kFolder);
  std::error_code error;
  for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file())
      continue;
    const std::string name = it->path().lexically_relative(folder).generic_string();
    if (name.find(".part-") != std::string::npos)
      ++listing.temporaries;
    else
      listing.thumbnails.insert(name);
  }
  return listing;
}

std::set<std::string> IndexNames(const test::TempDeviceRoot& root) {
  std::set<std::string> names;
  if (!root.Exists("/mnt/ext1/system/cache/desktop.index"))
    return names;
  std::istringstream lines(root.Read("/mnt/ext1/system/cache/desktop.index"));
  std::string line;
  std::getline(lines, line);
  std::getline(lines, line);
  while (std::getline(lines, line)) names.insert(line.substr(line.find(' ') + 1));
  return names;
}

// The writer is killed at random moments, again and again on the same folder, and each time the
// next start finds: every thumbnail the index names complete, no thumbnail that is not complete,
// and, once the start has tidied up, every thumbnail named by the index and no temporary file.
// A kill cannot tear a file's content the way a power cut can; what it checks is the order of
// the steps (contents before renames, renames before the index, the index before deletions) and
// the tidying at start, which a power cut needs just the same.
// The moments follow the writer's own pace (it runs far slower under an emulator): most kills land
// within two batches after its first commit, every fourth before it.
TEST(ThumbnailStoreCrash, AWriterKilledAtAnyMomentLeavesCompleteThumbnailsAndAnIndexThatNamesThem) {
  using std::chrono::microseconds;
  using std::chrono::steady_clock;
  test::TempDeviceRoot root;
  std::mt19937 random(20240613);
  int rounds_with_leftovers = 0;
  microseconds first_commit(0);
  for (int round = 0; round < 25; ++round) {
    CacheController::Instance().Reset();
    // A small cache, so that saves also drop thumbnails.
    CacheController::Instance().SetCacheMaxSize(ThumbnailStore::kCache, 8);
    int committed[2];
    ASSERT_EQ(0, pipe(committed));
    const steady_clock::time_point start = steady_clock::now();
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      close(committed[0]);
      WriteUntilKilled(static_cast<unsigned>(round + 1), committed[1]);
    }
    close(committed[1]);
    microseconds wait = first_commit;
    if (round % 4 != 1) {
      char byte = 0;
      ASSERT_EQ(1, read(committed[0], &byte, 1)) << "round " << round;
      first_commit = std::chrono::duration_cast<microseconds>(steady_clock::now() - start);
      wait = 2 * first_commit;
    }
    close(committed[0]);
    std::this_thread::sleep_for(
        microseconds(std::uniform_int_distribution<long long>(0, wait.count())(random)));
    kill(writer, SIGKILL);
    int status = 0;
    ASSERT_EQ(writer, waitpid(writer, &status, 0));

    // The next start, before it tidies up.
    CacheController::Instance().Reset();
    const std::set<std::string> indexed = IndexNames(root);
    Listing before = ListFolder(root);
    for (const std::string& name : indexed) {
      EXPECT_TRUE(before.thumbnails.count(name)) << "round " << round << ": " << name;
    }
    for (const std::string& name : before.thumbnails) {
      EXPECT_TRUE(Complete(DevicePathOf(name))) << "round " << round << ": " << name;
    }
    if (before.temporaries > 0 || before.thumbnails.size() > indexed.size())
      ++rounds_with_leftovers;

    ThumbnailStore().Reconcile();
    const Listing after = ListFolder(root);
    EXPECT_EQ(0, after.temporaries) << "round " << round;
    EXPECT_EQ(after.thumbnails, IndexNames(root)) << "round " << round;
  }
  // Some kills landed inside a batch: the tidying had something to do.
  EXPECT_GT(rounds_with_leftovers, 0);
}

TEST(ThumbnailStore, AThumbnailAppearsWithItsCommitAndTheIndexNamesOnlyFilesThatExist) {
  test::TempDeviceRoot root;
  CacheController::Instance().Reset();
  ThumbnailStore store;
  CacheController::Instance().Push(Name(1), ThumbnailStore::kCache, false);
  CacheController::Instance().Push(Name(2), ThumbnailStore::kCache, false);  // never made
  pk_buildpath(DevicePathOf(Name(1)).c_str());
  ASSERT_TRUE(store.Write(DevicePathOf(Name(1)), Versioned(5)));
  EXPECT_EQ(1u, store.Pending());
  EXPECT_FALSE(root.Exists(DevicePathOf(Name(1))));
  ASSERT_EQ(0, store.Commit());
  EXPECT_EQ(0u, store.Pending());
  EXPECT_TRUE(Complete(DevicePathOf(Name(1))));
  EXPECT_EQ(std::set<std::string>{Name(1)}, IndexNames(root));
  // The written file is a plain PNG: one byte a pixel of grey, as other programs expect.
  const std::string png = root.Read(DevicePathOf(Name(1)));
  EXPECT_EQ(0, png.compare(0, 8, "\x89PNG\r\n\x1a\n"));
  EXPECT_EQ(0, png[25]);  // colour type grey
}

}  // namespace
}  // namespace marrowleaf::desktop
