// The integrity check of the application files: its error texts, its digest record and the dialog
// that shows the errors once per change of a file.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/json_manager/AppJsonManager.h"
#include "data/json_manager/JsonIntegrityChecker.h"
#include "json_manager/CatalogueDevice.h"
#include "platform/sdk/config.h"
#include "support/JournalReader.h"

namespace marrowleaf::test {
namespace {

using desktop::AppJsonManager;
using utilities::JsonIntegrityChecker;

const char kGoodView[] =
    R"({"version": 1, "applications": {}, "view": {"groups": [{"title": "G", "apps": []}]}})";

const char kFaultyDatabase[] = R"({
  "_comment": ["skipped"],
  "Bad_Id": {"path": "/x", "title": "t"},
  "MW_A": "not an object",
  "MW_B": {},
  "MW_C": {"path": 5, "title": {"device": {"634": "x"}}, "params": 7, "hideInAccessibility": "yes",
           "extra": 1, "visible": {"partner": {"all": 3}}},
  "MW_D": {"path": "/p", "title": "T", "params": {"language": {"all": 5, "de": ["a"]}},
           "icon": {"path": "a", "x": 1}, "focused_icon": {"path": 3}},
  "MW_E": {"path": "/p", "title": {"device": {"all": {"device": {"all": "x"}}}},
           "icon": {"weather": {"all": "x"}}, "focused_icon": {"device": "x"}},
  "MW_F": {"path": "/p", "title": {"globalcfg": {"a": {"x": "1"}, "b": {}}},
           "icon": {"globalcfg": {"theme": "dark"}}, "focused_icon": {"globalcfg": {"theme": {"dark": 5}}},
           "visible": {"globalcfg": {"k": {"default": "1", "v": {"has_audio": {"all": "1"}}}}}},
  "MW_G": {"path": "/p", "title": {}, "icon": {"device": {"all": null}}},
  "MW_Good": {"path": "/p", "title": {"device": {"all": {"partner": {"all": "x"}}}}, "params": "a",
              "icon": {"localization": {"RU": {"path": "r.png"}, "all": "i"}}, "visible": "0",
              "hideInAccessibility": false, "ctrl_panel_icon": "c"}
})";

const std::vector<std::string> kDatabaseErrors = {
    "Error application id [applications.Bad_Id]",
    "Error application type [applications.MW_A]",
    "Required field not set [applications.MW_B.path]",
    "Required field not set [applications.MW_B.title]",
    "Unsupported application field [applications.MW_C.extra]",
    "Error application field type [applications.MW_C.hideInAccessibility]",
    "Error application field type [applications.MW_C.params]",
    "Error application field type [applications.MW_C.path]",
    "Error: \"all\" value not found for [applications.MW_C.title.device]",
    "Error field type [applications.MW_C.visible.partner.all] must be \"string\"",
    "Error field type [applications.MW_D.focused_icon] must be \"string\" or object path",
    "Error object format. Object [applications.MW_D.icon] has fields [path, x] must be one object",
    "Error field type [applications.MW_D.params.language.all] must be \"string\" or \"array\"",
    "Error field type [device] of object [applications.MW_E.focused_icon]",
    "Error: Not supported object name [weather] of object [applications.MW_E.icon]",
    "Error: Declaration object name [device] 2 or more times in object "
    "[applications.MW_E.title.device.all]",
    "Error: \"default\" value not found for [applications.MW_F.focused_icon.globalcfg.theme]",
    "Error field type [applications.MW_F.focused_icon.globalcfg.theme.dark] must be \"string\"",
    "Error field type [applications.MW_F.icon.globalcfg.theme] must be \"object\"",
    "Error field [applications.MW_F.title.globalcfg] must have only one object",
    "Error: \"all\" value not found for [applications.MW_G.icon.device]",
    "Error field type [applications.MW_G.icon.device.all] must be \"string\"",
    "Error object format. Object [applications.MW_G.title] has fields [] must be one object",
};

const char kFaultyView[] = R"({"version": 1,
  "applications": {
    "MW_Ov": {"visible": "1", "title": {"globalcfg": {"k": {"default": "x"}}}, "path": "/p", "params": []},
    "MW_Hide": {"visible": "0", "title": "New", "icon": "i", "ctrl_panel_icon": "c"},
    "U_Own": {"path": "/x", "title": {"device": {"all": "x"}}, "icon": {"globalcfg": {"k": {"default": "i"}}}},
    "Z_Bad": {}
  },
  "view": {"_comment": "x", "extra": [], "other": 5,
           "groups": [{"title": "", "sort": 5, "apps": ["MW_A", 3]}, {"apps": "MW_A"}, null, {"title": 1}]}
})";

const std::vector<std::string> kViewErrors = {
    "Unsupported application field [applications.MW_Ov.params]",
    "Unsupported application field [applications.MW_Ov.path]",
    "Error application field type [applications.MW_Ov.title]",
    "Error application field value [applications.MW_Ov.visible], can be only \"0\"",
    "Error: Not supported object name [device] of object [applications.U_Own.title]",
    "Error application id [applications.Z_Bad]",
    "Error view field name [view.extra] support only \"groups\"",
    "Error field value [view.groups[0].title], cannot be empty",
    "Error field type [view.groups[0].sort]",
    "Error field type [view.groups[0].apps[1]]",
    "Required field not set [view.groups[1].title]",
    "Error field type [view.groups[1].apps]",
    "Error view field type [view.other]",
};

