#include "platform/utils/SerializationUtils.h"

#include <gtest/gtest.h>

namespace marrowleaf::utilities {
namespace {

TEST(SerializationUtils, HexRoundTripKeepsEveryByteValue) {
  std::string all;
  for (int value = 0; value < 256; ++value) all.push_back(static_cast<char>(value));
  const std::string text = SerializationUtils::ToHex(all);
  EXPECT_EQ(text.size(), 512u);
  EXPECT_EQ(text.substr(0, 6), "000102");
  EXPECT_EQ(text.substr(506), "fdfeff");
  EXPECT_EQ(SerializationUtils::FromHex(text), all);
}

TEST(SerializationUtils, MalformedHexGivesNoBytes) {
  std::string bytes = "left over";
  EXPECT_FALSE(SerializationUtils::FromHex("abc", &bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(SerializationUtils::FromHex("zz", &bytes));
  EXPECT_TRUE(SerializationUtils::FromHex("DEADbeef", &bytes));
  EXPECT_EQ(bytes, std::string("\xde\xad\xbe\xef"));
}

}  // namespace
}  // namespace marrowleaf::utilities
