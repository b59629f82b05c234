// The user's shortcut row on real files: the default list chosen and copied, loaded, edited and
// saved; the applications screen's groups and the shortcut menus built from it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <json/reader.h>

#include "data/AppDataManager.h"
#include "json_manager/CatalogueDevice.h"
#include "platform/sdk/files.h"

namespace marrowleaf::test {
namespace {

using desktop::AppDataManager;

const char kUserList[] = "/mnt/ext1/system/config/desktop/apps.json";
const char kDefaults[] = "/ebrmain/config/desktop/apps/apps.json";

// A shortcut list as the manager writes it: one line, keys in the JSON library's order.
std::string List(const std::string& partner, const std::vector<std::string>& ids) {
  std::string text = "{\"applications\":[";
  for (size_t i = 0; i < ids.size(); ++i)
    text += (i ? ",{\"id\":\"" : "{\"id\":\"") + ids[i] + "\"}";
  return text + "],\"partner\":\"" + partner + "\",\"version\":1}\n";
}

class AppDataManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device_.Database(R"({
      "MW_Library": {"path": "/ebrmain/bin/explorer.app", "title": "Library", "icon": "lib"},
      "MW_Store": {"path": "/ebrmain/bin/store.app", "title": "Store", "icon": "store"},
      "MW_Notes": {"path": "/ebrmain/bin/notes.app", "title": "Notes", "icon": "notes"},
      "MW_Clock": {"path": "/ebrmain/bin/clock.app", "title": "Clock", "icon": "clock"},
      "MW_Gone": {"path": "/ebrmain/bin/gone.app", "title": "Gone"},
      "MW_Bundled": {"path": "/mnt/ext1/applications/Bundled.app", "title": "Bundled"}
    })");
    for (const char* program :
         {"/ebrmain/bin/explorer.app", "/ebrmain/bin/store.app", "/ebrmain/bin/notes.app",
          "/ebrmain/bin/clock.app", "/mnt/ext1/applications/Bundled.app"}) {
      device_.Program(program);
    }
    device_.Views(CatalogueDevice::View(
        R"({"U_Mine": {"path": "/mnt/ext1/applications/Mine.app", "title": "Mine"}})",
        R"([{"title": "Reading", "apps": ["MW_Store", "MW_Library"]},
                                            {"title": "Tools", "apps": ["MW_Notes", "MW_Clock", "U_Mine"]}])"));
    device_.Root().Write(kDefaults, List("default", {"MW_Library", "MW_Store", "SYS_Apps"}));
  }

  std::vector<std::string> Row(const AppDataManager& manager) const {
    std::vector<std::string> ids;
    for (int i = 0; i < manager.GetApplicationsCount(); ++i)
      ids.push_back(manager.GetAppDataAt(i)->appId());
    return ids;
  }
  std::vector<std::string> SavedRow() const {
    Json::Value root;
    std::istringstream in(device_.Root().Read(kUserList));
    std::string errors;
    if (!Json::parseFromStream(Json::CharReaderBuilder(), in, &root, &errors))
      return {"<unreadable>"};
    std::vector<std::string> ids;
    for (const Json::Value& entry : root["applications"]) ids.push_back(entry["id"].asString());
    return ids;
  }
  // A bundle the user copied to the storage.
  void Bundle(const std::string& name) const { device_.Program("/mnt/ext1/applications/" + name); }

  CatalogueDevice device_;
};

TEST_F(AppDataManagerTest, CopiesTheDefaultListAtFirstStartAndKeepsItsOwnAfterwards) {
  AppDataManager first;
  EXPECT_FALSE(first.LoadApplicationList()) << "a default list had to be copied";
  EXPECT_TRUE(first.LoadApplicationList());
  EXPECT_EQ(Row(first), (std::vector<std::string>{"MW_Library", "MW_Store", "SYS_Apps"}));
  EXPECT_EQ(device_.Root().Read(kUserList), List("", {"MW_Library", "MW_Store", "SYS_Apps"}))
      << "saved in one line for the current partner";

  first.MoveApplication(0, 1);
  AppDataManager second;
  EXPECT_TRUE(second.LoadApplicationList());
  EXPECT_EQ(Row(second), (std::vector<std::string>{"MW_Store", "MW_Library", "SYS_Apps"}));
}

