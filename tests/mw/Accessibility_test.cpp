// Speech for the screen reader and the navigation of its gestures.
#include <gtest/gtest.h>

#include "MWTestSupport.h"
#include "platform/mw/MWAccessibilityAudio.h"
#include "platform/mw/MWAccessibilityNavigation.h"
#include "support/JournalReader.h"

namespace {

using marrowleaf::test::JournalReader;
using marrowleaf::test::RecordingFrame;
using marrowleaf::test::WindowTestRoot;

TEST(Accessibility, SpokenGroupsAreJournaledWithoutTheirEmptyPartsAndCut) {
  WindowTestRoot root;
  EXPECT_EQ(MWAccessibilityAudio::PlayGroup({"Title", "", "Author"}), "Title, Author");
  EXPECT_EQ(MWAccessibilityAudio::PlayGroup(""), "");
  const auto speech = JournalReader(root.Root().HostRoot()).Events("speech");
  ASSERT_EQ(speech.size(), 1u);
  EXPECT_EQ(speech[0]["text"].asString(), "Title, Author");
  // The screen reader is off in a fresh device root: nothing is spoken aloud.
  EXPECT_FALSE(speech[0]["aloud"].asBool());
  EXPECT_EQ(MWAccessibilityAudio::PlayGroup(std::string(10000, 'a')).size(),
            MWAccessibilityAudio::kMaxTextBytes) << "a very long text is cut";
}

TEST(Accessibility, NavigationWalksTheFocusableWindowsInOrderAndWraps) {
  WindowTestRoot root;
  RecordingFrame frame;
  frame.Create(0, 0, 600, 760, 1);
  auto* first = frame.MakeChild<MWWindow>(0, 0, 10, 10, MWS_VISIBLE | MWS_TABSTOP);
  frame.MakeChild<MWWindow>(0, 20, 10, 10, MWS_VISIBLE);  // not focusable
  auto* last = frame.MakeChild<MWWindow>(0, 40, 10, 10, MWS_VISIBLE);
  last->SetCommandID(3);  // a window with a command can take the focus
  EXPECT_EQ(MWAccessibilityNavigation::navigate(MW_ACCESSIBILITY_NEXT, &frame), first);
  EXPECT_EQ(MWAccessibilityNavigation::navigate(MW_ACCESSIBILITY_PREVIOUS, &frame), last);
  first->SetFocus();
  EXPECT_EQ(MWAccessibilityNavigation::navigate(MW_ACCESSIBILITY_NEXT, &frame), last);
  last->SetFocus();
  EXPECT_EQ(MWAccessibilityNavigation::navigate(MW_ACCESSIBILITY_NEXT, &frame), first);
  EXPECT_EQ(MWAccessibilityNavigation::navigate(MW_ACCESSIBILITY_OPEN, &frame), nullptr);
}

// A screen that moves the accessibility focus itself, as the applications screen does.
class NavigatingScreen : public MWWindow {
 public:
  int AccessibilityNavigateCommandHandler(int command) override {
    MWWindow* target = MWAccessibilityNavigation::navigate(command, this);
    if (target == nullptr)
      return 0;
    target->SetFocus();
    return 1;
  }
};

TEST(Accessibility, GesturesReachTheFocusedWindowAndThenItsParents) {
  marrowleaf::test::WindowTestRoot root;
  marrowleaf::test::RecordingFrame frame;
  frame.Create(0, 0, 600, 760, 1);
  auto* screen = frame.MakeChild<NavigatingScreen>(0, 0, 600, 760, MWS_VISIBLE);
  auto* book = screen->MakeChild<MWWindow>(0, 0, 100, 100, MWS_VISIBLE);
  book->SetCommandID(10);
  book->SetHoldCommandID(11);
  auto* other = screen->MakeChild<MWWindow>(0, 200, 100, 100, MWS_VISIBLE | MWS_TABSTOP);
  // Nothing has the focus: navigation starts at the top screen.
  EXPECT_EQ(frame.DispatchAccessibilityCommand(MW_ACCESSIBILITY_NEXT), 1);
  EXPECT_EQ(frame.GetFocusedWindow(), book);
  EXPECT_EQ(frame.DispatchAccessibilityCommand(MW_ACCESSIBILITY_MENU), 1);
  ASSERT_EQ(frame.commands.size(), 1u);
  EXPECT_EQ(frame.commands[0].id, 11);
  EXPECT_EQ(frame.DispatchAccessibilityCommand(MW_ACCESSIBILITY_NEXT), 1);
  EXPECT_EQ(frame.GetFocusedWindow(), other);
  // A window without commands opens nothing, and nobody else takes the gesture.
  EXPECT_EQ(frame.DispatchAccessibilityCommand(MW_ACCESSIBILITY_OPEN), 0);
  EXPECT_EQ(frame.commands.size(), 1u);
}

}  // namespace
