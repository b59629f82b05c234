// The device services the home screen hands work to: the download service, the store and the
// usage-statistics store. Their helper programs are scripts in the device root that record how
// they were started.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <json/reader.h>

#include <chrono>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "EventLoop.h"
#include "TaskManager.h"
#include "platform/sdk/device.h"
#include "platform/utils/BookStoreVersionProxy.h"
#include "platform/utils/DynamicLoadServiceWrapper.h"
#include "platform/utils/UsageStatisticsManager.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::utilities {
namespace {

using test::JournalReader;
using test::TempDeviceRoot;

// Writes its arguments, NUL-separated, to /tmp/args-<name>, then waits for /tmp/release-<name>.
constexpr const char* kRecorder =
    "#!/bin/sh\n"
    "name=$(basename \"$0\")\n"
    "printf '%s\\0' \"$@\" > \"$MARROWLEAF_ROOT/tmp/args-$name.part\"\n"
    "mv \"$MARROWLEAF_ROOT/tmp/args-$name.part\" \"$MARROWLEAF_ROOT/tmp/args-$name\"\n"
    "while [ ! -e \"$MARROWLEAF_ROOT/tmp/release-$name\" ]; do sleep 0.02; done\n";

std::vector<std::string> SplitAtNul(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  return parts;
}

Json::Value ParseJson(const std::string& text) {
  Json::Value value;
  Json::CharReaderBuilder builder;
  std::istringstream in(text);
  std::string error;
  Json::parseFromStream(builder, in, &value, &error);
  return value;
}

class ServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::EventLoop::Get().Reset();
    root_.MakeFolder("/tmp");
  }
  void TearDown() override {
    for (const char* name : {"acsm_fulfiller.app", "loan_return.app", "bookstore.app",
                             "cloud_book_downloader.app", "menca_downloader.app"}) {
      Release(name);
    }
    for (int i = 0; i < 250 && platform::TaskManager::Get().Table().Count() > 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    platform::EventLoop::Get().Reset();
  }
  void InstallRecorder(const std::string& name) {
    const std::string path = "/ebrmain/bin/" + name;
    root_.Write(path, kRecorder);
    chmod(root_.Host(path).c_str(), 0755);
  }
  // The arguments the helper was started with, once it has written them.
  std::vector<std::string> ArgumentsOf(const std::string& name) {
    const std::string file = "/tmp/args-" + name;
    for (int i = 0; i < 250 && !root_.Exists(file); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return root_.Exists(file) ? SplitAtNul(root_.Read(file)) : std::vector<std::string>{"none"};
  }
  void Release(const std::string& name) { root_.Write("/tmp/release-" + name, ""); }
  static bool StatusClears(const std::string& path) {
    for (int i = 0; i < 250; ++i) {
      if (DynamicLoadServiceWrapper::GetAcsmFileStatus(path) == -1)
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  std::vector<Json::Value> Journal(const std::string& event) const {
    return JournalReader(root_.HostRoot()).Events(event);
  }

  TempDeviceRoot root_;
};

TEST_F(ServicesTest, QueuedLicencesShowTheirStatusUntilTheFulfillerEnds) {
  InstallRecorder("acsm_fulfiller.app");
  const std::string first = "/mnt/ext1/Digital Editions/A \"quoted\" $(rm -rf x).acsm";
  const std::string second = std::string("/mnt/ext1/\xff\xfe odd.lcpl");
  EXPECT_EQ(0, DynamicLoadServiceWrapper::AddAcsmToFulfillmentQueue(first, -1, ""));
  EXPECT_EQ(0, DynamicLoadServiceWrapper::AddAcsmToFulfillmentQueue(second, -1, "token"));
  EXPECT_EQ(0, DynamicLoadServiceWrapper::AddAcsmToFulfillmentQueue(first, -1, ""));
  EXPECT_EQ(0, DynamicLoadServiceWrapper::GetAcsmFileStatus(first));
  ASSERT_EQ(0, DynamicLoadServiceWrapper::RunAcsmFulfill());
  // Each file once, in queue order, exactly as given.
  EXPECT_EQ((std::vector<std::string>{first, second, "--data=token"}),
            ArgumentsOf("acsm_fulfiller.app"));
  EXPECT_EQ(0, DynamicLoadServiceWrapper::GetAcsmFileStatus(second)) << "kept while it runs";
  // A second run doesn't hand over the files already being fulfilled.
  EXPECT_EQ(0, DynamicLoadServiceWrapper::RunAcsmFulfill());
  EXPECT_EQ(1, platform::TaskManager::Get().Table().Count());
  Release("acsm_fulfiller.app");
  EXPECT_TRUE(StatusClears(first));
  EXPECT_TRUE(StatusClears(second));
  ASSERT_FALSE(Journal("dynamic-load").empty());
  EXPECT_EQ("fulfilled", Journal("dynamic-load").back()["call"].asString());
}

TEST_F(ServicesTest, AFulfillerThatCantStartClearsTheQueueAndBadInputIsRefused) {
  const std::string licence = "/mnt/ext1/book.acsm";
  ASSERT_EQ(0, DynamicLoadServiceWrapper::AddAcsmToFulfillmentQueue(licence, -1, ""));
  EXPECT_EQ(-1, DynamicLoadServiceWrapper::RunAcsmFulfill());
  EXPECT_EQ(-1, DynamicLoadServiceWrapper::GetAcsmFileStatus(licence));
  EXPECT_EQ(-1, DynamicLoadServiceWrapper::AddAcsmToFulfillmentQueue("", -1, ""));
  EXPECT_EQ(-1, DynamicLoadServiceWrapper::AddAcsmToFulfillmentQueue(
                    std::string(DynamicLoadServiceWrapper::kMaxArgumentBytes + 1, 'a'), -1, ""));
  EXPECT_EQ(-1, DynamicLoadServiceWrapper::MWCloudDownloadAndOpenBook(0));
  EXPECT_EQ(-1, DynamicLoadServiceWrapper::RunLoanTokenReturn("/mnt/ext1/a.fb2", ""));
  EXPECT_EQ(-1, DynamicLoadServiceWrapper::RunMencaDownloader("/mnt/ext1/missing-helper.file"));
  // Every call is on record, refused or not.
  EXPECT_EQ(7u, Journal("dynamic-load").size());
}

TEST_F(ServicesTest, DownloadsAndLoanReturnsStartTheirHelpersWithTheBookAndNothingElse) {
  struct Case {
    const char* helper;
    std::function<int()> call;
    std::vector<std::string> arguments;
  };
  const std::vector<Case> cases = {
      {"cloud_book_downloader.app", [] { return DynamicLoadServiceWrapper::MWCloudDownloadAndOpenBook(42); },
       {"--open", "42"}},
      {"menca_downloader.app",
       [] { return DynamicLoadServiceWrapper::RunMencaDownloader("/mnt/ext1/a b;c.file"); },
       {"/mnt/ext1/a b;c.file"}},
      {"loan_return.app",
       [] { return DynamicLoadServiceWrapper::RunLoanTokenReturn("/mnt/ext1/l.epub", "loan-7"); },
       {"/mnt/ext1/l.epub", "loan-7"}},
  };
  for (const Case& c : cases) {
    InstallRecorder(c.helper);
    EXPECT_EQ(0, c.call()) << c.helper;
    EXPECT_EQ(c.arguments, ArgumentsOf(c.helper)) << c.helper;
  }
  // Helpers work behind the home screen: none takes the screen.
  EXPECT_EQ(0, platform::TaskManager::Get().Screen().Holders());
}

TEST_F(ServicesTest, StoreCallsOpenTheStoreOnTheirPage) {
  InstallRecorder("bookstore.app");
  EXPECT_EQ(2, BookStoreVersionProxy::storeVersion(false));
  root_.Write("/.sim/device.cfg", "store_version=3\n");
  ReloadDeviceProfile();
  EXPECT_EQ(3, BookStoreVersionProxy::storeVersion(true));
  EXPECT_TRUE(BookStoreVersionProxy::isStoreApplication("/ebrmain/bin/bookstore.app"));
  EXPECT_FALSE(BookStoreVersionProxy::isStoreApplication("/ebrmain/bin/browser.app"));
  EXPECT_EQ(-1, BookStoreVersionProxy::openStoreRecomendationBook("weekly", ""));
  EXPECT_EQ(-1, BookStoreVersionProxy::openStoreBookCardForBuy(""));
  ASSERT_EQ(0, BookStoreVersionProxy::openStoreRecomendationBook("weekly picks", "8800123"));
  EXPECT_EQ((std::vector<std::string>{"-recommendation", "weekly picks", "8800123"}),
            ArgumentsOf("bookstore.app"));
  ASSERT_EQ(1u, Journal("task").size());
  EXPECT_EQ("/ebrmain/bin/bookstore.app", Journal("task")[0]["path"].asString());
  EXPECT_EQ(3u, Journal("store").size()) << "refused calls are on record too";
  ReloadDeviceProfile();
}

TEST_F(ServicesTest, UsageEventsAreKeptNewestLastUpToTheCapAndADamagedFileStartsAnew) {
  const std::string path = UsageStatisticsManager::kEventsPath;
  root_.Write(path, "[{\"event\": \"cut off");
  auto manager = createUsageStatisticsManager();
  EXPECT_EQ(0, manager->recordEvent("empik-2", "product_open", "desktop",
                                    {{"product_id", "EG-1"}, {"user_id", "a@b.c"}}));
  Json::Value events = ParseJson(root_.Read(path));
  ASSERT_EQ(1u, events.size());
  EXPECT_EQ("EG-1", events[0]["parameters"]["product_id"].asString());
  EXPECT_EQ("product_open", Journal("usage").at(0)["name"].asString());
  EXPECT_EQ(-1, manager->recordEvent("", "product_open", "desktop", {}));
  EXPECT_EQ(-1, manager->recordEvent("empik-2", "product_open", "desktop",
                                     {{"product_id", std::string(2000, 'x')}}));
  // A full file: the next event pushes the oldest out.
  Json::Value full(Json::arrayValue);
  for (size_t i = 0; i < UsageStatisticsManager::kMaxEvents; ++i) {
    Json::Value event;
    event["parameters"]["n"] = std::to_string(i);
    full.append(event);
  }
  root_.Write(path, full.toStyledString());
  manager->recordEvent("empik-2", "product_finish", "desktop",
                       {{"n", std::to_string(UsageStatisticsManager::kMaxEvents)}});
  events = ParseJson(root_.Read(path));
  ASSERT_EQ(UsageStatisticsManager::kMaxEvents, events.size());
  EXPECT_EQ("1", events[0]["parameters"]["n"].asString()) << "the oldest went first";
  EXPECT_EQ(std::to_string(UsageStatisticsManager::kMaxEvents),
            events[static_cast<Json::ArrayIndex>(UsageStatisticsManager::kMaxEvents - 1)]["parameters"]["n"].asString());
}

}  // namespace
}  // namespace marrowleaf::utilities
