// Device facts, global switches, user profiles and the shared device state, from the device profile
// of a temporary device root.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "DeviceProfile.h"
#include "platform/sdk/device.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace {

using marrowleaf::platform::DeviceProfile;
using marrowleaf::test::JournalReader;
using marrowleaf::test::TempDeviceRoot;

constexpr const char* kProfile = "/.sim/device.cfg";

TEST(DeviceProfile, AnswersAsTheDefaultTouchDeviceWithoutAProfileFile) {
  TempDeviceRoot root;
  EXPECT_EQ(DeviceProfile::Get().Int("screen_width"), 1072);
  EXPECT_EQ(DeviceProfile::Get().Int("screen_height"), 1448);
  EXPECT_EQ(DeviceProfile::Get().Int("panel_height"), 1448 * 4 / 100);
  EXPECT_EQ(_device_touchpanel(), 1);
  EXPECT_EQ(device_display_colormask(), 0);
  EXPECT_EQ(device_number(), 629);
  EXPECT_STREQ(GetCurrentProfile(), "");
}

TEST(DeviceProfile, TakesTheProfileFileOverTheDefaultsAndIgnoresBadNumbers) {
  TempDeviceRoot root;
  root.Write(kProfile,
             "screen_width=758\nscreen_height=1024\ntouch=0\ncolor=1\ndevice_number=x\n"
             "partner=17\npartner_name=Partner Books\nsafe_mode=1\nsoftware_version=U6.1\n");
  EXPECT_EQ(DeviceProfile::Get().Int("screen_width"), 758);
  EXPECT_EQ(DeviceProfile::Get().Int("panel_height"), 1024 * 4 / 100);
  EXPECT_EQ(_device_touchpanel(), 0);
  EXPECT_NE(device_display_colormask(), 0);
  EXPECT_EQ(device_number(), 629);
  EXPECT_EQ(GetCustomizedPartner(), 17);
  EXPECT_STREQ(GetCustomizedPartnerName(), "Partner Books");
  EXPECT_EQ(SafeMode(), 1);
  EXPECT_STREQ(GetSoftwareVersion(), "U6.1");
}

TEST(DeviceProfile, IsReadAgainOnReloadAndForEachDeviceRoot) {
  const char* version = nullptr;
  {
    TempDeviceRoot first;
    first.Write(kProfile, "software_version=first\n");
    version = GetSoftwareVersion();
    EXPECT_STREQ(version, "first");
    first.Write(kProfile, "software_version=rewritten\n");
    EXPECT_STREQ(GetSoftwareVersion(), "first") << "read once until reloaded";
    ReloadDeviceProfile();
    EXPECT_STREQ(GetSoftwareVersion(), "rewritten");
  }
  TempDeviceRoot second;
  second.Write(kProfile, "software_version=second\n");
  EXPECT_STREQ(GetSoftwareVersion(), "second");
  EXPECT_STREQ(version, "first") << "a handed-out text outlives the reload";
}

TEST(DeviceProfile, KeepsFrontLightAndFlightModeInTheProfileAndJournalsThem) {
  TempDeviceRoot root;
  SetFrontlightState(75);
  SetFrontlightState(150);
  SetFlightMode(5);
  ReloadDeviceProfile();
  EXPECT_EQ(GetFrontlightState(), 100);
  EXPECT_EQ(IsFlightModeEnabled(), 1);
  SetFlightMode(0);
  EXPECT_EQ(IsFlightModeEnabled(), 0);
  auto lights = JournalReader(root.HostRoot()).Events("frontlight");
  ASSERT_EQ(lights.size(), 2u);
  EXPECT_EQ(lights[0]["percent"].asInt(), 75);
  EXPECT_EQ(lights[1]["percent"].asInt(), 100);
  EXPECT_NE(root.Read(kProfile).find("frontlight=100\n"), std::string::npos);
}

