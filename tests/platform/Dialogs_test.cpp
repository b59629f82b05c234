#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "DialogAnswerQueue.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/lang.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::platform {
namespace {

using test::JournalReader;
using test::TempDeviceRoot;

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.Write("/ebrmain/language/en.txt",
                "NET_ENETWORK=No network connection\nYes=Yes\nNo=No\nDelete=Delete\n");
    LoadLanguage("en");
    DialogAnswerQueue::Get().Clear();
  }
  void TearDown() override { DialogAnswerQueue::Get().Clear(); }

  std::vector<Json::Value> Dialogs() const {
    return JournalReader(root_.HostRoot()).Events("dialog");
  }

  TempDeviceRoot root_;
};

TEST_F(DialogsTest, MessageIsJournaledInTheCurrentLanguage) {
  Message(ICON_ERROR, "@NET_ENETWORK", "plain @text", 4000);
  Message(ICON_INFORMATION, "@Unknown_key", nullptr, 0);

  const auto messages = JournalReader(root_.HostRoot()).Events("message");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0]["icon"].asInt(), 4);
  EXPECT_EQ(messages[0]["title"].asString(), "No network connection");
  EXPECT_EQ(messages[0]["text"].asString(), "plain @text");
  EXPECT_EQ(messages[0]["timeout"].asInt(), 4000);
  EXPECT_EQ(messages[1]["title"].asString(), "Unknown_key");
  EXPECT_EQ(messages[1]["text"].asString(), "");
}

TEST_F(DialogsTest, InvalidUtf8FromFilesKeepsTheJournalLineText) {
  // Texts from JSON and configuration files may hold any bytes.
  Message(ICON_ERROR, "cut \xc3", "bad \xff\xfe bytes", 1000);
  DialogSynchro(ICON_ERROR, "ok \xd0\x96", "\xe2\x82", "\x80", nullptr, nullptr);
  std::ifstream in(root_.Host("/.sim/journal.jsonl"), std::ios::binary);
  const std::string journal((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const char bad : {'\xff', '\xfe', '\xc3'})
    EXPECT_EQ(journal.find(bad), std::string::npos) << "raw byte " << int(static_cast<unsigned char>(bad));
  const std::string replacement = "\xef\xbf\xbd";
  const auto messages = JournalReader(root_.HostRoot()).Events("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["title"].asString(), "cut " + replacement);
  EXPECT_EQ(messages[0]["text"].asString(), "bad " + replacement + replacement + " bytes");
  const auto dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["title"].asString(), "ok \xd0\x96") << "valid text stays as it is";
  EXPECT_EQ(dialogs[0]["text"].asString(), replacement + replacement);
  EXPECT_EQ(dialogs[0]["buttons"][0].asString(), replacement);
}

TEST_F(DialogsTest, QueuedAnswersAreTakenInOrderThenTheFirstButton) {
  QueueDialogAnswer(2);
  QueueDialogAnswer(3);

  EXPECT_EQ(DialogSynchro(ICON_QUESTION, "@Delete", "Sure?", "@No", "@Yes", "Later"), 2);
  EXPECT_EQ(DialogSynchro(ICON_QUESTION, "@Delete", "Sure?", "@No", "@Yes", "Later"), 3);
  EXPECT_EQ(DialogSynchro(ICON_QUESTION, "@Delete", "Sure?", "@No", "@Yes", "Later"), 1);

  const auto dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(dialogs[0]["title"].asString(), "Delete");
  EXPECT_EQ(dialogs[0]["buttons"].size(), 3u);
  EXPECT_EQ(dialogs[0]["buttons"][1].asString(), "Yes");
  EXPECT_EQ(dialogs[0]["answer"].asInt(), 2);
  EXPECT_EQ(dialogs[2]["answer"].asInt(), 1);
}

TEST_F(DialogsTest, AnswerThatNamesNoButtonFallsBackToTheFirst) {
  QueueDialogAnswer(3);
  QueueDialogAnswer(-1);
  QueueDialogAnswer(0);

  EXPECT_EQ(DialogSynchro(ICON_QUESTION, "t", "x", "@No", "@Yes", nullptr), 1);
  EXPECT_EQ(DialogSynchro(ICON_QUESTION, "t", "x", "@No", "@Yes", nullptr), 1);
  EXPECT_EQ(DialogSynchro(ICON_QUESTION, "t", "x", "@No", "@Yes", nullptr), 0)
      << "0 is a dismissed dialog";
  EXPECT_EQ(Dialogs()[0]["buttons"].size(), 2u);
}

TEST_F(DialogsTest, DialogWithoutButtonsIsDismissedAndLeavesTheQueue) {
  QueueDialogAnswer(2);

  EXPECT_EQ(DialogSynchro(ICON_ERROR, "@Error", "broken", nullptr, "ignored", nullptr), 0);

  EXPECT_EQ(DialogAnswerQueue::Get().Size(), 1u);
  EXPECT_EQ(Dialogs()[0]["buttons"].size(), 0u);
}

TEST_F(DialogsTest, AnswersFromManyThreadsAreKeptUpToTheCap) {
  std::vector<std::thread> feeders;
  for (int t = 0; t < 4; ++t) {
    feeders.emplace_back([] {
      for (int i = 0; i < 20; ++i) QueueDialogAnswer(2);
    });
  }
  for (auto& feeder : feeders) feeder.join();

  EXPECT_EQ(DialogAnswerQueue::Get().Size(), DialogAnswerQueue::kMaxQueued);
  for (size_t i = 0; i < DialogAnswerQueue::kMaxQueued; ++i) {
    ASSERT_EQ(DialogSynchro(ICON_QUESTION, "t", "x", "a", "b", nullptr), 2);
  }
  EXPECT_EQ(DialogSynchro(ICON_QUESTION, "t", "x", "a", "b", nullptr), 1);
}

}  // namespace
}  // namespace marrowleaf::platform
