// Cover speed: a thumbnail made from an EPUB's embedded 1600x2400 JPEG cover, in process and by
// the libvips command-line tool on the same picture (process start included, as the tool would be
// used); a PDF's first page made into a 300x400 thumbnail; twelve cached thumbnails loaded by a
// freshly started cover cache.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "../tools/make-sample-device/BookFiles.h"
#include "data/CoverCacheManager.h"
#include "data/ThumbnailStore.h"
#include "platform/sdk/covers.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"
#include "platform/utils/BitmapUtils.h"
#include "platform/utils/CacheController.h"

extern char** environ;

namespace {

using marrowleaf::desktop::CoverCacheManager;
using marrowleaf::desktop::ThumbnailStore;
using marrowleaf::tools::BookFiles;

constexpr int kWidth = 300;
constexpr int kHeight = 400;
constexpr int kWarmBooks = 12;
const char kEpub[] = "/mnt/ext1/Books/large.epub";
const char kPdf[] = "/mnt/ext1/Books/page.pdf";

// A photograph-like picture: smooth gradients with fine detail, which JPEG encodes as real covers.
std::string LargeJpeg() {
  const int width = 1600;
  const int height = 2400;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t r = (x * 255 / width) ^ ((y / 3) & 0x1f);
      const uint32_t g = (y * 255 / height);
      const uint32_t b = ((x + y) / 7) & 0xff;
      pixels[static_cast<size_t>(y) * width + x] = (r << 16) | (g << 8) | b;
    }
  }
  return BookFiles::Jpeg(pixels.data(), width, height, 88);
}

class BenchDevice {
 public:
  static BenchDevice& Get() {
    static BenchDevice device;
    return device;
  }
  std::string Host(const std::string& device_path) const { return root_ + device_path; }

 private:
  BenchDevice() {
    char pattern[] = "/tmp/covers-bench-XXXXXX";
    root_ = mkdtemp(pattern);
    // On the device /tmp is a memory file system, so the start-up checkpoint costs no disk flush;
    // the device root's /tmp is put on one too. Thumbnails stay on the disk, as on the flash.
    char memory_pattern[] = "/dev/shm/covers-bench-tmp-XXXXXX";
    if (mkdtemp(memory_pattern) != nullptr) {
      memory_tmp_ = memory_pattern;
      std::filesystem::create_directory_symlink(memory_tmp_, root_ + "/tmp");
    }
    setenv("MARROWLEAF_ROOT", root_.c_str(), 1);
    ReloadDeviceRoot();
    Write("/.sim/device.cfg", "screen_width=1072\nscreen_height=1448\n");
    ReloadDeviceProfile();
    const std::string jpeg = LargeJpeg();
    Write("/tmp/cover.jpg", jpeg);
    Write(kEpub, BookFiles::Epub(3, "Large", "Author", jpeg));
    Write(kPdf, BookFiles::Pdf("A first page"));
    for (int i = 0; i < kWarmBooks; ++i)
      Write("/mnt/ext1/Books/warm" + std::to_string(i) + ".epub",
            BookFiles::Epub(2, "W", "A", jpeg));
  }
  ~BenchDevice() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    if (!memory_tmp_.empty())
      std::filesystem::remove_all(memory_tmp_, ignored);
  }
  void Write(const std::string& device_path, const std::string& content) {
    pk_buildpath(device_path.c_str());
    WriteFileAtomically(device_path, content);
  }

  std::string root_;
  std::string memory_tmp_;
};

