// Journeys through the real program on the sample device: a tap opens what the reader expects,
// checked through the journal of what it started and through its screen. Places on the screen are
// those of the sample device's default profile (6in-1072: 1072 x 1448, three tiles a page).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/utils/SmartBitmap.h"
#include "e2e/Journey.h"

namespace marrowleaf::test {
namespace {

// The home screen of 6in-1072: the device block's tiles (one row a page), the store block's first
// tile and "more" button, and the shortcut row.
constexpr const char* kTile0 = "191 777";
constexpr const char* kTile1 = "535 777";
constexpr const char* kTile2 = "878 777";
constexpr const char* kStoreTile = "146 293";
constexpr const char* kStoreMore = "1004 40";
constexpr const char* kLibraryShortcut = "107 1160";
constexpr const char* kApplicationsShortcut = "963 1171";
// The applications screen: the first row of the first group, and a drag from an icon upwards by
// 700 pixels, after which "Settings" is at kSettingsAfterDrag.
constexpr const char* kAppCells[] = {"178 281", "535 281", "892 281"};
constexpr const char* kDragFromIcon = "swipe 178 805 178 105";
constexpr const char* kSettingsAfterDrag = "535 957";

std::string Line(const char* verb, const char* place) {
  return std::string(verb) + " " + place + "\n";
}

class OpeningJourney : public Journey {
 protected:
  void SetUp() override { MakeDevice(); }
  // The generated device profile with lines added (later lines win).
  void Profile(const std::string& lines) {
    if (generated_profile_.empty())
      generated_profile_ = root_.Read("/.sim/device.cfg");
    root_.Write("/.sim/device.cfg", generated_profile_ + lines);
  }
  // What the stand-ins were started as: "path arg arg".
  std::vector<std::string> Started() const {
    std::vector<std::string> started;
    for (const Json::Value& standin : Journal("standin")) {
      std::string line = standin["path"].asString();
      for (const Json::Value& argument : standin["args"]) line += " " + argument.asString();
      started.push_back(line);
    }
    return started;
  }
  // Dark pixels of a screenshot in a band of rows.
  int DarkPixels(const std::string& device_path, int top, int bottom) const {
    const SmartBitmap screen = SmartBitmap::DecodePNG(root_.Read(device_path), 0);
    EXPECT_FALSE(screen.IsEmpty()) << device_path;
    int dark = 0;
    for (int y = top; y < bottom && y < screen.Height(); y += 2) {
      for (int x = 0; x < screen.Width(); x += 2) dark += (screen.PixelColor(x, y) & 0xff) < 0x60;
    }
    return dark;
  }

