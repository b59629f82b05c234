// The PC's mouse and keyboard as the device's input: event order, long presses and key repeats
// with the device's timing, and the keyboard's meaning.
#include <vector>

#include <gtest/gtest.h>

#include "InputMapper.h"
#include "KeyBindings.h"
#include "platform/sdk/events.h"

namespace {

using marrowleaf::platform::InputMapper;
using marrowleaf::platform::KeyBindings;

struct Event {
  int type;
  int par1;
  int par2;
  bool operator==(const Event& other) const {
    return type == other.type && par1 == other.par1 && par2 == other.par2;
  }
};

std::ostream& operator<<(std::ostream& out, const Event& event) {
  return out << "{" << event.type << ", " << event.par1 << ", " << event.par2 << "}";
}

class Recorder {
 public:
  InputMapper Mapper(bool touch = true) {
    return InputMapper(
        [this](int type, int par1, int par2) {
          events.push_back({type, par1, par2});
        },
        touch);
  }
  std::vector<Event> events;
};

TEST(InputMapper, AQuickClickIsADownAndAnUpWithoutALongPress) {
  Recorder recorder;
  InputMapper input = recorder.Mapper();
  input.PointerDown(100, 200, 1000);
  EXPECT_EQ(input.Tick(1200), 1500);
  input.PointerUp(101, 201, 1499);
  EXPECT_EQ(recorder.events,
            (std::vector<Event>{{EVT_POINTERDOWN, 100, 200}, {EVT_POINTERUP, 101, 201}}));
  EXPECT_EQ(input.Tick(5000), -1);
  EXPECT_EQ(recorder.events.size(), 2u);
}

// Also when no tick saw the hold.
TEST(InputMapper, HoldingTheButtonFiveHundredMillisecondsIsOneLongPressBeforeTheUp) {
  Recorder recorder;
  InputMapper input = recorder.Mapper();
  input.PointerDown(50, 60, 0);
  input.PointerMove(55, 58, 100);  // a trembling finger is still a hold
  input.Tick(500);
  input.Tick(900);
  input.PointerUp(55, 58, 1200);
  EXPECT_EQ(recorder.events, (std::vector<Event>{{EVT_POINTERDOWN, 50, 60},
                                                 {EVT_POINTERMOVE, 55, 58},
                                                 {EVT_POINTERLONG, 55, 58},
                                                 {EVT_POINTERUP, 55, 58}}));
  recorder.events.clear();
  input.PointerDown(10, 10, 2000);
  input.PointerUp(10, 10, 2800);
  EXPECT_EQ(recorder.events, (std::vector<Event>{{EVT_POINTERDOWN, 10, 10},
                                                 {EVT_POINTERLONG, 10, 10},
                                                 {EVT_POINTERUP, 10, 10}}));
}

TEST(InputMapper, AFingerThatMovesAwayIsASwipeAndNeverALongPress) {
  Recorder recorder;
  InputMapper input = recorder.Mapper();
  input.PointerDown(500, 300, 0);
  input.PointerMove(500 - InputMapper::kLongPressSlop - 1, 300, 100);
  input.PointerMove(300, 300, 200);
  EXPECT_EQ(input.Tick(2000), -1);
  input.PointerUp(300, 300, 2100);
  for (const Event& event : recorder.events) EXPECT_NE(event.type, EVT_POINTERLONG);
  EXPECT_EQ(recorder.events.back(), (Event{EVT_POINTERUP, 300, 300}));
}

TEST(InputMapper, MovesWithoutAButtonDownAndAnUpWithoutADownAreDropped) {
  Recorder recorder;
  InputMapper input = recorder.Mapper();
  input.PointerMove(1, 2, 0);
  input.PointerUp(1, 2, 10);
  input.PointerDown(5, 5, 20);
  input.PointerMove(5, 5, 30);  // no change of place
  EXPECT_EQ(recorder.events, (std::vector<Event>{{EVT_POINTERDOWN, 5, 5}}));
}

TEST(InputMapper, ADeviceWithoutATouchPanelIgnoresTheMouseButKeepsTheKeys) {
  Recorder recorder;
  InputMapper input = recorder.Mapper(false);
  input.PointerDown(5, 5, 0);
  input.Tick(1000);
  input.PointerUp(5, 5, 1100);
  input.KeyDown(KEY_OK, 2000);
  input.KeyUp(KEY_OK, 2100);
  EXPECT_EQ(recorder.events,
            (std::vector<Event>{{EVT_KEYPRESS, KEY_OK, 0}, {EVT_KEYRELEASE, KEY_OK, 0}}));
}

TEST(InputMapper, AHeldKeyRepeatsWithACountAndItsReleaseSaysItWasLong) {
  Recorder recorder;
  InputMapper input = recorder.Mapper();
  input.KeyDown(KEY_NEXT, 0);
  EXPECT_EQ(input.Tick(499), 500);
  EXPECT_EQ(input.Tick(500), 500 + InputMapper::kRepeatEveryMs);
  input.Tick(750);
  input.Tick(5000);  // a late tick is one repeat, not a burst
  input.KeyUp(KEY_NEXT, 5010);
  EXPECT_EQ(recorder.events, (std::vector<Event>{{EVT_KEYPRESS, KEY_NEXT, 0},
                                                 {EVT_KEYREPEAT, KEY_NEXT, 1},
                                                 {EVT_KEYREPEAT, KEY_NEXT, 2},
                                                 {EVT_KEYREPEAT, KEY_NEXT, 3},
                                                 {EVT_KEYRELEASE, KEY_NEXT, 1}}));
}

TEST(InputMapper, ASecondKeyEndsThePressOfTheFirstAndItsLateReleaseIsDropped) {
  Recorder recorder;
  InputMapper input = recorder.Mapper();
  input.KeyDown(KEY_LEFT, 0);
  input.KeyDown(KEY_RIGHT, 100);
  input.KeyUp(KEY_LEFT, 150);
  input.KeyUp(KEY_RIGHT, 200);
  EXPECT_EQ(recorder.events, (std::vector<Event>{{EVT_KEYPRESS, KEY_LEFT, 0},
                                                 {EVT_KEYRELEASE, KEY_LEFT, 0},
                                                 {EVT_KEYPRESS, KEY_RIGHT, 0},
                                                 {EVT_KEYRELEASE, KEY_RIGHT, 0}}));
}

TEST(KeyBindings, MapsThePcKeysOntoTheDeviceKeysAndF12OntoAScreenshot) {
  const std::pair<const char*, int> keys[] = {
      {"Up", KEY_UP},         {"Down", KEY_DOWN}, {"Left", KEY_LEFT},
      {"Right", KEY_RIGHT},   {"Return", KEY_OK}, {"Keypad Enter", KEY_OK},
      {"Escape", KEY_BACK},   {"Home", KEY_HOME}, {"PageUp", KEY_PREV},
      {"PageDown", KEY_NEXT}, {"Menu", KEY_MENU}, {"Delete", KEY_DELETE},
      {"Keypad +", KEY_PLUS}, {"-", KEY_MINUS},
  };
  for (const auto& [name, device_key] : keys) {
    const auto binding = KeyBindings::ForKeyName(name);
    EXPECT_EQ(binding.action, KeyBindings::Action::kDeviceKey) << name;
    EXPECT_EQ(binding.device_key, device_key) << name;
  }
  EXPECT_EQ(KeyBindings::ForKeyName("F12").action, KeyBindings::Action::kScreenshot);
  EXPECT_EQ(KeyBindings::ForKeyName("Q").action, KeyBindings::Action::kNone);
  EXPECT_EQ(KeyBindings::ForKeyName("").action, KeyBindings::Action::kNone);
}

}  // namespace
