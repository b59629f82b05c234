// The sample device's catalogue: the firmware files it ships pass the integrity check and give a
// full, visible home screen on every sample profile; a broken database is reported once.
#include <sys/stat.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/AppDataManager.h"
#include "data/json_manager/AppJsonManager.h"
#include "json_manager/CatalogueDevice.h"
#include "support/JournalReader.h"

#include "SampleApplications.h"

namespace marrowleaf::test {
namespace {

using desktop::AppDataManager;
using desktop::AppJsonManager;

struct SampleProfile {
  const char* name;
  const char* lines;
  std::set<std::string> expected_hidden;
};

const SampleProfile kProfiles[] = {
    {"6in-1072", "device_number=634\ntouch=1\naudio=1\nserial=ML6340000001\n", {}},
    {"6in-758",
     "device_number=628\ntouch=1\naudio=0\nserial=ML6280000001\n",
     {"MW_AudioBooks", "MW_Podcasts", "MW_TextToSpeech"}},
    {"7.8in-color", "device_number=743\ntouch=1\naudio=1\ncolor=1\nserial=ML7430000001\n", {}},
    {"6in-keys",
     "device_number=606\ntouch=0\naudio=0\nwifi=0\nserial=ML6060000001\n",
     {"MW_AudioBooks", "MW_Podcasts", "MW_TextToSpeech", "MW_Notes", "MW_Scribble"}},
};

bool IsProgram(const std::string& host_path) {
  struct stat info {};
  return stat(host_path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0111);
}

class SampleCatalogueTest : public ::testing::TestWithParam<SampleProfile> {
 protected:
  void SetUp() override {
    device_.Profile(GetParam().lines);
    std::string error;
    ASSERT_TRUE(tools::WriteSampleApplications(device_.Root().HostRoot(), &error)) << error;
  }
  std::vector<Json::Value> Dialogs() const {
    return JournalReader(device_.Root().HostRoot()).Events("dialog");
  }

  CatalogueDevice device_;
};

TEST_P(SampleCatalogueTest, ShipsFilesThatPassTheCheckAndAProgramForEveryApplication) {
  AppJsonManager catalogue;
  EXPECT_EQ(catalogue.CheckIntegrity(), 1);
  EXPECT_TRUE(Dialogs().empty());

  std::set<std::string> shown;
  for (const auto& app : catalogue.GetVisibleApplications()) {
    shown.insert(app->appId());
    EXPECT_TRUE(IsProgram(device_.Root().Host(app->path()))) << app->path();
    EXPECT_FALSE(app->title().empty());
    EXPECT_FALSE(app->icon().empty());
  }
  EXPECT_TRUE(shown.count("U_Reversi"));
  EXPECT_GE(shown.size(), 12u);
  for (const std::string& id : GetParam().expected_hidden) EXPECT_FALSE(shown.count(id)) << id;
  EXPECT_TRUE(IsProgram(device_.Root().Host("/mnt/ext1/applications/Sudoku.app")));
}

TEST_P(SampleCatalogueTest, FillsTheRowAndTheApplicationsScreenAtFirstStart) {
  AppDataManager manager;
  EXPECT_TRUE(manager.Reload());
  ASSERT_EQ(manager.GetApplicationsCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(manager.GetAppDataAt(i)->known()) << i;
  EXPECT_EQ(manager.GetAppDataAt(4)->appId(), "SYS_Apps");

  const std::vector<desktop::AppGroupData> groups = manager.GetGroupsForView();
  ASSERT_GE(groups.size(), 4u);
  EXPECT_EQ(groups.back().title_, "@Users");
  EXPECT_EQ(groups.back().apps_, std::vector<std::string>{"UR_Sudoku"});
}

TEST_P(SampleCatalogueTest, ReportsABrokenDatabaseOnceAcrossStarts) {
  device_.Root().Write(CatalogueDevice::kDatabase, "{\"applications\": {\"MW_Library\": ");
  for (int start = 0; start < 2; ++start) {
    AppJsonManager catalogue;
    EXPECT_EQ(catalogue.CheckIntegrity(), start == 0 ? 0 : 1) << start;
    EXPECT_TRUE(catalogue.GetVisibleApplications().empty());
  }
  const std::vector<Json::Value> dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["text"].asString(),
            "1 errors found:\n - Failed load application data json file.");
}

INSTANTIATE_TEST_SUITE_P(EveryProfile, SampleCatalogueTest, ::testing::ValuesIn(kProfiles),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
}  // namespace marrowleaf::test
