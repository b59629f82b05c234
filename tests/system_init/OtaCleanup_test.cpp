#include "system_init/OtaCleanup.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <vector>

#include "UpdateFileBuilder.h"
#include "platform/sdk/device.h"
#include "support/TempDeviceRoot.h"
#include "platform/utils/Md5Digest.h"

namespace marrowleaf::test {
namespace {

using desktop::ClearFinishedOtaUpdate;
using desktop::ParseOtaFlag;

constexpr const char* kFlag = "/mnt/secure/ota_flag";
constexpr const char* kImage = "/mnt/ext1/system/ota/update.bin";

TEST(OtaFlag, ReadsTheImageUpToASpaceOrLineFeedAndTheDigestAfterIt) {
  auto flag = ParseOtaFlag("image=/mnt/ext1/u.bin md5=0123456789abcdef0123456789ABCDEF\nx=1");
  EXPECT_EQ(flag.image, "/mnt/ext1/u.bin");
  EXPECT_EQ(flag.md5, "0123456789abcdef0123456789ABCDEF");

  flag = ParseOtaFlag("md5=aaaa\nimage=/mnt/ext1/u.bin");
  EXPECT_EQ(flag.image, "/mnt/ext1/u.bin") << "the image runs to the end of the text";
  EXPECT_EQ(flag.md5, "") << "a digest before the image is not the image's";

  flag = ParseOtaFlag(std::string("image=/a.bin\n\0md5=ffff", 22));
  EXPECT_EQ(flag.md5, "") << "nothing after a NUL is text";
  EXPECT_EQ(ParseOtaFlag("md5=abc").image, "");
}

TEST(Md5Digest, GivesTheLowercaseDigestOfAFileOrNothing) {
  TempDeviceRoot root;
  root.Write("/mnt/ext1/abc.txt", "abc");
  EXPECT_EQ(utilities::Md5Digest::HexOfFile("/mnt/ext1/abc.txt"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(utilities::Md5Digest::HexOfFile("/mnt/ext1/missing"), "");
}

class OtaCleanup : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.Write("/.sim/device.cfg", "software_version=6.8.1234\n");
    ReloadDeviceProfile();
    WriteGzipFile(root_, kImage, UpdateFileBytes(image_version_, {}));
  }
  void TearDown() override { ReloadDeviceProfile(); }

  void WriteFlag(const std::string& md5_part) {
    root_.Write(kFlag, std::string("image=") + kImage + "\n" + md5_part);
  }
  std::string ImageDigest() const { return utilities::Md5Digest::HexOfFile(kImage); }

  std::string image_version_ = "6.8.1234";
  TempDeviceRoot root_;
};

// The flag goes in every case; the image only when the firmware it carries runs and its digest
// matches, in any case.
TEST_F(OtaCleanup, DeletesAnInstalledImageOnlyWhenItsDigestMatchesInAnyCase) {
  std::string upper = ImageDigest();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string differs = ImageDigest();
  differs[31] = differs[31] == '0' ? '1' : '0';
  struct Case {
    const char* what;
    const char* running;
    std::string md5_part;
    bool image_kept;
  };
  const std::vector<Case> cases = {
      {"digest in capitals", "6.8.1234", "md5=" + upper + "\n", false},
      {"digest differs", "6.8.1234", "md5=" + differs, true},
      {"no digest", "6.8.1234", "", true},
      {"firmware not yet installed", "6.7.0", "md5=" + ImageDigest(), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteGzipFile(root_, kImage, UpdateFileBytes(image_version_, {}));
    root_.Write("/.sim/device.cfg", std::string("software_version=") + c.running + "\n");
    ReloadDeviceProfile();
    WriteFlag(c.md5_part);
    ClearFinishedOtaUpdate();
    EXPECT_EQ(root_.Exists(kImage), c.image_kept);
    EXPECT_FALSE(root_.Exists(kFlag));
  }
}

TEST_F(OtaCleanup, DeletesOnlyRegularFilesInTheUpdateFolder) {
  // None of these is an update file: checked, each would be deleted as a damaged image.
  root_.Write("/mnt/ext1/books/novel.epub", "a book");
  root_.Write("/mnt/ext1/system/ota2/novel.epub", "a book beside the update folder");
  root_.Write("/mnt/ext1/system/ota/damaged.bin", "not an update");
  std::filesystem::create_symlink(root_.Host("/mnt/ext1/books/novel.epub"),
                                  root_.Host("/mnt/ext1/system/ota/link.bin"));
  std::filesystem::create_directory_symlink(root_.Host("/mnt/ext1/books"),
                                            root_.Host("/mnt/ext1/system/ota/books"));
  const std::string outside = root_.HostRoot() + "-outside.bin";
  std::ofstream(outside) << "a file of the PC";
  for (const std::string& image :
       {std::string("/mnt/ext1/books/novel.epub"), std::string("/mnt/ext1/system/ota/../../books/novel.epub"),
        std::string("/mnt/ext1/system/ota/link.bin"), std::string("/mnt/ext1/system/ota/books/novel.epub"),
        std::string("novel.epub"), "/../../../../../../../.." + outside, std::string("/mnt/ext1/system/ota"),
        std::string("/mnt/ext1/system/ota2/novel.epub")}) {
    root_.Write(kFlag, "image=" + image + " md5=0123456789abcdef0123456789abcdef\n");
    ClearFinishedOtaUpdate();
    EXPECT_TRUE(root_.Exists("/mnt/ext1/books/novel.epub")) << image;
    EXPECT_TRUE(root_.Exists("/mnt/ext1/system/ota2/novel.epub")) << image;
    EXPECT_TRUE(root_.Exists("/mnt/ext1/system/ota/link.bin")) << image;
    EXPECT_TRUE(std::filesystem::exists(outside)) << image;
    EXPECT_FALSE(root_.Exists(kFlag)) << image;
  }
  std::filesystem::remove(outside);
  root_.Write(kFlag, "image=/mnt/ext1/system/ota/damaged.bin\n");
  ClearFinishedOtaUpdate();
  EXPECT_FALSE(root_.Exists("/mnt/ext1/system/ota/damaged.bin")) << "a damaged image goes";
}

}  // namespace
}  // namespace marrowleaf::test