TEST(UserProfiles, SwitchOnlyToAnExistingProfileFolderAndRememberIt) {
  TempDeviceRoot root;
  root.MakeFolder("/mnt/ext1/system/profiles/alice");
  EXPECT_EQ(pk_switch_profile("bob"), 0);
  EXPECT_STREQ(GetCurrentProfile(), "");
  EXPECT_EQ(pk_switch_profile("alice"), 1);
  EXPECT_STREQ(GetCurrentProfile(), "alice");
  ReloadDeviceProfile();
  EXPECT_STREQ(GetCurrentProfile(), "alice");
  auto switches = JournalReader(root.HostRoot()).Events("profile");
  ASSERT_EQ(switches.size(), 2u);
  EXPECT_EQ(switches[0]["result"].asInt(), 0);
  EXPECT_EQ(switches[1]["name"].asString(), "alice");
  EXPECT_EQ(switches[1]["result"].asInt(), 1);
}

TEST(UserProfiles, RefuseNamesThatLeaveTheProfilesFolder) {
  TempDeviceRoot root;
  root.MakeFolder("/mnt/ext1/system/profiles/a/b");
  root.MakeFolder("/mnt/ext1/system/elsewhere");
  root.MakeFolder("/mnt/ext1/system/profiles/" + std::string(65, 'p'));
  for (const std::string& name :
       {std::string("a/b"), std::string("../elsewhere"), std::string(".."), std::string("."),
        std::string(""), std::string(65, 'p')}) {
    EXPECT_EQ(pk_switch_profile(name.c_str()), 0) << name;
  }
  EXPECT_EQ(pk_switch_profile(nullptr), 0);
  EXPECT_STREQ(GetCurrentProfile(), "");
}

TEST(UserProfiles, CheckCreatesTheCurrentProfileFolder) {
  TempDeviceRoot root;
  EXPECT_EQ(pk_check_profile(), 0);
  root.Write(kProfile, "profile=carol\n");
  ReloadDeviceProfile();
  EXPECT_EQ(pk_check_profile(), 0);
  EXPECT_TRUE(root.Exists("/mnt/ext1/system/profiles/carol"));
  EXPECT_EQ(pk_check_profile(), 0);
}

TEST(SharedDeviceState, IsTheSameMemoryForEveryMappingOfTheFile) {
  TempDeviceRoot root;
  DeviceSharedState* state = GetDeviceSharedState();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(GetDeviceSharedState(), state);
  EXPECT_EQ(state->library_change_counter, 0u);

  int fd = open(root.Host("/var/run/device_state").c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  void* other = mmap(nullptr, sizeof(DeviceSharedState), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  close(fd);
  ASSERT_NE(other, MAP_FAILED);
  auto* second = static_cast<DeviceSharedState*>(other);
  state->library_change_counter = 41;
  state->screen_reader = 1;
  EXPECT_EQ(second->library_change_counter, 41u);
  EXPECT_EQ(second->screen_reader, 1);
  second->not_viewed_notifications = 7;
  EXPECT_EQ(state->not_viewed_notifications, 7);
  munmap(other, sizeof(DeviceSharedState));
}

TEST(SharedDeviceState, IsSeenByAnotherProcess) {
  TempDeviceRoot root;
  DeviceSharedState* state = GetDeviceSharedState();
  ASSERT_NE(state, nullptr);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A fresh mapping of its own, as a stand-in program would make.
    int fd = open(root.Host("/var/run/device_state").c_str(), O_RDWR);
    void* mine = fd < 0 ? MAP_FAILED
                        : mmap(nullptr, sizeof(DeviceSharedState), PROT_READ | PROT_WRITE,
                               MAP_SHARED, fd, 0);
    if (mine == MAP_FAILED)
      _exit(1);
    static_cast<DeviceSharedState*>(mine)->active_task = 1234;
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(state->active_task, 1234);
}

TEST(SharedDeviceState, IsMissingWhenItsFileCannotBeMade) {
  TempDeviceRoot root;
  root.Write("/var/run", "a file where the folder should be");
  EXPECT_EQ(GetDeviceSharedState(), nullptr);
}

}  // namespace