void BM_EpubJpegCoverToThumbnail(benchmark::State& state) {
  BenchDevice::Get();
  const std::string thumb = "/mnt/ext1/system/cache/desktop/1/Books/large.epub_300x400.png";
  for (auto _ : state) {
    state.PauseTiming();
    pk_unlink(thumb.c_str());
    state.ResumeTiming();
    SmartBitmap cover =
        CoverCacheManager::LoadCachedBookCoverOrMakeCache(kEpub, "", 0, kWidth, kHeight);
    // The thumbnail is on disk, durably, once its batch is committed.
    ThumbnailStore::Instance().Commit();
    if (cover.Width() != kWidth || pk_access(thumb.c_str(), 0) != 0)
      state.SkipWithError("no thumbnail");
    benchmark::DoNotOptimize(cover);
  }
}
BENCHMARK(BM_EpubJpegCoverToThumbnail)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The part of the above that finds and decodes the picture and scales it, without the thumbnail's
// PNG file.
void BM_EpubJpegCoverDecodeAndScale(benchmark::State& state) {
  BenchDevice::Get();
  for (auto _ : state) {
    SetLoadImageFlags(LOAD_IMAGE_REDUCED_SCALE);
    SmartBitmap cover = CoverCacheManager::ScaleBitmap(GetBookCoverEx(kEpub, kWidth, kHeight, 0, 0),
                                                       kWidth, kHeight);
    if (cover.Width() != kWidth)
      state.SkipWithError("no cover");
    benchmark::DoNotOptimize(cover);
  }
}
BENCHMARK(BM_EpubJpegCoverDecodeAndScale)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

