// The application catalogue on real JSON files in a temporary device root.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/json_manager/AppJsonManager.h"
#include "data/json_manager/DeviceConditions.h"
#include "json_manager/CatalogueDevice.h"

namespace marrowleaf::test {
namespace {

using desktop::AppJsonManager;

const char kEmptyView[] = R"({"version": 1, "applications": {}, "view": {"groups": []}})";

// Titles that tell which case each condition chose.
const char kConditionTitles[] = R"({
  "MW_Device": {"path": "/ebrmain/bin/a.app",
                "title": {"device": {"634": "Verso", "notouch": "Keys", "all": "Other"}}},
  "MW_Audio": {"path": "/ebrmain/bin/a.app", "title": {"has_audio": {"true": "Loud", "false": "Quiet"}}},
  "MW_OnlyLoud": {"path": "/ebrmain/bin/a.app", "title": {"has_audio": {"true": "Loud"}}},
  "MW_Region": {"path": "/ebrmain/bin/a.app",
                "title": {"localization": {"RU": "Ru", "WW": "World", "all": "Elsewhere"}}},
  "MW_Partner": {"path": "/ebrmain/bin/a.app", "title": {"partner": {"ulvane": "Ulvane", "all": "Plain"}}},
  "MW_Language": {"path": "/ebrmain/bin/a.app", "title": {"language": {"de": "Deutsch", "all": "English"}}},
  "MW_Cloud": {"path": "/ebrmain/bin/a.app", "title": {"has_cloud": {"true": "Cloud", "all": "NoCloud"}}},
  "MW_Setting": {"path": "/ebrmain/bin/a.app",
                 "title": {"globalcfg": {"store_mode": {"kiosk": "Kiosk", "default": "Normal"}}}}
})";

std::string TitleOf(AppJsonManager& catalogue, const std::string& id) {
  auto record = catalogue.GetApplication(id);
  return record ? record->appId() + ":" + record->title() : "<none>";
}

class AppJsonManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device_.Program("/ebrmain/bin/a.app");
    device_.Views(kEmptyView);
  }

  std::vector<std::string> Titles() {
    AppJsonManager catalogue;
    std::vector<std::string> titles;
    for (const char* id : {"MW_Device", "MW_Audio", "MW_OnlyLoud", "MW_Region", "MW_Partner",
                           "MW_Language", "MW_Cloud", "MW_Setting"}) {
      titles.push_back(TitleOf(catalogue, id));
    }
    return titles;
  }

  CatalogueDevice device_;
};

TEST_F(AppJsonManagerTest, ResolvesEveryConditionForTheDeviceAndFallsBackToAllOrTheDefault) {
  device_.Database(kConditionTitles);
  struct Case {
    const char* what;
    const char* profile;
    const char* global;  // nullptr: none yet (language "en", settings "default")
    std::vector<std::string> titles;
  };
  const std::vector<Case> cases = {
      // Neither "false" nor "all" for MW_OnlyLoud: the title's default "" makes it invalid.
      {"key-only device without audio",
       "device_number=606\ntouch=0\naudio=0\nserial=ML606000000000W00001\n", nullptr,
       {"MW_Device:Keys", "MW_Audio:Quiet", "SYS_Null:", "MW_Region:World", "MW_Partner:Plain",
        "MW_Language:English", "MW_Cloud:Cloud", "MW_Setting:Normal"}},
      // 20 characters with the region mark '2' at index 14.
      {"touch device with audio in Russia",
       "device_number=634\ntouch=1\naudio=1\nserial=ML634000000000200001\n"
       "partner=3\npartner_name=ulvane\nconfig_flag_1=0\n",
       "language=de\nstore_mode=kiosk\n",
       {"MW_Device:Verso", "MW_Audio:Loud", "MW_OnlyLoud:Loud", "MW_Region:Ru", "MW_Partner:Ulvane",
        "MW_Language:Deutsch", "MW_Cloud:NoCloud", "MW_Setting:Kiosk"}},
      {"another touch model, unknown region and language",
       "device_number=743\ntouch=1\naudio=0\nserial=ML7430001\n", "language=fr\nstore_mode=open\n",
       {"MW_Device:Other", "MW_Audio:Quiet", "SYS_Null:", "MW_Region:Elsewhere", "MW_Partner:Plain",
        "MW_Language:English", "MW_Cloud:Cloud", "MW_Setting:Normal"}},
  };
  for (const Case& c : cases) {
    device_.Profile(c.profile);
    if (c.global != nullptr)
      device_.Global(c.global);
    EXPECT_EQ(Titles(), c.titles) << c.what;
  }
}