TEST_F(AppDataManagerTest, DropsUnknownIdsAndFallsBackToTheDefaultForADamagedList) {
  device_.Root().Write(kUserList, List("", {"MW_Clock", "MW_Unknown", "MW_Gone", "MW_Notes"}));
  AppDataManager manager;
  EXPECT_TRUE(manager.Reload());
  EXPECT_EQ(Row(manager), (std::vector<std::string>{"MW_Clock", "MW_Notes"}));
  EXPECT_EQ(SavedRow(), (std::vector<std::string>{"MW_Clock", "MW_Notes"})) << "rewritten at load";

  const std::string view_before = device_.Root().Read(CatalogueDevice::kUserView);
  for (const std::string& damaged :
       {std::string("{\"applications\": [{\"id\": \"MW_Clo"), std::string("[]"),
        std::string("{\"applications\": {\"id\": \"MW_Clock\"}}"), std::string(5000, '{')}) {
    device_.Root().Write(kUserList, damaged);
    AppDataManager fresh;
    fresh.Reload();
    EXPECT_EQ(Row(fresh), (std::vector<std::string>{"MW_Library", "MW_Store", "SYS_Apps"}));
  }
  EXPECT_EQ(device_.Root().Read(CatalogueDevice::kUserView), view_before);
}

TEST_F(AppDataManagerTest, ADamagedApplicationDatabaseShowsWhatItCanAndLeavesTheUsersRowAlone) {
  const std::string row = List("", {"MW_Clock", "UR_Own", "MW_Notes"});
  device_.Root().Write(kUserList, row);
  Bundle("Own.app");
  const std::string database = device_.Root().Read(CatalogueDevice::kDatabase);
  for (const std::string& damaged : {std::string("{\"applications\": {\"MW_Clo"), std::string()}) {
    device_.Root().Write(CatalogueDevice::kDatabase, damaged);
    AppDataManager manager;
    EXPECT_TRUE(manager.Reload());
    EXPECT_EQ(Row(manager), std::vector<std::string>{"UR_Own"});
    manager.InsertApplication("UR_Own", 0, true);
    manager.RemoveApplication(0);
    manager.SetApplication(0, "MW_Clock");
    EXPECT_EQ(device_.Root().Read(kUserList), row) << "the user's row is untouched";
  }
  std::remove(device_.Root().Host(kUserList).c_str());
  {
    AppDataManager manager;
    manager.Reload();
    EXPECT_FALSE(device_.Root().Exists(kUserList)) << "no default list without the database";
  }
  device_.Root().Write(kUserList, row);
  device_.Root().Write(CatalogueDevice::kDatabase, database);
  AppDataManager repaired;
  EXPECT_TRUE(repaired.Reload());
  EXPECT_EQ(Row(repaired), (std::vector<std::string>{"MW_Clock", "UR_Own", "MW_Notes"}));
}

TEST_F(AppDataManagerTest, ReplacesAListWrittenForAnotherPartner) {
  device_.Root().Write(kUserList, List("ulvane", {"MW_Clock"}));
  AppDataManager manager;
  manager.Reload();
  EXPECT_EQ(Row(manager), (std::vector<std::string>{"MW_Library", "MW_Store", "SYS_Apps"}));

  device_.Profile("partner_name=marrowleaf\n");
  device_.Root().Write(kUserList, List("marrowshop", {"MW_Clock"}));
  AppDataManager same_firm;
  EXPECT_TRUE(same_firm.LoadApplicationList()) << "both names mean the default partner";
  EXPECT_EQ(Row(same_firm), std::vector<std::string>{"MW_Clock"});
}

TEST_F(AppDataManagerTest, TriesTheDefaultListsFromAllAddonsDownToNone) {
  AppDataManager manager;
  const std::vector<std::string> addons = {".notouch", ".has_audio"};
  const std::string base = kDefaults;
  EXPECT_EQ(manager.GetExistJson(addons), base);
  device_.Root().Write(base + ".has_audio", "{}");
  EXPECT_EQ(manager.GetExistJson(addons), base + ".has_audio");
  device_.Root().Write(base + ".notouch", "{}");
  EXPECT_EQ(manager.GetExistJson(addons), base + ".notouch");
  device_.Root().Write(base + ".notouch.has_audio", "{}");
  EXPECT_EQ(manager.GetExistJson(addons), base + ".notouch.has_audio");
  EXPECT_EQ(manager.GetExistJson({".has_audio", ".notouch"}), base + ".has_audio")
      << "the addons keep their order in a file name";
}