std::string ErrorText(const std::vector<std::string>& errors) {
  std::string text = std::to_string(errors.size()) + " errors found:\n";
  for (size_t i = 0; i < errors.size(); ++i) text += (i ? "\n - " : " - ") + errors[i];
  return text;
}

std::string Recorded(const std::string& key) {
  DeviceConfig* record = OpenConfig(CatalogueDevice::kHashRecord, nullptr);
  if (record == nullptr)
    return "<no record>";
  const std::string value = ReadString(record, key.c_str(), "<missing>");
  CloseConfigNoSave(record);
  return value;
}

class IntegrityTest : public ::testing::Test {
 protected:
  std::vector<Json::Value> Dialogs() const {
    return JournalReader(device_.Root().HostRoot()).Events("dialog");
  }
  // One start of the program: a fresh catalogue checks the files.
  int Start() const {
    AppJsonManager catalogue;
    return catalogue.CheckIntegrity();
  }

  CatalogueDevice device_;
};

TEST_F(IntegrityTest, NamesEveryFaultOfTheDatabaseByItsPath) {
  device_.Database(kFaultyDatabase);
  device_.Views(kGoodView);
  EXPECT_EQ(Start(), 0);
  const std::vector<Json::Value> dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["text"].asString(), ErrorText(kDatabaseErrors));
  EXPECT_EQ(dialogs[0]["icon"].asInt(), 4);
  EXPECT_EQ(dialogs[0]["title"].asString(), "Error");
  ASSERT_EQ(dialogs[0]["buttons"].size(), 1u);
  EXPECT_EQ(dialogs[0]["buttons"][0].asString(), "OK");
}

TEST_F(IntegrityTest, AllowsOnlyOverridesAndGlobalSettingConditionsInTheUserView) {
  device_.Database(R"({"MW_A": {"path": "/p", "title": "A"}})");
  device_.ShippedView(kFaultyView);
  device_.UserView(kFaultyView);
  EXPECT_EQ(Start(), 0);
  const std::vector<Json::Value> dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["text"].asString(), ErrorText(kViewErrors));
}

TEST_F(IntegrityTest, ReportsFilesThatDoNotLoadAndBothChecksAlwaysRun) {
  device_.Root().Write(CatalogueDevice::kDatabase, "{\"applications\": ");
  device_.Views(R"({"version": 1, "applications": {}})");
  EXPECT_EQ(Start(), 0);
  const std::vector<Json::Value> dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["text"].asString(), ErrorText({"Failed load application data json file.",
                                                      "Failed load view data json file."}));
}

TEST_F(IntegrityTest, ShowsABrokenFileOnceUntilItChangesAgain) {
  device_.Database(R"({"MW_A": {"title": "A"}})");
  device_.Views(kGoodView);
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(Start(), 1) << "the next start finds the same file";
  EXPECT_EQ(Dialogs().size(), 1u);
  EXPECT_EQ(Recorded("hash1").size(), 32u);

  device_.Database(R"({"MW_A": {"title": "B"}})");
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(Dialogs().size(), 2u);
  device_.Database(R"({"MW_A": {"path": "/p", "title": "B"}})");
  EXPECT_EQ(Start(), 1);
  EXPECT_EQ(Dialogs().size(), 2u);
}

TEST_F(IntegrityTest, RecordsTheMd5OfEachFileUnderItsOwnKey) {
  device_.Root().Write("/mnt/ext1/a.txt", "abc");
  JsonIntegrityChecker checker;
  EXPECT_TRUE(checker.IsFileChanged(CatalogueDevice::kHashRecord, "hash1", "/mnt/ext1/a.txt"));
  EXPECT_EQ(Recorded("hash1"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Recorded("hash2"), "<missing>");
  EXPECT_FALSE(checker.IsFileChanged(CatalogueDevice::kHashRecord, "hash1", "/mnt/ext1/a.txt"));
  EXPECT_TRUE(checker.IsFileChanged(CatalogueDevice::kHashRecord, "hash2", "/mnt/ext1/a.txt"));
  EXPECT_TRUE(checker.IsFileChanged(CatalogueDevice::kHashRecord, "hash1", "/mnt/ext1/none.txt"))
      << "a missing file counts as changed";
  EXPECT_EQ(Recorded("hash1"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(JsonIntegrityChecker, ListsItsErrorsCountedAndIndented) {
  JsonIntegrityChecker checker;
  EXPECT_EQ(checker.GetIntegrityCheckErrors(), "");
  checker.AddError("first");
  checker.AddError("second");
  EXPECT_EQ(checker.GetIntegrityCheckErrors(), "2 errors found:\n - first\n - second");
  checker.ClearErrors();
  EXPECT_EQ(checker.GetIntegrityCheckErrors(), "");
}

}  // namespace
}  // namespace marrowleaf::test
