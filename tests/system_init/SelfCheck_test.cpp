#include "system_init/SelfCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/sdk/clock.h"
#include "platform/sdk/config.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"
#include "system_init/Checkpoint.h"

namespace marrowleaf::test {
namespace {

constexpr const char* kCounter = "/tmp/bookshelf.self.check";

int Counter() {
  DeviceConfig* config = OpenConfig(kCounter, nullptr);
  if (config == nullptr)
    return -100;
  const int counter = ReadInt(config, "counter", -1);
  CloseConfigNoSave(config);
  return counter;
}

class SelfCheck : public ::testing::Test {
 protected:
  void SetUp() override { platform::InstallClock(clock_); }
  void TearDown() override { platform::InstallClock(nullptr); }

  std::shared_ptr<platform::ManualClock> clock_ = std::make_shared<platform::ManualClock>();
  TempDeviceRoot root_;
  JournalReader journal_{root_.HostRoot()};
};

TEST_F(SelfCheck, CountsAStartQuietlyUpToTen) {
  root_.Write(kCounter, "counter=9\n");
  desktop::RunSelfCheck();
  EXPECT_EQ(Counter(), 10);
  EXPECT_TRUE(journal_.Events("ipc").empty());
  EXPECT_EQ(clock_->NowMs(), 0);
}

TEST_F(SelfCheck, AsksForTheServicesAndTheSettingsAfterTenFailedStarts) {
  root_.Write(kCounter, "counter=10\n");
  desktop::RunSelfCheck();
  EXPECT_EQ(Counter(), 11);
  const auto ipc = journal_.Events("ipc");
  ASSERT_EQ(ipc.size(), 1u);
  EXPECT_EQ(ipc[0]["command"].asInt(), 1538);
  EXPECT_EQ(ipc[0]["argument"].asInt(), 0);
  const auto tasks = journal_.Events("task");
  ASSERT_EQ(tasks.size(), 1u);
  EXPECT_EQ(tasks[0]["path"].asString(), "/ebrmain/bin/settings.app");
  EXPECT_EQ(tasks[0]["args"][0].asString(), "-o");
  EXPECT_EQ(tasks[0]["args"][1].asString(), "head");
  EXPECT_EQ(tasks[0]["flags"].asInt(), 0x80);
  EXPECT_EQ(clock_->NowMs(), 5000);
}

TEST_F(SelfCheck, StartsCountingFromZeroAndResetsToZero) {
  desktop::RunSelfCheck();
  EXPECT_EQ(Counter(), 1);
  desktop::ResetSelfCheckCounter();
  EXPECT_EQ(Counter(), 0);
}

TEST(Checkpoint, ReplacesTheFileWholeAndAcceptsAnEmptyText) {
  TempDeviceRoot root;
  EXPECT_TRUE(desktop::WriteCheckpoint("cache.png:/mnt/ext1/system/cache/desktop/a.png"));
  EXPECT_TRUE(desktop::WriteCheckpoint(""));
  EXPECT_TRUE(root.Exists("/tmp/desktop.checkpoint"));
  EXPECT_EQ(root.Read("/tmp/desktop.checkpoint"), "");
  std::filesystem::remove_all(root.Host("/tmp"));
  EXPECT_FALSE(desktop::WriteCheckpoint("x"));
}

}  // namespace
}  // namespace marrowleaf::test
