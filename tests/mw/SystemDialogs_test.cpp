// Messages and dialogs of the system over a running frame, driven by scripts as a person would
// drive the simulator: they show on the panel, "windows" lists them, a dialog holds the program
// while the script reads it and answers it with taps, keys or "answer N", and what they covered is
// shown again when they go.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "DialogAnswerQueue.h"
#include "DialogLayer.h"
#include "Display.h"
#include "MWTestSupport.h"
#include "ScriptPlayer.h"
#include "WindowList.h"
#include "platform/mw/MWDisplay.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/events.h"
#include "platform/sdk/tasks.h"
#include "support/JournalReader.h"
#include "support/RecordingBackend.h"
#include "support/ScreenReader.h"

namespace marrowleaf::platform {
namespace {

using test::JournalReader;
using test::ScreenReader;
using test::WindowTestRoot;

// Events of the test program: ask the delete question, show a note, note a number.
enum TestEvent { kAsk = 5001, kNote, kMark };

// Bands of black, grey and white, so that anything left of a box shows.
class Stripes : public MWWindow {
 public:
  int OnDraw(MWGraphics& graphics) override {
    const int colours[] = {0x000000, 0x888888, 0xFFFFFF};
    for (int y = 0, band = 0; y < Height(); y += 20, ++band)
      graphics.FillRect(MWRect{0, y, Width(), 20}, colours[band % 3]);
    return 0;
  }
};

// A program that asks on kAsk and on the menu key, and logs what it receives, in order.
class AskingFrame : public MWAppFrame {
 public:
  AskingFrame() : MWAppFrame(0, nullptr) {}
  int MainHandler(int type, int par1, int /*par2*/) override {
    if (type == kAsk || (type == EVT_KEYPRESS && par1 == KEY_MENU)) {
      log.push_back("answer " + std::to_string(DialogSynchro(ICON_QUESTION, "Delete",
                                                              "Delete this book from the device?",
                                                              "No", "Yes", "Later")));
      return 1;
    }
    if (type == kNote) {
      Message(ICON_INFORMATION, "Saved", "The reading position was saved.", 300);
      return 1;
    }
    if (type == kMark) {
      log.push_back("mark " + std::to_string(par1));
      return 1;
    }
    if (type == EVT_EXIT) {
      CloseApp();
      return 1;
    }
    if (type == EVT_KEYRELEASE || type == EVT_POINTERDOWN)
      log.push_back("input " + std::to_string(type));
    return 0;
  }
  std::vector<std::string> log;
};

AskingFrame* playing = nullptr;

int Receive(int type, int par1, int par2) {
  return playing->HandleEvent(type, par1, par2);
}

class SystemDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("MARROWLEAF_DISPLAY", "headless", 1);
    DialogLayer::Get().Reset();
    DialogAnswerQueue::Get().Clear();
    InstallDisplay();
    // The panel's copy of what updates showed: the dialogs must reach the screen by updates.
    Display::Get().InstallBackend(std::make_unique<marrowleaf::test::RecordingBackend>());
    frame_.Create(0, 0, 600, 760, 1);
    frame_.MakeChild<Stripes>(0, 0, 600, 760, MWS_VISIBLE);
    playing = &frame_;
  }
  void TearDown() override {
    CloseDisplay();
    DialogLayer::Get().Reset();
    DialogAnswerQueue::Get().Clear();
    playing = nullptr;
  }

  // Plays a script on the frame; each "screenshot" also keeps what the panel showed then.
  void Play(const std::string& text, std::unique_ptr<ScriptPlayer> script = nullptr) {
    std::string error;
    if (!script)
      script = ScriptPlayer::Parse(text, "test", &error);
    ASSERT_TRUE(script) << error;
    script->SetScreenshotHook([this](const std::string& file) {
      panels_.push_back(Display::Get().Panel());
      return SaveDisplayScreenshot(file);
    });
    script->SetWindowsHook([this](const std::string& file) {
      return SaveSimulatorFile(file, WindowList::Describe(frame_));
    });
    EventLoop::Get().SetHandler(&Receive);
    frame_.ReDraw();
    EventLoop::Get().Run(script.get());
    EventLoop::Get().Reset();
  }
  std::string File(const std::string& name) const { return root_.Root().Host("/.sim/" + name); }
  ScreenReader Screen(const std::string& name) const { return ScreenReader(File(name)); }

  WindowTestRoot root_;
  AskingFrame frame_;
  std::vector<PixelImage> panels_;
};

// Pixels of `a` and `b` that differ inside and outside a rectangle.
struct Difference {
  int inside = 0;
  int outside = 0;
};

Difference Compare(const PixelImage& a, const PixelImage& b, const ScreenReader::Window& box) {
  Difference difference;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.At(x, y) == b.At(x, y))
        continue;
      const bool inside = x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
      ++(inside ? difference.inside : difference.outside);
    }
  }
  return difference;
}