// The device's own entry wins over "notouch", which wins over "all"; an entry that is null counts
// as missing; a setting condition names exactly one setting.
TEST_F(AppJsonManagerTest, TheMostParticularCaseWinsAndANullCaseIsNoCase) {
  device_.Database(R"({
    "MW_Device": {"path": "/ebrmain/bin/a.app",
                  "title": {"device": {"634": "Verso", "notouch": "Keys", "all": "Other"}}},
    "MW_NullCase": {"path": "/ebrmain/bin/a.app", "title": {"has_audio": {"true": null, "all": "All"}}},
    "MW_TwoSettings": {"path": "/ebrmain/bin/a.app",
                       "title": {"globalcfg": {"a": {"default": "A"}, "b": {"default": "B"}}}}
  })");
  struct Case {
    const char* profile;
    const char* device_title;
  };
  for (const Case& c : {Case{"device_number=634\ntouch=1\n", "MW_Device:Verso"},
                        Case{"device_number=634\ntouch=0\n", "MW_Device:Verso"},
                        Case{"device_number=606\ntouch=0\n", "MW_Device:Keys"},
                        Case{"device_number=743\ntouch=1\n", "MW_Device:Other"}}) {
    device_.Profile(std::string(c.profile) + "audio=1\n");
    AppJsonManager catalogue;
    EXPECT_EQ(TitleOf(catalogue, "MW_Device"), c.device_title) << c.profile;
    EXPECT_EQ(TitleOf(catalogue, "MW_NullCase"), "MW_NullCase:All");
    EXPECT_EQ(TitleOf(catalogue, "MW_TwoSettings"), "SYS_Null:");
  }
}

TEST(DeviceConditions, ClassifiesSerialNumbersByTheirRegionMark) {
  using desktop::DeviceConditions;
  EXPECT_EQ(DeviceConditions::LocalizationRegion("ML634000000000200001"), "RU");
  EXPECT_EQ(DeviceConditions::LocalizationRegion("ML634000000000W00001"), "WW");
  EXPECT_EQ(DeviceConditions::LocalizationRegion("ML634000000000F00001"), "CIS");
  EXPECT_EQ(DeviceConditions::LocalizationRegion("ML634000000000X00001"),
            "Unknown: ML634000000000X00001");
  EXPECT_EQ(DeviceConditions::LocalizationRegion("ML634000000000200001X"), "Unknown");
  EXPECT_EQ(DeviceConditions::LocalizationRegion(""), "Unknown");
}

TEST_F(AppJsonManagerTest, ResolvesNestedConditionsAndRejectsMalformedOnes) {
  device_.Profile("device_number=634\ntouch=1\naudio=1\nserial=ML634000000000W00001\n");
  device_.Database(R"({
    "MW_Nested": {"path": "/ebrmain/bin/a.app",
                  "title": {"has_audio": {"true": {"localization": {"RU": "Ru", "all": "Audio"}}, "all": "Mute"}}},
    "MW_Twice": {"path": "/ebrmain/bin/a.app",
                 "title": {"has_audio": {"all": {"has_audio": {"all": "Inner"}}}}},
    "MW_Unknown": {"path": "/ebrmain/bin/a.app", "title": "T", "icon": {"weather": {"all": "sun"}}},
    "MW_TwoKeys": {"path": "/ebrmain/bin/a.app", "title": "T",
                   "icon": {"device": {"all": "x"}, "partner": {"all": "y"}}},
    "MW_NotCases": {"path": "/ebrmain/bin/a.app", "title": "T", "icon": {"device": "x"}},
    "MW_NumberTitle": {"path": "/ebrmain/bin/a.app", "title": 7},
    "MW_PathInTitle": {"path": "/ebrmain/bin/a.app", "title": {"device": {"all": {"path": "x"}}}}
  })");
  AppJsonManager catalogue;
  EXPECT_EQ(TitleOf(catalogue, "MW_Nested"), "MW_Nested:Audio");
  EXPECT_EQ(TitleOf(catalogue, "MW_Twice"), "SYS_Null:") << "a condition nested in itself";
  // A broken icon condition falls back to the icon's default, which becomes the default icon.
  for (const char* id : {"MW_Unknown", "MW_TwoKeys", "MW_NotCases"}) {
    auto record = catalogue.GetApplication(id);
    ASSERT_TRUE(record) << id;
    EXPECT_EQ(record->icon(), "desktop_icon_default") << id;
    EXPECT_EQ(record->focusedIcon(), "desktop_icon_default_f") << id;
  }
  EXPECT_EQ(TitleOf(catalogue, "MW_NumberTitle"), "SYS_Null:");
  EXPECT_EQ(TitleOf(catalogue, "MW_PathInTitle"), "SYS_Null:");
}

