// Drawing speed of the home screen's typical work on the default 6" 1072x1448 profile: a full
// redraw of twelve tiles with covers and text, one tile's redraw with its partial update, and
// loading twelve cover thumbnails from PNG files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"
#include "platform/utils/CoverLoader.h"
#include "platform/utils/SmartBitmap.h"

namespace {

constexpr int kColumns = 3;
constexpr int kRows = 4;
constexpr int kCoverWidth = 300;
constexpr int kCoverHeight = 400;

// A device root in a temporary folder with the default screen, made once for all benchmarks.
class BenchDevice {
 public:
  static BenchDevice& Get() {
    static BenchDevice device;
    return device;
  }
  const std::vector<SmartBitmap>& Covers() const { return covers_; }
  const std::vector<std::string>& CoverPaths() const { return cover_paths_; }

 private:
  BenchDevice() {
    char pattern[] = "/tmp/graphics-bench-XXXXXX";
    root_ = mkdtemp(pattern);
    setenv("MARROWLEAF_ROOT", root_.c_str(), 1);
    ReloadDeviceRoot();
    std::filesystem::create_directories(root_ + "/.sim");
    WriteFileAtomically("/.sim/device.cfg",
                        "screen_width=1072\nscreen_height=1448\ndpi=300\npanel_height=58\n");
    ReloadDeviceProfile();
    pk_buildpath("/mnt/ext1/system/cache/desktop/x");
    for (int i = 0; i < kColumns * kRows; ++i) {
      covers_.push_back(MakeCover(i));
      cover_paths_.push_back("/mnt/ext1/system/cache/desktop/cover" + std::to_string(i) + ".png");
      covers_.back().SavePNG(cover_paths_.back());
    }
  }
  ~BenchDevice() { std::filesystem::remove_all(root_); }

  // A cover-like picture: smooth shading with fine texture, so PNG compression is realistic.
  static SmartBitmap MakeCover(int seed) {
    SmartBitmap cover = SmartBitmap::Create(kCoverWidth, kCoverHeight);
    uint32_t noise = 2463534242u + static_cast<uint32_t>(seed);
    for (int y = 0; y < kCoverHeight; ++y) {
      for (int x = 0; x < kCoverWidth; ++x) {
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        const uint32_t shade = static_cast<uint32_t>((x + y + seed * 20) % 256) / 2 + (noise & 15);
        cover.MutableData()[y * kCoverWidth + x] = 0xFF000000u | shade * 0x010101u;
      }
    }
    return cover;
  }

  std::string root_;
  std::vector<SmartBitmap> covers_;
  std::vector<std::string> cover_paths_;
};

MWRect TileRect(int index) {
  const int width = 1072 / kColumns;
  const int height = (1448 - 58) / kRows;
  return MWRect{(index % kColumns) * width, (index / kColumns) * height, width, height};
}

// One book tile as the home screen draws it: background, cover, title, author, progress, frame.
void DrawTile(int index, const SmartBitmap& cover) {
  const MWRect tile = TileRect(index);
  MWGraphics graphics(tile);
  graphics.FillRect(MWRect{0, 0, tile.w, tile.h}, MW_COLOR_WHITE);
  const MWRect cover_area{10, 10, tile.w - 20, tile.h - 110};
  graphics.DrawBitmap(cover_area.x + (cover_area.w - cover.Width()) / 2, cover_area.y, cover,
                      cover_area);
  MWFont title;
  title.size = 8;
  title.bold = true;
  graphics.SetFont(title);
  graphics.DrawText(
      MWRect{10, tile.h - 98, tile.w - 20, 50},
      "The Remarkable Adventures of a Very Long Book Title, Volume " + std::to_string(index + 1),
      MW_TEXT_WRAP | MW_TEXT_ELLIPSIS);
  MWFont author;
  author.size = 7;
  graphics.SetFont(author);
  graphics.DrawText(MWRect{10, tile.h - 46, tile.w - 20, 24}, "Firstname Lastname",
                    MW_TEXT_ELLIPSIS);
  graphics.FillRect(MWRect{10, tile.h - 18, (tile.w - 20) * (index + 1) / 12, 6}, MW_COLOR_BLACK);
  graphics.DrawFrame(MWRect{0, 0, tile.w, tile.h}, -1, MW_COLOR_DARK_GREY);
}

void BM_FullRedrawOfTwelveTiles(benchmark::State& state) {
  const auto& covers = BenchDevice::Get().Covers();
  MWGraphics::SetPartialFlushesPerFullUpdate(0);
  for (auto _ : state) {
    for (int i = 0; i < kColumns * kRows; ++i) DrawTile(i, covers[static_cast<size_t>(i)]);
    MWGraphics::MarkDirty(MWRect{0, 0, 1072, 1448 - 58}, MW_UPDATE_PARTIAL);
    MWGraphics::FlushUpdates();
  }
}
BENCHMARK(BM_FullRedrawOfTwelveTiles)->Unit(benchmark::kMillisecond);

void BM_PartialUpdateOfOneTile(benchmark::State& state) {
  const auto& covers = BenchDevice::Get().Covers();
  MWGraphics::SetPartialFlushesPerFullUpdate(0);
  for (auto _ : state) {
    DrawTile(4, covers[4]);
    MWGraphics::MarkDirty(TileRect(4), MW_UPDATE_PARTIAL);
    MWGraphics::FlushUpdates();
  }
}
BENCHMARK(BM_PartialUpdateOfOneTile)->Unit(benchmark::kMillisecond);

void BM_LoadTwelvePngThumbnails(benchmark::State& state) {
  const auto& paths = BenchDevice::Get().CoverPaths();
  for (auto _ : state) {
    for (const std::string& path : paths)
      benchmark::DoNotOptimize(SmartBitmap::LoadPNGToFormat(path, SMART_BITMAP_GREY));
  }
}
BENCHMARK(BM_LoadTwelvePngThumbnails)->Unit(benchmark::kMillisecond);

void BM_ShrinkLargeCoverToThumbnail(benchmark::State& state) {
  const SmartBitmap large = SmartBitmap::Create(1200, 1600, 0x808080);
  for (auto _ : state)
    benchmark::DoNotOptimize(CoverLoader::stretchBitmapOpenCv(large, kCoverWidth, kCoverHeight, 1));
}
BENCHMARK(BM_ShrinkLargeCoverToThumbnail)->Unit(benchmark::kMillisecond);

}  // namespace
