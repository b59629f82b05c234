// Key-value configuration files through the SDK's functions, on real files in a temporary device
// root.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KeyValueStore.h"
#include "platform/sdk/config.h"
#include "support/TempDeviceRoot.h"

namespace {

using marrowleaf::platform::KeyValueStore;
using marrowleaf::test::TempDeviceRoot;

constexpr const char* kPath = "/mnt/ext1/system/config/test.cfg";

std::vector<std::string> FolderEntries(const TempDeviceRoot& root, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(root.Host(folder))) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// Opens text as the test file and returns the handle (the caller closes it).
DeviceConfig* OpenText(const TempDeviceRoot& root, const std::string& text) {
  root.Write(kPath, text);
  return OpenConfig(kPath, nullptr);
}

TEST(ConfigFile, KeepsEveryValueExactlyAcrossASaveAndKeysInFileOrder) {
  TempDeviceRoot root;
  root.MakeFolder("/mnt/ext1/system/config");
  const std::vector<std::pair<std::string, std::string>> values = {
      {"plain", "value"},
      {"empty", ""},
      {"edges", "  spaces and\ttabs at both ends\t "},
      {"quote_first", "\"quoted\" start"},
      {"backslashes", "C:\\path\\to\\file \\n not a line feed"},
      {"quoted_backslashes", "\"C:\\dir\\\" said \\n \\\\"},
      {"quoted_last_backslash", " ends in a backslash\\"},
      {"lines", "first line\nsecond line\n"},
      {"unicode", "Война и мир — 戦争と平和"},
      {"equals", "a=b=c"},
  };
  DeviceConfig* config = OpenConfig(kPath, nullptr);
  ASSERT_NE(config, nullptr);
  for (const auto& [key, value] : values) WriteString(config, key.c_str(), value.c_str());
  WriteString(config, "plain", "changed");  // rewriting keeps the key's place
  ASSERT_EQ(SaveConfig(config), 0);
  CloseConfigNoSave(config);

  config = OpenConfig(kPath, nullptr);
  ASSERT_NE(config, nullptr);
  EXPECT_STREQ(ReadString(config, "plain", "-"), "changed");
  for (size_t i = 1; i < values.size(); ++i) {
    EXPECT_EQ(ReadString(config, values[i].first.c_str(), "-"), values[i].second)
        << values[i].first;
  }
  CloseConfigNoSave(config);
  const std::string text = root.Read(kPath);
  EXPECT_EQ(text.rfind("plain=changed\nempty=\n", 0), 0u) << text;
  EXPECT_LT(text.find("lines="), text.find("unicode="));
}

TEST(ConfigFile, ReadsCommentsBlanksQuotesAndLineEndsOfHandWrittenFiles) {
  TempDeviceRoot root;
  DeviceConfig* config = OpenText(root,
                                  "\xEF\xBB\xBF# a comment=not a key\n"
                                  "   ; another\n"
                                  "\n"
                                  "  name   =   Some Value  \r\n"
                                  "quoted = \"  a \\\"b\\\" \\\\ c\\nd  \"\n"
                                  "twice=first\n"
                                  "twice=second\n"
                                  "last=no line feed");
  ASSERT_NE(config, nullptr);
  EXPECT_STREQ(ReadString(config, "name", ""), "Some Value");
  EXPECT_STREQ(ReadString(config, "quoted", ""), "  a \"b\" \\ c\nd  ");
  EXPECT_STREQ(ReadString(config, "twice", ""), "second");
  EXPECT_STREQ(ReadString(config, "last", ""), "no line feed");
  EXPECT_STREQ(ReadString(config, "# a comment", "absent"), "absent");
  CloseConfigNoSave(config);
}

TEST(ConfigFile, SkipsADamagedLineReadsOnAndKeepsItWhenSaving) {
  const std::vector<std::pair<std::string, std::string>> damages = {
      {"line without equals", "this line has no equals sign"},
      {"unterminated quote", "bad=\"never closed"},
      {"unknown escape", "bad=\"\\q\""},
      {"text after closing quote", "bad=\"x\" y"},
      {"empty key", "=value"},
      {"carriage return inside", "bad=one\rtwo"},
      {"binary data", std::string("bad=\x00\x01\x02\xff", 8)},
      {"over-long line", "bad=" + std::string(KeyValueStore::kMaxLineBytes, 'x')},
  };
  for (const auto& [name, damage] : damages) {
    TempDeviceRoot root;
    DeviceConfig* config = OpenText(root, "before=1\n" + damage + "\nafter=2\n");
    ASSERT_NE(config, nullptr) << name;
    EXPECT_EQ(ReadInt(config, "before", 0), 1) << name;
    EXPECT_EQ(ReadInt(config, "after", 0), 2) << name;
    EXPECT_STREQ(ReadString(config, "bad", "none"), "none") << name;
    WriteInt(config, "before", 3);
    WriteInt(config, "added", 4);
    CloseConfig(config);
    EXPECT_EQ(root.Read(kPath), "before=3\n" + damage + "\nafter=2\nadded=4\n") << name;
  }
}

TEST(ConfigFile, ReadsAFileLargerThanTheCapUpToTheLastWholeLine) {
  TempDeviceRoot root;
  // Lines of one length, so the cap falls inside a known line.
  auto key = [](size_t n) {
    char name[16];
    std::snprintf(name, sizeof name, "k%07zu", n);
    return std::string(name);
  };
  const std::string value(100, 'v');
  const size_t line_length = key(0).size() + 1 + value.size() + 1;
  const size_t cut_line = KeyValueStore::kMaxFileBytes / line_length;
  ASSERT_NE(KeyValueStore::kMaxFileBytes % line_length, 0u);
  std::string text;
  for (size_t n = 0; n <= cut_line + 100; ++n) text += key(n) + "=" + value + "\n";
  DeviceConfig* config = OpenText(root, text);
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(ReadString(config, key(0).c_str(), ""), value);
  EXPECT_EQ(ReadString(config, key(cut_line - 1).c_str(), ""), value);
  EXPECT_STREQ(ReadString(config, key(cut_line).c_str(), "missing"), "missing");
  EXPECT_STREQ(ReadString(config, key(cut_line + 1).c_str(), "missing"), "missing");
  // Saving would drop what lies past the cap, so the file is left as it is.
  WriteInt(config, key(0).c_str(), 1);
  EXPECT_EQ(SaveConfig(config), -1);
  CloseConfigNoSave(config);
  EXPECT_EQ(root.Read(kPath), text);
}

TEST(ConfigFile, OpensAMissingFileEmptyButNotWithoutItsFolderOrWhenThePathIsAFolder) {
  TempDeviceRoot root;
  EXPECT_EQ(OpenConfig(nullptr, nullptr), nullptr);
  EXPECT_EQ(OpenConfig("/mnt/ext1/no/such/folder.cfg", nullptr), nullptr);
  root.MakeFolder("/mnt/ext1/system/config");
  DeviceConfig* config = OpenConfig(kPath, nullptr);
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(SaveConfig(config), 0);
  EXPECT_FALSE(root.Exists(kPath)) << "nothing written, nothing to create";
  WriteInt(config, "counter", 3);
  CloseConfig(config);
  EXPECT_EQ(root.Read(kPath), "counter=3\n");
  std::filesystem::remove(root.Host(kPath));
  root.MakeFolder(kPath);
  EXPECT_EQ(OpenConfig(kPath, nullptr), nullptr);
}

TEST(ConfigFile, SavesAtomicallyKeepingCommentsAndWritesNothingWhenUnchanged) {
  TempDeviceRoot root;
  DeviceConfig* config = OpenText(root, "# kept while nothing changes\na=1\n");
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(SaveConfig(config), 0);
  WriteInt(config, "a", 1);  // the same value is no change
  EXPECT_EQ(SaveConfig(config), 0);
  EXPECT_EQ(root.Read(kPath), "# kept while nothing changes\na=1\n");
  for (int i = 0; i < 5; ++i) {
    WriteInt(config, "a", i + 10);
    EXPECT_EQ(SaveConfig(config), 0);
  }
  CloseConfig(config);
  EXPECT_EQ(root.Read(kPath), "# kept while nothing changes\na=14\n");
  EXPECT_EQ(FolderEntries(root, "/mnt/ext1/system/config"), std::vector<std::string>{"test.cfg"});
}

TEST(ConfigFile, ReportsAFailedSaveAndKeepsTheChangesForTheNextTry) {
  TempDeviceRoot root;
  DeviceConfig* config = OpenText(root, "a=1\n");
  ASSERT_NE(config, nullptr);
  std::filesystem::remove_all(root.Host("/mnt/ext1/system/config"));
  WriteInt(config, "a", 2);
  EXPECT_EQ(SaveConfig(config), -1);
  root.MakeFolder("/mnt/ext1/system/config");
  EXPECT_EQ(SaveConfig(config), 0);
  CloseConfigNoSave(config);
  EXPECT_EQ(root.Read(kPath), "a=2\n");
}

TEST(ConfigFile, TakesDefaultsForMissingKeysAndAfterADelete) {
  TempDeviceRoot root;
  root.Write(kPath, "present=file\nnumber=7\n");
  const ConfigDefault defaults[] = {{"present", "default"}, {"absent", "42"}, {nullptr, nullptr}};
  DeviceConfig* config = OpenConfig(kPath, defaults);
  ASSERT_NE(config, nullptr);
  EXPECT_STREQ(ReadString(config, "present", "-"), "file");
  EXPECT_EQ(ReadInt(config, "absent", 0), 42);
  EXPECT_STREQ(ReadString(config, "unknown", "caller"), "caller");
  DeleteConfigKey(config, "present");
  DeleteConfigKey(config, "number");
  EXPECT_STREQ(ReadString(config, "present", "-"), "default");
  EXPECT_EQ(ReadInt(config, "number", -1), -1);
  CloseConfig(config);
  EXPECT_EQ(root.Read(kPath), "");
}

TEST(ConfigFile, ReadsOnlyWholeDecimalNumbersInRange) {
  TempDeviceRoot root;
  DeviceConfig* config = OpenText(root,
                                  "negative=-12\nword=twelve\ntail=12abc\nbig=3000000000\n"
                                  "huge=99999999999999999999\nempty=\n");
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(ReadInt(config, "negative", 0), -12);
  for (const char* key : {"word", "tail", "big", "huge", "empty"}) {
    EXPECT_EQ(ReadInt(config, key, 77), 77) << key;
  }
  EXPECT_EQ(ReadLongLong(config, "big", 0), 3000000000LL);
  EXPECT_EQ(ReadLongLong(config, "huge", 5), 5);
  CloseConfigNoSave(config);
}

TEST(ConfigFile, RefusesKeysAndValuesTheFileCouldNotHoldBack) {
  TempDeviceRoot root;
  DeviceConfig* config = OpenText(root, "a=1\n");
  ASSERT_NE(config, nullptr);
  WriteString(config, "with=equals", "x");
  WriteString(config, "#comment", "x");
  WriteString(config, " padded", "x");
  WriteString(config, "line\nfeed", "x");
  WriteString(config, "a", std::string("bell\a").c_str());
  WriteString(config, "long", std::string(KeyValueStore::kMaxLineBytes, 'x').c_str());
  EXPECT_STREQ(ReadString(config, "a", ""), "1");
  EXPECT_STREQ(ReadString(config, "long", "none"), "none");
  CloseConfig(config);
  EXPECT_EQ(root.Read(kPath), "a=1\n");
}

TEST(ConfigFile, KeepsAReadTextValidWhileOtherKeysChange) {
  TempDeviceRoot root;
  DeviceConfig* config = OpenText(root, "kept=short\n");
  ASSERT_NE(config, nullptr);
  const char* kept = ReadString(config, "kept", "");
  for (int i = 0; i < 1000; ++i) WriteInt(config, ("key" + std::to_string(i)).c_str(), i);
  for (int i = 0; i < 1000; i += 2) DeleteConfigKey(config, ("key" + std::to_string(i)).c_str());
  EXPECT_STREQ(kept, "short");
  CloseConfigNoSave(config);
}

TEST(ConfigFile, AcceptsNullHandlesAndKeysEverywhere) {
  EXPECT_STREQ(ReadString(nullptr, "a", "d"), "d");
  EXPECT_EQ(ReadLongLong(nullptr, "a", 5), 5);
  WriteInt(nullptr, "a", 1);
  EXPECT_EQ(SaveConfig(nullptr), -1);
  CloseConfig(nullptr);
  TempDeviceRoot root;
  DeviceConfig* config = OpenText(root, "a=1\n");
  EXPECT_EQ(ReadInt(config, nullptr, 3), 3);
  WriteString(config, "b", nullptr);
  EXPECT_STREQ(ReadString(config, "b", "d"), "");
  CloseConfigNoSave(config);
}

TEST(GlobalConfig, IsOpenedOnceAndRetriedWhileItsFolderIsMissing) {
  TempDeviceRoot root;
  EXPECT_EQ(GetGlobalConfig(), nullptr);
  root.Write("/mnt/ext1/system/config/global.cfg", "language=ru\n");
  DeviceConfig* global = GetGlobalConfig();
  ASSERT_NE(global, nullptr);
  EXPECT_EQ(GetGlobalConfig(), global);
  EXPECT_STREQ(ReadString(global, "language", ""), "ru");
  // A caller that closes the shared handle must not end it for everyone else.
  WriteString(global, "theme", "Dark");
  CloseConfig(global);
  EXPECT_EQ(GetGlobalConfig(), global);
  EXPECT_STREQ(ReadString(global, "theme", ""), "Dark");
  EXPECT_EQ(root.Read("/mnt/ext1/system/config/global.cfg"), "language=ru\ntheme=Dark\n");
}

TEST(GlobalConfig, SavesOnlyTheKeysThisProgramSetOnTopOfTheFileAsItIsNow) {
  TempDeviceRoot root;
  const std::string path = "/mnt/ext1/system/config/global.cfg";
  root.Write(path, "language=ru\ntheme=Light\nold_key=1\nstore_page_index=0\n");
  DeviceConfig* global = GetGlobalConfig();
  ASSERT_NE(global, nullptr);
  ASSERT_STREQ(ReadString(global, "language", ""), "ru");
  // Another program changes the language, adds a key and removes one while the handle is open.
  root.Write(path, "language=de\ntheme=Light\nstore_page_index=0\nnew_key=2\n");
  WriteInt(global, "store_page_index", 3);
  DeleteConfigKey(global, "theme");
  ASSERT_EQ(SaveConfig(global), 0);
  EXPECT_EQ(root.Read(path), "language=de\nstore_page_index=3\nnew_key=2\n");
  // A later save changes nothing the other program wrote since.
  root.Write(path, "language=fr\nstore_page_index=3\n");
  WriteInt(global, "store_page_index", 4);
  ASSERT_EQ(SaveConfig(global), 0);
  EXPECT_EQ(root.Read(path), "language=fr\nstore_page_index=4\n");
}

TEST(GlobalConfig, IsReadAgainForAnotherDeviceRoot) {
  {
    TempDeviceRoot first;
    first.Write("/mnt/ext1/system/config/global.cfg", "language=de\n");
    EXPECT_STREQ(ReadString(GetGlobalConfig(), "language", ""), "de");
  }
  TempDeviceRoot second;
  second.Write("/mnt/ext1/system/config/global.cfg", "language=fr\n");
  EXPECT_STREQ(ReadString(GetGlobalConfig(), "language", ""), "fr");
}

}  // namespace