TEST_F(AppJsonManagerTest, ReadsParamsAndIconsInEveryValueForm) {
  device_.Profile("device_number=634\ntouch=1\n");
  device_.Database(R"({
    "MW_One": {"path": "/ebrmain/bin/a.app", "title": "@Library", "params": "--single",
               "icon": {"path": "icons/lib.png"}, "focused_icon": {"device": {"all": {"path": "icons/lib_f.png"}}}},
    "MW_Many": {"path": "/ebrmain/bin/a.app", "title": "  Many  ", "params": ["a", "b", 3, "c"],
                "icon": "many", "focused_icon": "many_f"},
    "MW_Cond": {"path": "/ebrmain/bin/a.app", "title": "Cond",
                "params": {"device": {"634": ["x", "y"], "all": "z"}}, "icon": "cond"},
    "MW_Bad": {"path": "/ebrmain/bin/a.app", "title": "Bad", "params": {"nested": true}, "icon": "bad"}
  })");
  AppJsonManager catalogue;
  auto one = catalogue.GetApplication("MW_One");
  ASSERT_TRUE(one);
  EXPECT_EQ(one->title(), "Library") << "a language key is translated";
  EXPECT_EQ(one->params(), std::vector<std::string>{"--single"});
  EXPECT_EQ(one->icon(), "/mnt/ext1/icons/lib.png");
  EXPECT_EQ(one->focusedIcon(), "/mnt/ext1/icons/lib_f.png");
  auto many = catalogue.GetApplication("MW_Many");
  EXPECT_EQ(many->title(), "Many");
  EXPECT_EQ(many->params(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(catalogue.GetApplication("MW_Cond")->params(), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(catalogue.GetApplication("MW_Bad")->params().empty());
}

TEST_F(AppJsonManagerTest, HidesWhatTheDeviceLacksAndLetsTheUserHideButNeverUnhide) {
  device_.Database(R"({
    "MW_Present": {"path": "/ebrmain/bin/a.app", "title": "Present", "icon": "p"},
    "MW_Missing": {"path": "/ebrmain/bin/missing.app", "title": "Missing"},
    "MW_Hidden": {"path": "/ebrmain/bin/a.app", "title": "Hidden", "visible": "0"},
    "MW_Renamed": {"path": "/ebrmain/bin/a.app", "title": "Old", "icon": "old"},
    "MW_NoTitle": {"path": "/ebrmain/bin/a.app"}
  })");
  device_.Views(CatalogueDevice::View(R"({
    "MW_Present": {"visible": "0"},
    "MW_Hidden": {"visible": "1"},
    "MW_Renamed": {"title": "New", "icon": {"path": "n.png"}},
    "MW_NotInDatabase": {"title": "X"},
    "U_Own": {"path": "/mnt/ext1/own.app", "title": "Own", "params": ["-x"]},
    "U_Marschpat": {"path": "/mnt/ext1/m.app", "title": "M"},
    "X_Other": {"path": "/mnt/ext1/x.app", "title": "X"}
  })",
                                      "[]"));
  AppJsonManager catalogue;
  EXPECT_EQ(TitleOf(catalogue, "MW_Present"), "SYS_Null:");
  EXPECT_EQ(TitleOf(catalogue, "MW_Missing"), "SYS_Null:") << "its program doesn't exist";
  EXPECT_EQ(TitleOf(catalogue, "MW_Hidden"), "SYS_Null:");
  EXPECT_EQ(TitleOf(catalogue, "MW_NoTitle"), "SYS_Null:");
  EXPECT_EQ(TitleOf(catalogue, "MW_NotInDatabase"), "SYS_Null:");
  EXPECT_EQ(TitleOf(catalogue, "X_Other"), "SYS_Null:");
  EXPECT_EQ(catalogue.GetApplication("MW_Renamed")->icon(), "/mnt/ext1/n.png");
  EXPECT_EQ(TitleOf(catalogue, "U_Own"), "U_Own:Own") << "user programs aren't looked for";
  EXPECT_EQ(TitleOf(catalogue, "U_Marschpat"), "SYS_Null:");
  EXPECT_EQ(TitleOf(catalogue, "SYS_Apps"), "SYS_Apps:Applications");
  EXPECT_FALSE(catalogue.GetApplication(""));
  EXPECT_FALSE(catalogue.GetApplication("_comment"));

  std::vector<std::string> visible;
  for (const auto& record : catalogue.GetVisibleApplications()) visible.push_back(record->appId());
  EXPECT_EQ(visible, (std::vector<std::string>{"MW_Renamed", "U_Own"}));
  EXPECT_EQ(catalogue.GetApplicationByPath("/ebrmain/bin/a.app")->appId(), "MW_Renamed");
  EXPECT_FALSE(catalogue.GetApplicationByPath("/mnt/ext1/own.app"));
  EXPECT_TRUE(catalogue.IsUserApplicationPath("/mnt/ext1/own.app"));
  EXPECT_TRUE(catalogue.IsUserApplicationPath("own.app"));
  EXPECT_FALSE(catalogue.IsUserApplicationPath("/mnt/ext1/m.app")) << "hidden";
}