TEST_F(AppDataManagerTest, ChoosesTheDefaultListByTouchAudioAndPartner) {
  const std::string base = kDefaults;
  device_.Root().Write(base + ".notouch.has_audio", List("default", {"MW_Notes"}));
  device_.Root().Write(base + ".has_audio.ulvane", List("ulvane", {"MW_Clock"}));
  device_.Profile("touch=0\naudio=1\n");
  {
    AppDataManager manager;
    manager.Reload();
    EXPECT_EQ(Row(manager), std::vector<std::string>{"MW_Notes"});
  }
  device_.Profile("touch=1\naudio=1\ndevice_id=21\nconfig_flag_5=0\n");
  {
    AppDataManager manager;
    pk_unlink(kUserList);
    manager.Reload();
    EXPECT_EQ(Row(manager), (std::vector<std::string>{"MW_Library", "MW_Store", "SYS_Apps"}))
        << "model 21 counts its audio only with switch 5";
  }
  device_.Profile("touch=1\naudio=1\npartner=7\npartner_name=ulvane\n");
  AppDataManager manager;
  manager.Reload();
  EXPECT_EQ(Row(manager), std::vector<std::string>{"MW_Clock"});
  EXPECT_EQ(device_.Root().Read(kUserList), List("ulvane", {"MW_Clock"}));
}

TEST_F(AppDataManagerTest, EditsTheRowAndSavesEachChange) {
  device_.Root().Write(kUserList, List("", {"MW_Library", "MW_Store"}));
  AppDataManager manager;
  manager.Reload();
  manager.InsertApplication("MW_Notes", manager.GetApplicationsCount(), true);
  EXPECT_EQ(SavedRow(), (std::vector<std::string>{"MW_Library", "MW_Store", "MW_Notes"}));
  manager.InsertApplication("MW_Clock", 0, false);
  EXPECT_EQ(SavedRow().size(), 3u) << "not saved when not asked";

  const std::string before = device_.Root().Read(kUserList);
  manager.MoveApplication(0, -1);
  manager.MoveApplication(3, 1);
  manager.MoveApplication(7, -1);
  EXPECT_EQ(device_.Root().Read(kUserList), before) << "moves off either end change nothing";
  manager.MoveApplication(3, -1);
  EXPECT_EQ(SavedRow(),
            (std::vector<std::string>{"MW_Clock", "MW_Library", "MW_Notes", "MW_Store"}));

  manager.SetApplication(1, "SYS_Apps");
  manager.SetApplication(2, "MW_Unknown");
  EXPECT_EQ(SavedRow(), (std::vector<std::string>{"MW_Clock", "SYS_Apps", "MW_Notes", "MW_Store"}));

  for (int i = 0; i < 4; ++i) manager.RemoveApplication(0);
  manager.RemoveApplication(0);
  EXPECT_EQ(manager.GetApplicationsCount(), 0);
  EXPECT_FALSE(device_.Root().Exists(kUserList)) << "removing the last shortcut deletes the file";
}

TEST_F(AppDataManagerTest, FillsAnEmptySlotTheUserChoseAnApplicationForEvenUnderAccessibilityFocus) {
  device_.Root().Write(kUserList, List("", {"MW_Library", "MW_Store"}));
  AppDataManager manager;
  manager.Reload();
  manager.InsertApplication("SYS_Null", 1, true);
  EXPECT_FALSE(manager.GetAppDataAt(1)->known());
  manager.SetApplication(1, "MW_Notes");
  EXPECT_EQ(Row(manager), (std::vector<std::string>{"MW_Library", "MW_Notes", "MW_Store"}));

  manager.InsertApplication("SYS_Null", 0, false);
  manager.SetApplication(9, "MW_Clock");
  EXPECT_EQ(Row(manager), (std::vector<std::string>{"MW_Library", "MW_Notes", "MW_Store"}))
      << "out of range: only the empty slots go";

  // Under accessibility focus an empty slot before the chosen one shifts the choice one place on.
  manager.InsertApplication("SYS_Null", 0, false);
  DeviceSharedState* state = GetDeviceSharedState();
  ASSERT_NE(state, nullptr);
  state->screen_reader = 1;
  manager.SetApplication(1, "MW_Clock");
  state->screen_reader = 0;
  EXPECT_EQ(Row(manager), (std::vector<std::string>{"MW_Library", "MW_Clock", "MW_Store"}));
}