TEST_F(SystemDialogs, ADialogHoldsTheProgramUntilItsKeysAnswerAndLeavesTheScreenAsItWas) {
  Play("screenshot " + File("before.png") + "\n" +
       "event " + std::to_string(kAsk) + "\n" +
       "event " + std::to_string(kMark) + " 7\n" +
       "windows " + File("open.json") + "\n" +
       "screenshot " + File("open.png") + "\n" +
       "key right\n" +
       "windows " + File("moved.json") + "\n" +
       "key ok\n" +
       "idle\n" +
       "screenshot " + File("after.png") + "\n" +
       "windows " + File("after.json") + "\n");

  EXPECT_EQ(frame_.log, (std::vector<std::string>{"answer 2", "mark 7"}))
      << "the program's own event waits for the answer";
  const ScreenReader open = Screen("open.json");
  const ScreenReader::Window dialog = open.Find("dialog");
  EXPECT_EQ(dialog.class_name, "Dialog");
  EXPECT_EQ(dialog.title, "Delete");
  EXPECT_EQ(dialog.text, "Delete this book from the device?");
  EXPECT_EQ(open.Text("dialog/button1"), "No");
  EXPECT_EQ(open.Text("dialog/button3"), "Later");
  EXPECT_EQ(open.FocusedPath(), "dialog/button1") << "the keys act on the dialog only";
  EXPECT_EQ(Screen("moved.json").FocusedPath(), "dialog/button2");
  EXPECT_FALSE(Screen("after.json").Shows("dialog"));

  // The box was on the panel, and only there; afterwards the panel is as it was.
  ASSERT_EQ(panels_.size(), 3u);
  const Difference shown = Compare(panels_[0], panels_[1], dialog);
  EXPECT_GT(shown.inside, dialog.w * dialog.h / 2);
  EXPECT_EQ(shown.outside, 0);
  const Difference left = Compare(panels_[0], panels_[2], dialog);
  EXPECT_EQ(left.inside + left.outside, 0);
  std::ifstream before(File("before.png"), std::ios::binary);
  std::ifstream during(File("open.png"), std::ios::binary);
  EXPECT_NE(std::string(std::istreambuf_iterator<char>(before), {}),
            std::string(std::istreambuf_iterator<char>(during), {}))
      << "the screenshot shows the dialog";

  const auto dialogs = JournalReader(root_.Root().HostRoot()).Events("dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["answer"].asInt(), 2);
  EXPECT_EQ(dialogs[0]["buttons"].size(), 3u);
}

TEST_F(SystemDialogs, TapsAndTheScriptAnswerDialogsAndAMessageGoesAfterItsTimeOut) {
  // Where the third button is.
  Play("event " + std::to_string(kAsk) + "\nwindows " + File("open.json") + "\nanswer 0\n");
  const ScreenReader::Window later = Screen("open.json").Find("dialog/button3");
  ASSERT_GT(later.w, 0);
  frame_.log.clear();
  panels_.clear();

  Play("screenshot " + File("before.png") + "\n" +
       "event " + std::to_string(kAsk) + "\n" +
       "tap 5 5\n" +  // outside the dialog: nothing happens
       "tap " + std::to_string(later.CentreX()) + " " + std::to_string(later.CentreY()) + "\n" +
       "key menu\n" +  // asks again on the press; the release goes to the program afterwards
       "answer 2\n" +
       "event " + std::to_string(kNote) + "\n" +
       "windows " + File("note.json") + "\n" +
       "screenshot " + File("note.png") + "\n" +
       "wait 400\n" +
       "screenshot " + File("gone.png") + "\n" +
       "windows " + File("gone.json") + "\n");

  EXPECT_EQ(frame_.log, (std::vector<std::string>{"answer 3", "answer 2",
                                                  "input " + std::to_string(EVT_KEYRELEASE)}));
  const ScreenReader::Window note = Screen("note.json").Find("message");
  EXPECT_EQ(note.class_name, "Message");
  EXPECT_EQ(note.title, "Saved");
  EXPECT_FALSE(Screen("gone.json").Shows("message"));
  ASSERT_EQ(panels_.size(), 3u);
  EXPECT_GT(Compare(panels_[0], panels_[1], note).inside, 0);
  const Difference left = Compare(panels_[0], panels_[2], note);
  EXPECT_EQ(left.inside + left.outside, 0);
}

TEST_F(SystemDialogs, WithNobodyToAnswerTheFirstButtonIsTakenAtOnce) {
  // The headless run without a script, and a script that ends, leave the dialog to its default.
  EventLoop::Get().Post(nullptr, kAsk, 0, 0);
  Play("", ScriptPlayer::DefaultHeadless(File("default.png")));
  Play("event " + std::to_string(kAsk) + "\n");
  EXPECT_EQ(frame_.log, (std::vector<std::string>{"answer 1", "answer 1"}));
  EXPECT_TRUE(DialogLayer::Get().Boxes().empty());
}

}  // namespace
}  // namespace marrowleaf::platform
