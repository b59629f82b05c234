#include "data/CoverCacheManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "../../tools/make-sample-device/BookFiles.h"
#include "EventLoop.h"
#include "data/CoverKey.h"
#include "data/ThumbnailNames.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/files.h"
#include "platform/utils/BitmapUtils.h"
#include "platform/utils/CacheController.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

using platform::EventLoop;
using tools::BookFiles;
using utilities::CacheController;

constexpr int kRed = 0xD02020;
constexpr int kBlue = 0x2040D0;
const char kThumbs[] = "/mnt/ext1/system/cache/desktop/";

std::string TwoBandJpeg(int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    std::fill_n(pixels.begin() + static_cast<long>(y) * width, width,
                y < height / 2 ? kRed : kBlue);
  return BookFiles::Jpeg(pixels.data(), width, height, 92);
}

bool Near(int color, int expected) {
  for (int shift : {16, 8, 0}) {
    if (std::abs(((color >> shift) & 0xff) - ((expected >> shift) & 0xff)) > 40)
      return false;
  }
  return true;
}

// The manager's wake-ups are counted and answered as the controller does: results are taken.
int wakeups = 0;
CoverCacheManager* answering = nullptr;
int CountingHandler(int type, int par1, int) {
  if (type == EVT_USERDEFINED && par1 == 46122) {
    ++wakeups;
    if (answering != nullptr)
      answering->ProcessResults();
  }
  return 0;
}

class CoverCacheManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.Write("/.sim/device.cfg", "color=1\ncard_serial=1a2b\n");
    ReloadDeviceProfile();
    CacheController::Instance().Reset();
    EventLoop::Get().Reset();
    EventLoop::Get().SetHandler(&CountingHandler);
    wakeups = 0;
    answering = nullptr;
  }
  void TearDown() override {
    answering = nullptr;
    EventLoop::Get().Reset();
    EventLoop::Get().SetHandler(nullptr);
    ReloadDeviceProfile();
  }

  // Runs the event loop's turns until the cover of the request is in memory (or 10 s pass).
  SmartBitmap WaitForCover(CoverCacheManager& manager, const std::string& path, int width,
                           int height, const std::string& hash = "", const std::string& id = "") {
    answering = &manager;
    for (int i = 0; i < 2000; ++i) {
      EventLoop::Get().RunPending();
      SmartBitmap cover = manager.GetCover(path, width, height, 0, hash, id, false);
      if (!cover.IsEmpty() || (manager.IsWorkerIdle() && EventLoop::Get().IsIdle()))
        return cover;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return SmartBitmap();
  }

  void WaitUntilIdle(CoverCacheManager& manager) {
    for (int i = 0; i < 2000 && !manager.IsWorkerIdle(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EventLoop::Get().RunPending();
  }

  test::TempDeviceRoot root_;
};

TEST(ThumbnailNames, NameTheStorageAndTheBookOrItsHash) {
  test::TempDeviceRoot root;
  root.Write("/.sim/device.cfg", "card_serial=1a2b\n");
  EXPECT_EQ("1/Books/a.epub_300x400.png",
            ThumbnailNames::Make("/mnt/ext1/Books/a.epub", "", 300, 400));
  EXPECT_EQ("1/0100ab_300x400.png", ThumbnailNames::Make("/mnt/ext1/Books/a.epub",
                                                         std::string("\x01\x00\xab", 3), 300, 400));
  // No card inserted: serial 0.
  EXPECT_EQ("0/Books/b.fb2_10x20.png", ThumbnailNames::Make("/mnt/ext2/Books/b.fb2", "", 10, 20));
  root.MakeFolder("/mnt/ext2");
  EXPECT_EQ("6699/Books/b.fb2_10x20.png",
            ThumbnailNames::Make("/mnt/ext2/Books/b.fb2", "", 10, 20));
  root.MakeFolder("/mnt/ext3");
  EXPECT_EQ("USB_noserial/c.pdf_1x2.png", ThumbnailNames::Make("/mnt/ext3/c.pdf", "", 1, 2));
  root.Write("/.sim/device.cfg", "usb_serial=AB12\n");
  EXPECT_EQ("USB_AB12/c.pdf_1x2.png", ThumbnailNames::Make("/mnt/ext3/c.pdf", "", 1, 2));
  EXPECT_EQ("", ThumbnailNames::Make("/media/other/d.epub", "", 1, 2));
  EXPECT_EQ("", ThumbnailNames::Make("/mnt", "", 1, 2));
}

TEST(CoverKey, JoinsPathHashIdAndSize) {
  EXPECT_EQ("/a.epub_h_r_300x400", CoverKey::Make("/a.epub", "h", "r", 300, 400));
  EXPECT_NE(CoverKey::Make("/a", "", "", 300, 400), CoverKey::Make("/a", "", "", 200, 300));
}

TEST(CoverCacheManagerScale, StretchesOnlyWhenASizeIsGivenAndDiffers) {
  const SmartBitmap bitmap = SmartBitmap::Create(10, 20);
  EXPECT_TRUE(CoverCacheManager::ScaleBitmap(SmartBitmap(), 5, 5).IsEmpty());
  EXPECT_TRUE(CoverCacheManager::ScaleBitmap(bitmap, -1, 5).SharesPixelsWith(bitmap));
  EXPECT_TRUE(CoverCacheManager::ScaleBitmap(bitmap, 10, 20).SharesPixelsWith(bitmap));
  const SmartBitmap scaled = CoverCacheManager::ScaleBitmap(bitmap, 5, 7);
  EXPECT_EQ(5, scaled.Width());
  EXPECT_EQ(7, scaled.Height());
}

TEST_F(CoverCacheManagerTest, AQueuedCoverComesBackThroughTheEventLoopAndLeavesAThumbnail) {
  root_.Write("/mnt/ext1/Books/a.epub", BookFiles::Epub(3, "A", "B", TwoBandJpeg(400, 600)));
  CoverCacheManager manager;
  EXPECT_TRUE(manager.GetCover("/mnt/ext1/Books/a.epub", 90, 120, 0, "", "", false).IsEmpty());
  const SmartBitmap cover = WaitForCover(manager, "/mnt/ext1/Books/a.epub", 90, 120);
  ASSERT_FALSE(cover.IsEmpty());
  EXPECT_EQ(90, cover.Width());
  EXPECT_EQ(120, cover.Height());
  EXPECT_TRUE(Near(cover.PixelColor(45, 20), kRed));
  EXPECT_TRUE(Near(cover.PixelColor(45, 100), kBlue));
  EXPECT_EQ(1, wakeups);
  WaitUntilIdle(manager);
  EXPECT_TRUE(root_.Exists(std::string(kThumbs) + "1/Books/a.epub_90x120.png"));
  // The checkpoint named the book while it was read and was cleared afterwards.
  EXPECT_TRUE(root_.Exists("/tmp/desktop.checkpoint"));
  EXPECT_EQ("", root_.Read("/tmp/desktop.checkpoint"));
  EXPECT_TRUE(Near(manager.GetAverageColor("/mnt/ext1/Books/a.epub", 90, 120, 0, "", "", 4), kRed));
  EXPECT_TRUE(
      Near(manager.GetAverageColor("/mnt/ext1/Books/a.epub", 90, 120, 0, "", "", 8), kBlue));
  EXPECT_EQ(-1, manager.GetAverageColor("/mnt/ext1/Books/other.epub", 90, 120, 0, "", "", 4));
}

// Covers asked for while the worker is busy are made newest first: the page on screen fills in
// before pages already scrolled past.
TEST_F(CoverCacheManagerTest, TheNewestRequestIsServedFirst) {
  const std::string jpeg = TwoBandJpeg(1200, 1800);
  constexpr int kBooks = 6;
  auto path = [](int i) { return "/mnt/ext1/Books/q" + std::to_string(i) + ".epub"; };
  for (int i = 0; i < kBooks; ++i) root_.Write(path(i), BookFiles::Epub(3, "T", "A", jpeg));
  CoverCacheManager manager;
  answering = &manager;
  for (int i = 0; i < kBooks; ++i) manager.GetCover(path(i), 90, 120, 0, "", "", false);
  std::vector<int> arrived;
  for (int turn = 0; turn < 4000 && static_cast<int>(arrived.size()) < kBooks; ++turn) {
    EventLoop::Get().RunPending();
    for (int i = 0; i < kBooks; ++i) {
      if (std::find(arrived.begin(), arrived.end(), i) == arrived.end() &&
          !manager.GetCover(path(i), 90, 120, 0, "", "", false).IsEmpty())
        arrived.push_back(i);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(kBooks, static_cast<int>(arrived.size()));
  // The worker may take a request or two before the last one comes (a loaded machine can stop the
  // test between two requests), and covers that arrive between two looks are seen together; but the
  // last request, once it comes, goes before the older ones still waiting: in arrival order it is
  // never last (it always is when requests are served in the order they came).
  EXPECT_NE(arrived.back(), kBooks - 1);
}

TEST_F(CoverCacheManagerTest, RequestingTheSameKeyTwiceQueuesOneTask) {
  root_.Write("/mnt/ext1/Books/a.fb2", "<FictionBook/>");
  CoverCacheManager manager;
  EXPECT_TRUE(manager.GetCover("/mnt/ext1/Books/a.fb2", 50, 60, 0, "", "", false).IsEmpty());
  EXPECT_TRUE(manager.GetCover("/mnt/ext1/Books/a.fb2", 50, 60, 0, "", "", false).IsEmpty());
  WaitUntilIdle(manager);
  EXPECT_EQ(1, wakeups);
  // The book gave nothing: its next request finds the key already queued and queues nothing.
  manager.ProcessResults();
  EXPECT_TRUE(manager.GetCover("/mnt/ext1/Books/a.fb2", 50, 60, 0, "", "", false).IsEmpty());
  WaitUntilIdle(manager);
  EXPECT_EQ(1, wakeups);
}

TEST_F(CoverCacheManagerTest, AnEpubWithoutPictureGetsItsFirstPageSetInType) {
  root_.Write("/mnt/ext1/Books/plain.epub", BookFiles::Epub(2, "Plain", "Writer", ""));
  CoverCacheManager manager;
  const SmartBitmap cover = manager.GetCover("/mnt/ext1/Books/plain.epub", 60, 80, 0, "", "", true);
  ASSERT_FALSE(cover.IsEmpty());
  EXPECT_EQ(60, cover.Width());
  // The thumbnail is written by the batch the worker commits behind the cover.
  WaitUntilIdle(manager);
  EXPECT_TRUE(root_.Exists(std::string(kThumbs) + "1/Books/plain.epub_60x80.png"));
}

TEST_F(CoverCacheManagerTest, AnExistingThumbnailIsLoadedInsteadOfTheBookAndEachSizeHasItsOwn) {
  root_.Write("/mnt/ext1/Books/a.epub", BookFiles::Epub(2, "A", "B", TwoBandJpeg(200, 300)));
  root_.Write(std::string(kThumbs) + "1/Books/a.epub_40x50.png",
              SmartBitmap::Create(40, 50, 0x00FF00).EncodePNG());
  CacheController::Instance().OptimizeAndSave("desktop");  // an index: the thumbnails are kept
  CoverCacheManager manager;
  const SmartBitmap cached = manager.GetCover("/mnt/ext1/Books/a.epub", 40, 50, 0, "", "", true);
  EXPECT_TRUE(Near(cached.PixelColor(20, 25), 0x00FF00));
  const SmartBitmap other = manager.GetCover("/mnt/ext1/Books/a.epub", 20, 30, 0, "", "", true);
  EXPECT_TRUE(Near(other.PixelColor(10, 5), kRed));
  WaitUntilIdle(manager);
  EXPECT_TRUE(root_.Exists(std::string(kThumbs) + "1/Books/a.epub_20x30.png"));
  manager.SaveCache();
  const std::string index = root_.Read("/mnt/ext1/system/cache/desktop.index");
  EXPECT_NE(std::string::npos, index.find("1/Books/a.epub_40x50.png"));
  EXPECT_NE(std::string::npos, index.find("1/Books/a.epub_20x30.png"));
}

// On a grey panel a cover is adjusted for it once, when it is made: the next run loads the
// thumbnail and shows exactly what the first run showed, mid-tones not lifted a second time.
TEST_F(CoverCacheManagerTest, OnAGreyPanelTheNextRunShowsACoverAsTheRunThatMadeIt) {
  root_.Write("/.sim/device.cfg", "card_serial=1a2b\n");
  ReloadDeviceProfile();
  std::vector<uint32_t> ramp(200 * 300);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = 0x3C3C3C + (i / 200 / 3) * 0x010101;
  root_.Write("/mnt/ext1/Books/a.epub",
              BookFiles::Epub(2, "A", "B", BookFiles::Jpeg(ramp.data(), 200, 300, 92)));
  SmartBitmap made;
  {
    CoverCacheManager first;
    made = first.GetCover("/mnt/ext1/Books/a.epub", 60, 90, 0, "", "", true);
    first.SaveCache();
  }
  CacheController::Instance().Reset();
  CoverCacheManager next;
  const SmartBitmap loaded = next.GetCover("/mnt/ext1/Books/a.epub", 60, 90, 0, "", "", true);
  ASSERT_EQ(made.Width(), 60);
  ASSERT_EQ(loaded.Width(), 60);
  EXPECT_EQ(made.PixelColor(30, 89) & 0xFF, 0xFF);  // stretched to the panel's white
  EXPECT_EQ(0, std::memcmp(made.Data(), loaded.Data(), 60 * 90 * 4));
}

TEST_F(CoverCacheManagerTest, ThumbnailsWithoutAnIndexAreRemovedAtStartAndNothingElse) {
  const std::string index = "/mnt/ext1/system/cache/desktop.index";
  for (const char* damage : {"", "not an index\x01"}) {
    if (*damage != '\0')
      root_.Write(index, damage);
    CacheController::Instance().Reset();
    root_.Write(std::string(kThumbs) + "1/old_1x1.png", "stale");
    root_.Write(std::string(kThumbs) + "cache.dat", "version=2\n");
    root_.Write(std::string(kThumbs) + "1/notes.txt", "not a thumbnail");
    { CoverCacheManager manager; }
    EXPECT_FALSE(root_.Exists(std::string(kThumbs) + "1/old_1x1.png")) << damage;
    EXPECT_EQ(root_.Read(std::string(kThumbs) + "cache.dat"), "version=2\n") << damage;
    EXPECT_TRUE(root_.Exists(std::string(kThumbs) + "1/notes.txt")) << damage;
  }
}

TEST_F(CoverCacheManagerTest, PdfsAreRenderedAndStoreAndLibraryCoversAreFound) {
  root_.Write("/mnt/ext1/Books/p.pdf", BookFiles::Pdf("Doc"));
  root_.Write("/mnt/ext1/store/cover.jpg", TwoBandJpeg(100, 150));
  root_.Write("/mnt/ext1/system/explorer-3/covers/7265732d31.jpg", TwoBandJpeg(100, 150));
  root_.Write("/mnt/ext1/news/note.jpg", TwoBandJpeg(100, 150));
  root_.Write("/mnt/ext1/Books/Loud.PDF", BookFiles::Pdf("Doc"));
  root_.Write("/mnt/ext1/Books/plain.fb2", "<FictionBook/>");
  CoverCacheManager manager;
  // Pages are rendered, whatever the case of the extension, and their thumbnail written at once.
  for (const std::string name : {"p.pdf", "Loud.PDF"}) {
    EXPECT_FALSE(manager.GetCover("/mnt/ext1/Books/" + name, 60, 80, 0, "", "", true).IsEmpty());
    EXPECT_TRUE(root_.Exists(std::string(kThumbs) + "1/Books/" + name + "_60x80.png")) << name;
  }
  // Store pictures come as JPEG or PNG whatever their names say; neither is first mistaken for the
  // other (a failed decode costs time and a warning for every cover).
  root_.Write("/mnt/ext1/store/drawn.jpg",
              root_.Read(std::string(kThumbs) + "1/Books/p.pdf_60x80.png"));
  testing::internal::CaptureStderr();
  const SmartBitmap store = manager.GetStoreCover("/mnt/ext1/store/cover.jpg", "s1", 50, 70, false);
  const SmartBitmap drawn = manager.GetStoreCover("/mnt/ext1/store/drawn.jpg", "s2", 30, 40, false);
  const std::string warnings = testing::internal::GetCapturedStderr();
  EXPECT_EQ(50, store.Width());
  EXPECT_EQ(30, drawn.Width());
  EXPECT_EQ(std::string::npos, warnings.find("not decoded")) << warnings;
  EXPECT_TRUE(
      Near(manager.GetStoreAverageColor("/mnt/ext1/store/cover.jpg", "s1", 50, 70, 8), kBlue));
  // A cloud book: no path, found in the library's store by its resource id.
  EXPECT_TRUE(manager.GetCover("", 30, 40, 0, "", "res-1", false).IsEmpty());
  const SmartBitmap cloud = WaitForCover(manager, "", 30, 40, "", "res-1");
  EXPECT_EQ(30, cloud.Width());
  // A book whose file has no picture falls back to the library's cover of its resource id.
  EXPECT_EQ(30, WaitForCover(manager, "/mnt/ext1/Books/plain.fb2", 30, 40, "", "res-1").Width());
  // A push notification shows the JPEG beside it.
  const SmartBitmap note = manager.GetCover("/mnt/ext1/news/note.pn", 30, 40, 0, "", "", true);
  EXPECT_TRUE(Near(note.PixelColor(15, 35), kBlue));
}

TEST_F(CoverCacheManagerTest, StoppingWhileBusyLeavesOnlyWholeThumbnails) {
  const std::string jpeg = TwoBandJpeg(800, 1200);
  for (int i = 0; i < 20; ++i)
    root_.Write("/mnt/ext1/Books/b" + std::to_string(i) + ".epub",
                BookFiles::Epub(3, "T", "A", jpeg));
  {
    CoverCacheManager manager;
    for (int i = 0; i < 20; ++i)
      manager.GetCover("/mnt/ext1/Books/b" + std::to_string(i) + ".epub", 120, 160, 0, "", "",
                       false);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    manager.StopWorker();
  }
  int whole = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(
           root_.Host("/mnt/ext1/system/cache/desktop"))) {
    if (!entry.is_regular_file())
      continue;
    const SmartBitmap thumb =
        SmartBitmap::LoadPNGToFormat(DevicePath(entry.path().string()), SMART_BITMAP_COLOR);
    EXPECT_EQ(120, thumb.Width()) << entry.path();
    ++whole;
  }
  EXPECT_LT(whole, 20);
}

}  // namespace
}  // namespace marrowleaf::desktop
