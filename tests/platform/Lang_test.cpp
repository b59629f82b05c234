// Language texts: the shipped English and Russian files, fallbacks, plural forms, formatted times
// and reads from several threads, in a temporary device root.
#include <atomic>
#include <cstring>
#include <ctime>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sdk/lang.h"
#include "support/TempDeviceRoot.h"

namespace {

using marrowleaf::test::TempDeviceRoot;

// A device root with the language files the firmware ships.
class ShippedLanguages : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* language : {"en", "ru"}) {
      const std::string source =
          std::string(MARROWLEAF_SOURCE_DIR) + "/desktop/res/lang/" + language + ".txt";
      FILE* file = std::fopen(source.c_str(), "rb");
      ASSERT_NE(file, nullptr) << source;
      std::string text;
      char buffer[4096];
      for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, got);
      std::fclose(file);
      root_.Write(std::string("/ebrmain/language/") + language + ".txt", text);
    }
  }

  TempDeviceRoot root_;
};

std::time_t LocalTime(int year, int month, int day) {
  std::tm time{};
  time.tm_year = year - 1900;
  time.tm_mon = month - 1;
  time.tm_mday = day;
  time.tm_hour = 12;
  time.tm_isdst = -1;
  return std::mktime(&time);
}

std::string FormatTime(const char* format, std::time_t t) {
  char buffer[128];
  int length = GetLangTime(buffer, sizeof buffer, format, t);
  return length < 0 ? "error " + std::to_string(length) : std::string(buffer, length);
}

TEST_F(ShippedLanguages, PicksEnglishPluralFormsByCount) {
  LoadLanguage("en");
  const std::string one = GetLangTextPlural("@AreYouSureYouWantToDeleteBookFromDevice", 1);
  EXPECT_NE(one.find("delete 1 book from"), std::string::npos) << one;
  for (int count : {2, 5, 11, 21, 22, 25}) {
    const std::string text = GetLangTextPlural("@AreYouSureYouWantToDeleteBookFromDevice", count);
    EXPECT_NE(text.find("delete " + std::to_string(count) + " books"), std::string::npos) << text;
  }
  EXPECT_STREQ(GetLangTextPlural("@NewBooks", 1), "new book");
  EXPECT_STREQ(GetLangTextPlural("@NewBooks", 21), "new books");
}

TEST_F(ShippedLanguages, PicksRussianPluralFormsByCount) {
  LoadLanguage("ru");
  const std::vector<std::pair<int, std::string>> expected = {
      {1, "1 книгу"},   {2, "2 книги"},   {5, "5 книг"},  {11, "11 книг"},
      {21, "21 книгу"}, {22, "22 книги"}, {25, "25 книг"}};
  for (const auto& [count, words] : expected) {
    const std::string text = GetLangTextPlural("@AreYouSureYouWantToDeleteBookFromDevice", count);
    EXPECT_NE(text.find("удалить " + words + " с"), std::string::npos) << count << ": " << text;
  }
  EXPECT_STREQ(GetLangTextPlural("@NewBooks", 21), "новая книга");
  EXPECT_STREQ(GetLangTextPlural("@NewBooks", 3), "новые книги");
  EXPECT_STREQ(GetLangTextPlural("@NewBooks", 11), "новых книг");
}

TEST_F(ShippedLanguages, TakesTheLanguageFromTheGlobalConfigurationAndUserTextsOverIt) {
  EXPECT_STREQ(CurrentLanguage(), "en");
  root_.Write("/mnt/ext1/system/config/global.cfg", "language=ru\n");
  root_.Write("/mnt/ext1/system/language/ru.txt", "Delete=Стереть\n");
  LoadLanguage(nullptr);
  EXPECT_STREQ(CurrentLanguage(), "ru");
  EXPECT_STREQ(GetLangText("@Delete"), "Стереть");
  EXPECT_STREQ(GetLangText("@Yes"), "Да");
  root_.Write("/mnt/ext1/system/config/global.cfg", "language=../../etc\n");
  LoadLanguage("");
  EXPECT_STREQ(CurrentLanguage(), "en");
}

TEST_F(ShippedLanguages, FormatsTimesWithTheLanguagesDayAndMonthNames) {
  const std::time_t sunday_may_5 = LocalTime(2024, 5, 5);
  LoadLanguage("en");
  EXPECT_EQ(FormatTime("@TimeFormatSDate", sunday_may_5), "May  5");
  EXPECT_EQ(FormatTime("%A, %d %B %Y, 100%%", sunday_may_5), "Sunday, 05 May 2024, 100%");
  LoadLanguage("ru");
  EXPECT_EQ(FormatTime("@TimeFormatSDate", sunday_may_5), " 5 мая");
  EXPECT_EQ(FormatTime("%a, %e %B", LocalTime(2024, 2, 14)), "ср, 14 февраля");
}

