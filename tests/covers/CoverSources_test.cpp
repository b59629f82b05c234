#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "Base64.h"
#include "FailedBooks.h"
#include "covers/CoverPictures.h"
#include "platform/sdk/covers.h"
#include "platform/sdk/device.h"
#include "platform/utils/SerializationUtils.h"
#include "support/TempDeviceRoot.h"

extern char** environ;

namespace marrowleaf::test {
namespace {

using tools::BookFiles;

class CoverSources : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::FailedBooks::Get().Forget();
    // Colour profile, so the test pictures keep their colours.
    root_.Write("/.sim/device.cfg", "color=1\n");
    ReloadDeviceProfile();
  }
  void TearDown() override { ReloadDeviceProfile(); }

  SmartBitmap Cover(const std::string& path, const std::string& content, int drm = 0) {
    root_.Write(path, content);
    return GetBookCoverEx(path.c_str(), -1, -1, 1, drm);
  }

  TempDeviceRoot root_;
};

TEST_F(CoverSources, EveryBookKindGivesItsPictureTheRightWayUp) {
  const std::string jpeg = TwoBandJpeg(120, 180);
  const std::string png = TwoBandPng(120, 180);
  EXPECT_TRUE(HasTwoBands(Cover("/mnt/ext1/Books/a.epub", BookFiles::Epub(2, "A", "B", jpeg))));
  EXPECT_TRUE(
      HasTwoBands(Cover("/mnt/ext1/Books/b.EPUB", BookFiles::Epub(3, "A", "B", png, "image/png"))));
  EXPECT_TRUE(HasTwoBands(Cover("/mnt/ext1/Books/c.fb2",
                                BookFiles::Fb2("A", "B", png, platform::Base64::Encode(png)))));
  EXPECT_TRUE(HasTwoBands(Cover("/mnt/ext1/Books/d.azw3", BookFiles::Mobi("A", jpeg))));
  EXPECT_TRUE(HasTwoBands(Cover("/mnt/ext1/Books/e.cbz", BookFiles::Zip({{"p1.jpg", jpeg}}))));
  EXPECT_TRUE(HasTwoBands(Cover("/mnt/ext1/Books/f.jpg", jpeg)));
  const SmartBitmap full = Cover("/mnt/ext1/Books/g.png", png);
  EXPECT_EQ(120, full.Width());
  EXPECT_EQ(180, full.Height());
}

TEST_F(CoverSources, BooksWithoutPicturesEncryptedOnesAndUnknownKindsGiveNothing) {
  const std::string jpeg = TwoBandJpeg(60, 90);
  EXPECT_TRUE(Cover("/mnt/ext1/Books/a.epub", BookFiles::Epub(2, "A", "B", "")).IsEmpty());
  EXPECT_TRUE(Cover("/mnt/ext1/Books/b.epub", BookFiles::Epub(2, "A", "B", jpeg), 1).IsEmpty());
  EXPECT_TRUE(Cover("/mnt/ext1/Books/c.txt", "plain text").IsEmpty());
  EXPECT_TRUE(GetBookCoverEx("/mnt/ext1/Books/missing.epub", -1, -1, 1, 0).IsEmpty());
}

TEST_F(CoverSources, AFailedBookIsNotReadAgainUntilItChanges) {
  const std::string path = "/mnt/ext1/Books/broken.fb2";
  EXPECT_TRUE(Cover(path, "<FictionBook><description>").IsEmpty());
  EXPECT_TRUE(platform::FailedBooks::Get().HasFailed(root_.Host(path)));
  const std::string png = TwoBandPng(40, 60);
  // Same size, later change time: a new book as far as the memory is concerned.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(
      HasTwoBands(Cover(path, BookFiles::Fb2("A", "B", png, platform::Base64::Encode(png)))));
}

TEST_F(CoverSources, LargeJpegsAreDecodedAtAReducedScaleOnlyWhenAsked) {
  const std::string path = "/mnt/ext1/Books/big.epub";
  root_.Write(path, BookFiles::Epub(3, "A", "B", TwoBandJpeg(1600, 2400)));
  SetLoadImageFlags(0);
  EXPECT_EQ(1600, GetBookCoverEx(path.c_str(), 150, 200, 1, 0).Width());
  SetLoadImageFlags(LOAD_IMAGE_REDUCED_SCALE);
  const SmartBitmap reduced = GetBookCoverEx(path.c_str(), 150, 200, 1, 0);
  SetLoadImageFlags(0);
  EXPECT_EQ(200, reduced.Width());  // 1/8: still at least 150 x 200
  EXPECT_EQ(300, reduced.Height());
  EXPECT_TRUE(HasTwoBands(reduced));
}