TEST_F(AppJsonManagerTest, HidesApplicationsFromAccessibilityFocusOnlyWhileItIsOn) {
  device_.Database(R"({
    "MW_Game": {"path": "/ebrmain/bin/a.app", "title": "Game", "hideInAccessibility": true}
  })");
  DeviceSharedState* state = GetDeviceSharedState();
  ASSERT_NE(state, nullptr);
  state->screen_reader = 0;
  AppJsonManager catalogue;
  auto game = catalogue.GetApplication("MW_Game");
  EXPECT_TRUE(game->visible());
  state->screen_reader = 1;
  EXPECT_FALSE(game->visible());
  EXPECT_EQ(TitleOf(catalogue, "MW_Game"), "SYS_Null:");
  state->screen_reader = 0;
}

TEST_F(AppJsonManagerTest, AppliesThePartnerRulesOfTwoFirmwareApplications) {
  device_.Database(R"({
    "MW_Bookstore2empikgo": {"path": "/ebrmain/bin/a.app", "title": "Store"},
    "MW_Onleihe": {"path": "/ebrmain/bin/a.app", "title": "Loans", "visible": "0"}
  })");
  device_.Profile("partner=24\nconfig_flag_6=1\n");
  device_.Root().Write("/mnt/secure/device.cfg", "app_MW_Onleihe={\"visible\": \"1\"}\n");
  {
    AppJsonManager catalogue;
    EXPECT_EQ(TitleOf(catalogue, "MW_Bookstore2empikgo"), "SYS_Null:");
    EXPECT_EQ(TitleOf(catalogue, "MW_Onleihe"), "MW_Onleihe:Loans");
  }
  device_.Profile("partner=24\nconfig_flag_6=0\n");
  device_.Root().Write("/mnt/secure/device.cfg", "app_MW_Onleihe={broken\n");
  AppJsonManager catalogue;
  EXPECT_EQ(TitleOf(catalogue, "MW_Bookstore2empikgo"), "MW_Bookstore2empikgo:Store");
  EXPECT_EQ(TitleOf(catalogue, "MW_Onleihe"), "SYS_Null:");
}

TEST_F(AppJsonManagerTest, KeepsGroupsInFileOrderWithoutUnknownOrInvisibleApplications) {
  device_.Database(R"({
    "MW_A": {"path": "/ebrmain/bin/a.app", "title": "A"},
    "MW_B": {"path": "/ebrmain/bin/a.app", "title": "B"},
    "MW_Gone": {"path": "/ebrmain/bin/gone.app", "title": "Gone"}
  })");
  device_.Views(CatalogueDevice::View("{}", R"([
    {"title": "Second", "apps": ["MW_B", "MW_Unknown", "MW_A"], "sort": "name"},
    {"title": "Empty", "apps": ["MW_Gone", "MW_Unknown"]},
    {"apps": ["MW_A"]},
    {"title": "First", "apps": ["MW_A", 5, "MW_B"]},
    null,
    {"title": "After null", "apps": ["MW_A"]}
  ])"));
  AppJsonManager catalogue;
  const std::vector<desktop::AppGroupData> groups = catalogue.GetGroups();
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].title_, "Second");
  EXPECT_EQ(groups[0].sort_, "name");
  EXPECT_EQ(groups[0].apps_, (std::vector<std::string>{"MW_B", "MW_A"}));
  EXPECT_EQ(groups[1].title_, "First");
  EXPECT_EQ(groups[1].sort_, "title");
  EXPECT_EQ(groups[1].apps_, std::vector<std::string>{"MW_A"}) << "up to the first non-string";
}

