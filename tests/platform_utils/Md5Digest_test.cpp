// MD5 as the integrity records and update images expect it: the published test vectors, and
// lengths on each side of a block's and of the padding's boundaries (where a home-made digest
// would go wrong first), from memory and from a file read in blocks.
#include "platform/utils/Md5Digest.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/TempDeviceRoot.h"

namespace marrowleaf::utilities {
namespace {

TEST(Md5Digest, MatchesTheReferenceDigestsAtEveryBlockBoundary) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
      {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
      {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(57, 'a'), "652b906d60af96844ebd21b674f35e93"},
      {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
      {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
      {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
      {std::string(119, 'a'), "8a7bd0732ed6a28ce75f6dabc90e1613"},
      {std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"},
      {std::string(128, 'a'), "e510683b3f5ffe4093d021808bc6ff70"},
      {std::string(1000, 'a'), "cabe45dcc9ae5b66ba86600cca6b8ba8"},
  };
  test::TempDeviceRoot root;
  for (const auto& [text, digest] : cases) {
    EXPECT_EQ(Md5Digest::HexOf(text), digest) << text.size() << " bytes";
    root.Write("/mnt/ext1/digest.bin", text);
    EXPECT_EQ(Md5Digest::HexOfFile("/mnt/ext1/digest.bin"), digest) << text.size() << " bytes";
  }
  // Several of the file reader's blocks, ending inside one.
  std::string large;
  for (int i = 0; i < 200000; ++i) large.push_back(static_cast<char>(i % 251));
  root.Write("/mnt/ext1/large.bin", large);
  EXPECT_EQ(Md5Digest::HexOfFile("/mnt/ext1/large.bin"), "415d6e662118c229c6ad3f950c24702a");
  EXPECT_EQ(Md5Digest::HexOf(large), "415d6e662118c229c6ad3f950c24702a");
}

}  // namespace
}  // namespace marrowleaf::utilities