TEST_F(CoverSources, APdfFirstPageIsRenderedToCoverTheSizeAsked) {
  root_.Write("/mnt/ext1/Books/p.pdf", BookFiles::Pdf("Title", 0.0, 0.0, 1.0));
  const SmartBitmap page = GetBookCoverEx("/mnt/ext1/Books/p.pdf", 300, 400, 1, 0);
  ASSERT_FALSE(page.IsEmpty());
  EXPECT_GE(page.Width(), 300);
  EXPECT_GE(page.Height(), 400);
  EXPECT_LE(page.Height(), 402);
  EXPECT_TRUE(Near(page.PixelColor(page.Width() / 2, page.Height() / 10), 0x0000FF));
  EXPECT_TRUE(Near(page.PixelColor(page.Width() / 2, page.Height() * 3 / 4), 0xFFFFFF));
  root_.Write("/mnt/ext1/Books/bad.pdf", "%PDF-1.4\nnothing else");
  EXPECT_TRUE(GetBookCoverEx("/mnt/ext1/Books/bad.pdf", 300, 400, 1, 0).IsEmpty());
}

// Runs a program with arguments; true when it exits with 0.
bool RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(CoverSources, ADjvuFirstPageIsRendered) {
  // A page of two colour bands as a portable pixmap, encoded by the DjVuLibre tools.
  const int width = 200;
  const int height = 300;
  std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  for (uint32_t pixel : TwoBandPixels(width, height)) {
    ppm += static_cast<char>(pixel >> 16);
    ppm += static_cast<char>(pixel >> 8);
    ppm += static_cast<char>(pixel);
  }
  root_.Write("/tmp/page.ppm", ppm);
  root_.MakeFolder("/mnt/ext1/Books");
  if (!RunProgram({"c44", root_.Host("/tmp/page.ppm"), root_.Host("/mnt/ext1/Books/d.djvu")}))
    GTEST_SKIP() << "the DjVuLibre tools are not installed";
  const SmartBitmap page = GetBookCoverEx("/mnt/ext1/Books/d.djvu", 100, 150, 1, 0);
  EXPECT_TRUE(HasTwoBands(page));
  EXPECT_GE(page.Width(), 100);
  root_.Write("/mnt/ext1/Books/bad.djvu", "AT&TFORM garbage");
  EXPECT_TRUE(GetBookCoverEx("/mnt/ext1/Books/bad.djvu", 100, 150, 1, 0).IsEmpty());
}

TEST_F(CoverSources, TheFirstPageOfAnEpubWithoutPicturesIsSetInType) {
  root_.Write("/mnt/ext1/Books/t.epub", BookFiles::Epub(3, "Plain Words", "Anne Author", ""));
  ASSERT_EQ(0, RunAdobeScanner("/mnt/ext1/Books/t.epub", "/mnt/ext1/thumbs/t.png", 150, 200, 0));
  const SmartBitmap thumb =
      SmartBitmap::LoadPNGToFormat("/mnt/ext1/thumbs/t.png", SMART_BITMAP_COLOR);
  ASSERT_EQ(150, thumb.Width());
  ASSERT_EQ(200, thumb.Height());
  // Type was set: some pixels are dark, while the corners keep the background.
  int dark = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 150; ++x) dark += (thumb.PixelColor(x, y) & 0xff) < 0x60 ? 1 : 0;
  }
  EXPECT_GT(dark, 100);
  EXPECT_GT(thumb.PixelColor(2, 2) & 0xff, 0xa0);
  EXPECT_NE(0, RunAdobeScanner("/mnt/ext1/Books/none.epub", "/mnt/ext1/thumbs/n.png", 150, 200, 0));
  EXPECT_FALSE(root_.Exists("/mnt/ext1/thumbs/n.png"));
}

TEST_F(CoverSources, TheCoverStoreFindsBooksByFastHashThenByResourceId) {
  const std::string hash("\x01\x00\xab", 3);
  const std::string store = kLibraryCoverStore;
  root_.Write(store + utilities::SerializationUtils::ToHex("res-7") + ".png", TwoBandPng(80, 120));
  SmartBitmap bitmap;
  EXPECT_TRUE(LoadCoverByHashOrResourceId(hash, 1, "res-7", 40, 60, 0, bitmap, false));
  EXPECT_EQ(40, bitmap.Width());
  EXPECT_TRUE(HasTwoBands(bitmap));
  root_.Write(store + "0100ab.jpg", TwoBandJpeg(30, 30));
  EXPECT_TRUE(LoadCoverByHashOrResourceId(hash, 1, "res-7", -1, -1, 0, bitmap, false));
  EXPECT_EQ(30, bitmap.Height());
  SmartBitmap none;
  EXPECT_FALSE(LoadCoverByHashOrResourceId("x", 1, "y", 40, 60, 0, none, false));
  EXPECT_TRUE(none.IsEmpty());
}

TEST_F(CoverSources, SerialNumbersComeFromTheProfileOnlyForInsertedStorages) {
  root_.Write("/.sim/device.cfg", "card_serial=1a2b\nusb_serial=XY-12\n");
  EXPECT_STREQ("", GetExternalCardSerialNumber());
  root_.MakeFolder("/mnt/ext2");
  root_.MakeFolder("/mnt/ext3");
  EXPECT_STREQ("1a2b", GetExternalCardSerialNumber());
  EXPECT_STREQ("XY-12", usbStorSerialNumber());
  root_.Write("/.sim/device.cfg", "usb_serial=../../etc\n");
  EXPECT_STREQ("", usbStorSerialNumber());
}

}  // namespace
}  // namespace marrowleaf::test
