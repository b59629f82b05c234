#include "system_init/StartupSwitches.h"

#include <gtest/gtest.h>

#include <vector>

namespace marrowleaf::test {
namespace {

using desktop::StartupSwitches;

StartupSwitches Parse(std::vector<const char*> arguments, int* directory_calls = nullptr) {
  arguments.insert(arguments.begin(), "bookshelf.app");
  return StartupSwitches::Parse(static_cast<int>(arguments.size()), arguments.data(), [&] {
    if (directory_calls)
      ++*directory_calls;
  });
}

TEST(StartupSwitches, ReadsEachLetterAndCreatesDirectoriesAtEveryIOrC) {
  int directory_calls = 0;
  const StartupSwitches switches = Parse({"-i", "-c", "-h", "-i"}, &directory_calls);
  EXPECT_TRUE(switches.boot_start());
  EXPECT_TRUE(switches.create_directories());
  EXPECT_TRUE(switches.drop_current_book());
  EXPECT_FALSE(switches.maintenance_run());
  EXPECT_FALSE(switches.profile_name());
  EXPECT_EQ(directory_calls, 3);
  EXPECT_TRUE(Parse({"-s"}).maintenance_run());
  EXPECT_TRUE(Parse({"-z"}).maintenance_run());
}

TEST(StartupSwitches, SkipsEverythingThatIsNotADashAndOneLetter) {
  int directory_calls = 0;
  const StartupSwitches switches = Parse({"-ix", "i", "--", "-1", "-", "-q", ""}, &directory_calls);
  EXPECT_FALSE(switches.boot_start());
  EXPECT_FALSE(switches.maintenance_run());
  EXPECT_FALSE(switches.profile_name());
  EXPECT_EQ(directory_calls, 0);
}

TEST(StartupSwitches, TakesTheArgumentAfterTheLastPAsTheProfile) {
  StartupSwitches switches = Parse({"-p", "first", "-p", "-s"});
  ASSERT_TRUE(switches.profile_name());
  EXPECT_EQ(*switches.profile_name(), "-s");
  EXPECT_FALSE(switches.maintenance_run()) << "the profile's name is no switch";

  switches = Parse({"-p", "kept", "-p"});
  ASSERT_TRUE(switches.profile_name());
  EXPECT_EQ(*switches.profile_name(), "kept") << "a -p without a name is ignored";
  EXPECT_FALSE(Parse({"-p"}).profile_name());
}

}  // namespace
}  // namespace marrowleaf::test