class ViewFileTest : public AppJsonManagerTest {
 protected:
  void SetUp() override {
    device_.Program("/ebrmain/bin/a.app");
    device_.Database(R"({"MW_A": {"path": "/ebrmain/bin/a.app", "title": "A"}})");
  }
  std::string UserGroupTitle() {
    AppJsonManager catalogue;
    const auto groups = catalogue.GetGroups();
    return groups.empty() ? "<none>" : groups[0].title_;
  }
  static std::string Shipped(const std::string& version) {
    return R"({"version": )" + version +
           R"(, "applications": {}, "view": {"groups": [{"title": "Shipped", "apps": ["MW_A"]}]}})";
  }
  static std::string User(const std::string& version) {
    return R"({"version": )" + version +
           R"(, "applications": {}, "view": {"groups": [{"title": "User", "apps": ["MW_A"]}]}})";
  }
};

TEST_F(ViewFileTest, CopiesTheShippedViewWhenTheUserHasNone) {
  device_.Root().Write(CatalogueDevice::kShippedView, Shipped("3"));
  EXPECT_EQ(UserGroupTitle(), "Shipped");
  EXPECT_EQ(device_.Root().Read(CatalogueDevice::kUserView), Shipped("3"));
}

TEST_F(ViewFileTest, ReplacesAnOlderOrBrokenUserViewAndKeepsANewerOne) {
  device_.ShippedView(Shipped("\"12 beta\""));
  device_.UserView(User("11"));
  EXPECT_EQ(UserGroupTitle(), "Shipped") << "11 < 12";
  device_.UserView(User("\"12\""));
  EXPECT_EQ(UserGroupTitle(), "User");
  device_.ShippedView(Shipped("\"010\""));
  device_.UserView(User("9"));
  EXPECT_EQ(UserGroupTitle(), "Shipped") << "versions are decimal: 010 > 9";
  device_.ShippedView(Shipped("\"12 beta\""));
  device_.UserView(R"({"applications": {}, "view": {"groups": []}})");
  EXPECT_EQ(UserGroupTitle(), "Shipped") << "no version";
  device_.UserView("{\"version\": 1, ");
  EXPECT_EQ(UserGroupTitle(), "Shipped") << "truncated";
}

TEST_F(ViewFileTest, NeverReplacesTheUserViewByABrokenShippedOne) {
  device_.ShippedView("{\"version\": 99, \"applications\": {");
  device_.UserView(User("1"));
  EXPECT_EQ(UserGroupTitle(), "User");
  EXPECT_EQ(device_.Root().Read(CatalogueDevice::kUserView), User("1"));
}

TEST_F(AppJsonManagerTest, AnswersEmptyForBrokenDatabasesWithoutCrashing) {
  const std::string nested_deeply = std::string(100000, '[') + std::string(100000, ']');
  std::string huge =
      "{\"applications\": {\"MW_A\": {\"path\": \"/ebrmain/bin/a.app\", \"title\": \"";
  huge += std::string(10 * 1024 * 1024, 'x') + "\"}}}";
  for (const std::string& text :
       {std::string(""), std::string("{\"applications\": {\"MW_A\": {\"path\""),
        std::string("[1, 2]"), std::string("{\"version\": 1}"),
        std::string("{\"applications\": null}"), std::string("{\"applications\": [\"MW_A\"]}"),
        nested_deeply, huge}) {
    device_.Root().Write(CatalogueDevice::kDatabase, text);
    AppJsonManager catalogue;
    EXPECT_FALSE(catalogue.GetApplication("MW_A")) << text.substr(0, 60);
    EXPECT_TRUE(catalogue.GetVisibleApplications().empty());
    EXPECT_FALSE(catalogue.GetApplicationByPath("/ebrmain/bin/a.app"));
    EXPECT_TRUE(catalogue.GetGroups().empty());
  }
}

TEST_F(AppJsonManagerTest, KeepsTheDatabaseWhenOnlyTheViewFileIsBroken) {
  device_.Database(R"({"MW_A": {"path": "/ebrmain/bin/a.app", "title": "A"}})");
  for (const std::string& view :
       {std::string(R"({"version": 1, "applications": {"U_X": {"path": "/x", "title": "X"}}})"),
        std::string(R"({"version": 1, "applications": {}, "view": []})"),
        std::string(R"({"version": 1, "applications": {}, "view": {"groups": {}}})")}) {
    device_.Views(view);
    AppJsonManager catalogue;
    EXPECT_EQ(TitleOf(catalogue, "MW_A"), "MW_A:A");
    EXPECT_EQ(TitleOf(catalogue, "U_X"), "SYS_Null:") << view;
    EXPECT_TRUE(catalogue.GetGroups().empty());
  }
}

}  // namespace
}  // namespace marrowleaf::test