TEST_F(AppDataManagerTest, GroupsTheApplicationsScreenWithoutTheRowAndWithTheUsersBundles) {
  device_.Root().Write(kUserList, List("", {"MW_Library", "MW_Store"}));
  Bundle("Foo.APP");
  Bundle("Bundled.app");  // declared by the database
  Bundle("Mine.app");     // declared by the view file
  Bundle(".app");
  device_.Root().MakeFolder("/mnt/ext1/applications/Folder.app");
  ASSERT_EQ(
      symlink("/nowhere/x", device_.Root().Host("/mnt/ext1/applications/Dangling.app").c_str()), 0);
  ASSERT_EQ(symlink(device_.Root().Host("/ebrmain/bin/clock.app").c_str(),
                    device_.Root().Host("/mnt/ext1/applications/Linked.app").c_str()),
            0);
  AppDataManager manager;
  manager.Reload();
  const std::vector<desktop::AppGroupData> groups = manager.GetGroupsForView();
  ASSERT_EQ(groups.size(), 2u) << "\"Reading\" is left empty by the row";
  EXPECT_EQ(groups[0].title_, "Tools");
  EXPECT_EQ(groups[0].apps_, (std::vector<std::string>{"MW_Clock", "U_Mine", "MW_Notes"}))
      << "by title";
  EXPECT_EQ(groups[1].title_, "@Users");
  EXPECT_EQ(groups[1].sort_, "title");
  EXPECT_EQ(groups[1].apps_, (std::vector<std::string>{"UR_Foo", "UR_Linked"}));

  auto foo = manager.GetAppData("UR_Foo");
  EXPECT_TRUE(foo->known());
  EXPECT_EQ(foo->record()->path(), "/mnt/ext1/applications/Foo.APP");
  EXPECT_EQ(foo->record()->title(), "Foo");
  EXPECT_EQ(foo->record()->icon(), "desktop_app_unknown");
  EXPECT_EQ(foo->record()->focusedIcon(), "desktop_app_unknown_f");
  EXPECT_FALSE(manager.GetAppData("UR_Missing")->known());
}

TEST_F(AppDataManagerTest, OffersTheApplicationsNotOnTheRowAndDescribesEverySlot) {
  device_.Root().Write(kUserList, List("", {"MW_Store", "SYS_Apps"}));
  Bundle("Alpha.app");
  AppDataManager manager;
  manager.Reload();
  std::vector<std::string> offered;
  for (const auto& app : manager.GetMenuApplications())
    offered.push_back(app->id_ + ":" + app->title_);
  EXPECT_EQ(offered,
            (std::vector<std::string>{"UR_Alpha:Alpha", "MW_Bundled:Bundled", "MW_Clock:Clock",
                                      "MW_Library:Library", "U_Mine:Mine", "MW_Notes:Notes"}));
  manager.SetApplication(0, "MW_Clock");
  EXPECT_EQ(manager.GetMenuApplications().size(), 6u) << "the store is offered again";

  manager.SetMaxApplications(4);
  std::vector<std::string> slots;
  for (const auto& slot : manager.BuildRowMenu()) {
    slots.push_back(slot->id_ + ":" + slot->title_ + ":" + slot->icon_ +
                    (slot->is_application_ ? "" : ":screen"));
  }
  EXPECT_EQ(slots, (std::vector<std::string>{
                       "MW_Clock:Clock (Replace):clock",
                       "SYS_Apps:Applications (Replace):desktop_app_apps:screen",
                       "SYS_Null:Empty:checkbox_off", "SYS_Null:Empty:checkbox_off"}));
  EXPECT_EQ(SavedRow().size(), 2u) << "the padding isn't saved";
}

}  // namespace
}  // namespace marrowleaf::test