  std::string generated_profile_;
};

TEST_F(OpeningJourney, ABookOpensInItsReaderAndTheHomeScreenComesBackWithItFirst) {
  // "Borrowed Light" is the middle tile of the third page; the reader shows it for a while.
  Run("key next\nkey next\nidle\n" + Line("tap", kTile1) +
          "wait 400\nscreenshot " + root_.Host("/.sim/reader.png") +
          "\nwait 2500\nidle\nscreenshot " + root_.Host("/.sim/back.png") + "\n" + Line("tap", kTile0) + "wait 500\n",
      {"MARROWLEAF_STANDIN_MS=1500"});
  const std::string book = "/mnt/ext1/Books/Loans/Borrowed Light.fb2";
  const std::vector<std::string> started = Started();
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[0], "/ebrmain/bin/reader.app " + book);
  EXPECT_TRUE(Journal("standin")[0]["opened"].asBool()) << "the reader marked it as opened";
  // Back on the first page the book is the newest of all, before the pending download.
  EXPECT_EQ(started[1], started[0]);
  // While the reader held the screen it showed its book, not the home screen's shortcuts.
  EXPECT_GT(DarkPixels("/.sim/reader.png", 450, 700), 0);
  EXPECT_EQ(DarkPixels("/.sim/reader.png", 1100, 1250), 0);
  EXPECT_GT(DarkPixels("/.sim/back.png", 1100, 1250), 0);
  ASSERT_FALSE(Journal("speech").empty());
}

TEST_F(OpeningJourney, TheMoreTileAndTheLibraryShortcutOpenTheLibraryAndAGroupStaysHome) {
  Run(Line("tap", kTile2) + "idle\nevent home\nidle\nkey next\nkey next\nidle\n" +
      Line("tap", kTile2) + "wait 300\nidle\n" + Line("tap", kLibraryShortcut) + "wait 300\n");
  EXPECT_EQ(Started(), (std::vector<std::string>{"/ebrmain/bin/explorer.app -a",
                                                 "/ebrmain/bin/explorer.app"}))
      << "the group opened the add-books state, which starts nothing";
}

TEST_F(OpeningJourney, TheApplicationsScreenShowsWhatIsNotOnTheRowAndScrollsByDrag) {
  std::string script;
  for (const char* cell : kAppCells)
    script += Line("tap", kApplicationsShortcut) + "idle\n" + Line("tap", cell) + "wait 300\nidle\n";
  script += Line("tap", kApplicationsShortcut) + "idle\n" + kDragFromIcon + "\nidle\n" +
            Line("tap", kSettingsAfterDrag) + "wait 300\n";
  Run(script);
  // The first group's first row: the reading applications that are not on the row (the library,
  // the store and the audiobooks are).
  EXPECT_EQ(Started(), (std::vector<std::string>{"/ebrmain/bin/dictionary.app --dictionary en",
                                                 "/ebrmain/bin/podcasts.app", "/ebrmain/bin/tts.app",
                                                 "/ebrmain/bin/settings.app"}));
  int fast_updates = 0;
  for (const auto& update : Journal("update")) fast_updates += update["kind"].asString() == "dynamic";
  EXPECT_GT(fast_updates, 0) << "the drag ran in fast updates";
}

TEST_F(OpeningJourney, KeysScrollTheApplicationsScreenAndWrapFromTheLastGroupToTheFirst) {
  MakeDevice("6in-keys");
  // Down into the shortcut row, right to its last entry (the applications screen), open it: the
  // focus is on its first application. Four rows down is the user's own application, the last
  // group (the key device has no network applications); reopened, up from the first group wraps
  // to it, and down from it wraps back to the first group.
  Run("key down long\nidle\nkey right long\nidle\nkey ok\nidle\n"
      "key down\nkey down\nkey down\nkey down\nidle\nkey ok\nwait 300\nidle\n"
      "key down long\nidle\nkey right long\nidle\nkey ok\nidle\n"
      "key up\nkey down\nkey down\nidle\nkey ok\nwait 300\n");
  EXPECT_EQ(Started(), (std::vector<std::string>{"/mnt/ext1/applications/Sudoku.app",
                                                 "/ebrmain/bin/calendar.app"}));
}

// Each partner's programs are OpeningTest.StoreTilesAndTheMoreButtonStartThePartnersPrograms; here
// the device's own store, which names the offer by its store id, the hash of its link.
TEST_F(OpeningJourney, AStoreTileAndTheMoreButtonStartTheStoreOnTheirOffer) {
  Run(Line("tap", kStoreTile) + "wait 300\nidle\n" + Line("tap", kStoreMore) + "wait 300\n");
  const std::vector<std::string> started = Started();
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[0].rfind("/ebrmain/bin/bookstore.app -recommendation weekly_picks ", 0), 0u)
      << started[0];
  EXPECT_EQ(started[1], "/ebrmain/bin/bookstore.app -more weekly_picks "
                        "https://store.example/collections/weekly");
}

TEST_F(OpeningJourney, ASampleBookOnAPartnerDeviceRecordsItsOpening) {
  Profile("partner=24\n");
  root_.Write("/mnt/ext1/system/empik-2/empik_static_info/info.txt", "user_email=reader@example.org\n");
  Run("key next\nkey next\nidle\n" + Line("tap", kTile0) + "wait 300\n");
  const auto usage = Journal("usage");
  ASSERT_EQ(usage.size(), 1u);
  EXPECT_EQ(usage[0]["name"].asString(), "product_open");
  EXPECT_EQ(usage[0]["parameters"]["product_id"].asString(), "EG-8800123");
  EXPECT_EQ(usage[0]["parameters"]["user_id"].asString(), "reader@example.org");
  EXPECT_NE(root_.Read("/mnt/ext1/system/statistics/usage_events.json").find("EG-8800123"),
            std::string::npos);
}

TEST_F(OpeningJourney, WithTheScreenReaderOnWhatOpensIsSpokenAloud) {
  // The device state all tasks share: its first byte turns the screen reader on.
  root_.Write("/var/run/device_state", std::string("\x01", 1) + std::string(15, '\0'));
  root_.MakeFolder("/.sim/speech");
  Run(Line("tap", kLibraryShortcut) + "wait 300\n",
      {"MARROWLEAF_SPEECH_WAV=" + root_.Host("/.sim/speech")});
  int opening = -1;
  int aloud = 0;
  for (const auto& speech : Journal("speech")) {
    aloud += speech["aloud"].asBool();
    if (speech["text"].asString().find("Opening") == 0) opening = aloud;
  }
  ASSERT_GT(opening, 0) << "the library's start was announced aloud";
  const std::string wav = root_.Read("/.sim/speech/speech-" + std::to_string(opening) + ".wav");
  ASSERT_GT(wav.size(), 44u + 1000u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(wav.substr(8, 4), "WAVE");
  // Sound, not silence: the samples after the header vary.
  int loud = 0;
  for (size_t i = 44; i + 1 < wav.size(); i += 2) {
    const int sample = static_cast<int16_t>(static_cast<uint8_t>(wav[i]) | (static_cast<uint8_t>(wav[i + 1]) << 8));
    loud += sample > 1000 || sample < -1000;
  }
  EXPECT_GT(loud, 100);
  EXPECT_EQ(Started(), (std::vector<std::string>{"/ebrmain/bin/explorer.app"}));
}

}  // namespace
}  // namespace marrowleaf::test