TEST_F(ShippedLanguages, ReportsBadTimeArgumentsUnknownKeysAndShortBuffers) {
  const std::time_t t = LocalTime(2024, 5, 5);
  char buffer[64];
  EXPECT_EQ(GetLangTime(nullptr, 64, "%Y", t), -1);
  EXPECT_EQ(GetLangTime(buffer, 0, "%Y", t), -1);
  EXPECT_EQ(GetLangTime(buffer, 64, "@NoSuchFormat", t), -100);
  EXPECT_EQ(GetLangTime(buffer, 4, "%Y", t), -2);
  EXPECT_EQ(GetLangTime(buffer, 5, "%Y", t), 4);
  EXPECT_STREQ(buffer, "2024");
}

TEST_F(ShippedLanguages, FormatsPrintfTextsAndCutsThemToFit) {
  LoadLanguage("en");
  char buffer[256];
  int length = pk_lang_format(buffer, sizeof buffer, "@AreYouSureYouWantToDeleteBookFromDevice_s",
                              "Moby Dick");
  EXPECT_STREQ(buffer, "Are you sure you want to delete “Moby Dick” from the device?");
  EXPECT_EQ(length, static_cast<int>(std::strlen(buffer)));
  char small[8];
  EXPECT_EQ(pk_lang_format(small, sizeof small, "@BuySampleWithoutDiscount", "9.99"), 7);
  EXPECT_STREQ(small, "Buy for");
  EXPECT_EQ(pk_lang_format(buffer, 0, "@Delete"), -1);
}

TEST_F(ShippedLanguages, DoesNotTrustATranslationWhoseConversionsDiffer) {
  root_.Write("/mnt/ext1/system/language/ru.txt",
              "BuySampleWithoutDiscount=Купить за %d руб. %s\nDelete=%n\n");
  LoadLanguage("ru");
  char buffer[64];
  pk_lang_format(buffer, sizeof buffer, "@BuySampleWithoutDiscount", "9.99");
  EXPECT_STREQ(buffer, "Buy for 9.99");
  root_.Write("/mnt/ext1/system/language/en.txt", "Delete=%n\n");
  LoadLanguage("en");
  EXPECT_EQ(pk_lang_format(buffer, sizeof buffer, "@Delete"), 0);
  EXPECT_STREQ(buffer, "");
}

TEST_F(ShippedLanguages, GivesConsistentTextsToReadersWhileTheLanguageIsReloaded) {
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  const std::set<std::string> deletes = {"Delete", "Удалить"};
  const std::set<std::string> plurals = {"new books", "новых книг"};
  std::vector<std::thread> readers;
  for (int i = 0; i < 3; ++i) {
    readers.emplace_back([&] {
      while (!stop) {
        if (!deletes.count(GetLangText("@Delete")))
          ++wrong;
        if (!plurals.count(GetLangTextPlural("@NewBooks", 25)))
          ++wrong;
      }
    });
  }
  for (int i = 0; i < 200; ++i) LoadLanguage(i % 2 ? "ru" : "en");
  stop = true;
  for (auto& reader : readers) reader.join();
  EXPECT_EQ(wrong, 0);
}

TEST(LanguageTexts, FallBackToEnglishThenToTheKeyWithoutAt) {
  TempDeviceRoot root;
  root.Write("/ebrmain/language/en.txt",
             "OnlyEnglish=English text\nBooks_one=%d book\nBooks_other=%d books\n"
             "Thing=%d thing(s)\n");
  root.Write("/ebrmain/language/de.txt", "Books_other=%d Bücher\nOwn=Eigener Text\n");
  LoadLanguage("de");
  EXPECT_STREQ(GetLangText("@Own"), "Eigener Text");
  EXPECT_STREQ(GetLangText("@OnlyEnglish"), "English text");
  EXPECT_STREQ(GetLangText("@Nowhere"), "Nowhere");
  const char* plain = "not a key";
  EXPECT_EQ(GetLangText(plain), plain);
  EXPECT_STREQ(GetLangText(nullptr), "");
  // German has no "_one" here: its "_other" form wins over the English "_one".
  EXPECT_STREQ(GetLangTextPlural("@Books", 1), "1 Bücher");
  EXPECT_STREQ(GetLangTextPlural("@Thing", 3), "3 thing(s)");
  EXPECT_STREQ(GetLangTextPlural("@Nowhere", 2), "Nowhere");
  EXPECT_STREQ(GetLangTextPlural("%d items", 4), "4 items");
}

TEST(LanguageTexts, AreReadAgainForAnotherDeviceRoot) {
  {
    TempDeviceRoot first;
    first.Write("/ebrmain/language/en.txt", "Word=first\n");
    EXPECT_STREQ(GetLangText("@Word"), "first");
  }
  TempDeviceRoot second;
  second.Write("/ebrmain/language/en.txt", "Word=second\n");
  EXPECT_STREQ(GetLangText("@Word"), "second");
}

}  // namespace