// The same picture by the command-line tool, which must also start as a process.
void BM_VipsthumbnailSameJpeg(benchmark::State& state) {
  const std::string input = BenchDevice::Get().Host("/tmp/cover.jpg");
  const std::string output = BenchDevice::Get().Host("/tmp/vips-thumb.png");
  std::vector<std::string> arguments = {"vipsthumbnail", input, "--size", "300x400!", "-o", output};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("vipsthumbnail is not installed or failed");
      break;
    }
  }
}
BENCHMARK(BM_VipsthumbnailSameJpeg)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_PdfFirstPageToThumbnail(benchmark::State& state) {
  BenchDevice::Get();
  const char thumb[] = "/mnt/ext1/system/cache/desktop/1/Books/page.pdf_300x400.png";
  for (auto _ : state) {
    if (RunAdobeScanner(kPdf, thumb, kWidth, kHeight, 0) != 0)
      state.SkipWithError("no page");
  }
}
BENCHMARK(BM_PdfFirstPageToThumbnail)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// A new run of the program: the cover cache starts with its thumbnails on disk and the first
// screen asks for twelve covers at once.
void BM_WarmStartTwelveCachedThumbnails(benchmark::State& state) {
  BenchDevice::Get();
  {
    CoverCacheManager first;
    for (int i = 0; i < kWarmBooks; ++i)
      first.GetCover("/mnt/ext1/Books/warm" + std::to_string(i) + ".epub", kWidth, kHeight, 0, "",
                     "", true);
    first.SaveCache();
  }
  for (auto _ : state) {
    state.PauseTiming();
    marrowleaf::utilities::CacheController::Instance().Reset();
    auto manager = std::make_unique<CoverCacheManager>();
    state.ResumeTiming();
    int loaded = 0;
    for (int i = 0; i < kWarmBooks; ++i) {
      loaded += manager->GetCover("/mnt/ext1/Books/warm" + std::to_string(i) + ".epub", kWidth,
                                  kHeight, 0, "", "", true)
                        .IsEmpty()
                    ? 0
                    : 1;
    }
    if (loaded != kWarmBooks)
      state.SkipWithError("a thumbnail was missing");
    state.PauseTiming();
    manager.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WarmStartTwelveCachedThumbnails)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

// The parts of the warm start, measured on the same twelve thumbnails (made by the warm start
// above, which stores them adjusted for the panel): decoding them, and the load path of thumbnails
// written before covers were stored adjusted, which decodes and then adjusts; and the twelve loads
// shared by two threads, as they would be if the worker decoded half of them while the first frame
// is drawn.
std::string WarmThumbnail(int i) {
  return "/mnt/ext1/system/cache/desktop/1/Books/warm" + std::to_string(i) + ".epub_300x400.png";
}

void BM_WarmThumbnailsDecodedOnly(benchmark::State& state) {
  BenchDevice::Get();
  for (auto _ : state) {
    for (int i = 0; i < kWarmBooks; ++i) {
      SmartBitmap bitmap = SmartBitmap::LoadPNGToFormat(WarmThumbnail(i), SMART_BITMAP_GREY);
      if (bitmap.IsEmpty())
        state.SkipWithError("run the warm start first");
      benchmark::DoNotOptimize(bitmap);
    }
  }
}
BENCHMARK(BM_WarmThumbnailsDecodedOnly)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

std::vector<SmartBitmap> TwelveCovers();

void BM_UnadjustedThumbnailsDecodedAndAdjusted(benchmark::State& state) {
  BenchDevice::Get();
  const std::vector<SmartBitmap> covers = TwelveCovers();
  auto path = [](int i) {
    return "/mnt/ext1/system/cache/desktop/1/old/" + std::to_string(i) + ".png";
  };
  pk_buildpath(path(0).c_str());
  for (int i = 0; i < kWarmBooks; ++i) covers[i].SavePNG(path(i));
  for (auto _ : state) {
    for (int i = 0; i < kWarmBooks; ++i) {
      SmartBitmap bitmap = SmartBitmap::LoadPNGToFormat(path(i), SMART_BITMAP_GREY);
      adjustBitmapDefault(bitmap);
      benchmark::DoNotOptimize(bitmap);
    }
  }
}
BENCHMARK(BM_UnadjustedThumbnailsDecodedAndAdjusted)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->UseRealTime();

void BM_WarmThumbnailsOnTwoThreads(benchmark::State& state) {
  BenchDevice::Get();
  auto load = [](int first) {
    for (int i = first; i < kWarmBooks; i += 2) {
      SmartBitmap bitmap = SmartBitmap::LoadPNGToFormat(WarmThumbnail(i), SMART_BITMAP_GREY);
      adjustBitmapDefault(bitmap);
      benchmark::DoNotOptimize(bitmap);
    }
  };
  for (auto _ : state) {
    std::thread worker(load, 1);
    load(0);
    worker.join();
  }
}
BENCHMARK(BM_WarmThumbnailsOnTwoThreads)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->UseRealTime();

// Twelve new thumbnails of a screen, from the scaled cover to durable files: one at a time, each
// replaced atomically on its own (two flushes each, as thumbnails were written before batches),
// and as one batch of the thumbnail store, whose commit also writes the cache index.
std::vector<SmartBitmap> TwelveCovers() {
  std::vector<SmartBitmap> covers;
  for (int i = 0; i < kWarmBooks; ++i) {
    SetLoadImageFlags(LOAD_IMAGE_REDUCED_SCALE);
    covers.push_back(CoverCacheManager::ScaleBitmap(
        GetBookCoverEx(("/mnt/ext1/Books/warm" + std::to_string(i) + ".epub").c_str(), kWidth,
                       kHeight, 0, 0),
        kWidth, kHeight));
  }
  return covers;
}

std::string NewThumbnailPath(int i) {
  return "/mnt/ext1/system/cache/desktop/1/new/" + std::to_string(i) + "_300x400.png";
}

void BM_TwelveNewThumbnailsOneAtATime(benchmark::State& state) {
  BenchDevice::Get();
  const std::vector<SmartBitmap> covers = TwelveCovers();
  pk_buildpath(NewThumbnailPath(0).c_str());
  for (auto _ : state) {
    for (int i = 0; i < kWarmBooks; ++i) {
      if (!covers[i].SavePNG(NewThumbnailPath(i)))
        state.SkipWithError("not written");
    }
  }
}
BENCHMARK(BM_TwelveNewThumbnailsOneAtATime)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

void BM_TwelveNewThumbnailsInOneBatch(benchmark::State& state) {
  BenchDevice::Get();
  const std::vector<SmartBitmap> covers = TwelveCovers();
  pk_buildpath(NewThumbnailPath(0).c_str());
  ThumbnailStore& store = ThumbnailStore::Instance();
  for (auto _ : state) {
    for (int i = 0; i < kWarmBooks; ++i) {
      if (!store.Write(NewThumbnailPath(i), covers[i]))
        state.SkipWithError("not written");
    }
    store.Commit();
  }
}
BENCHMARK(BM_TwelveNewThumbnailsInOneBatch)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

}  // namespace
