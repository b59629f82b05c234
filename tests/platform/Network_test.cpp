#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sdk/device.h"
#include "platform/sdk/network.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::platform {
namespace {

using test::JournalReader;
using test::TempDeviceRoot;

class NetworkTest : public ::testing::Test {
 protected:
  void UseProfile(const std::string& profile) {
    root_.Write("/.sim/device.cfg", profile);
    ReloadDeviceProfile();
  }

  std::vector<Json::Value> NetEvents() const {
    return JournalReader(root_.HostRoot()).Events("net");
  }

  TempDeviceRoot root_;
};

TEST_F(NetworkTest, ConnectsOnlyWithANetworkAndStartsTheManagerOnlyWithWifi) {
  struct Case {
    const char* profile;
    int connect;  // NetConnect's and NetConnect2's answer
    int connected_bits;
    int state;
    int manager_start;
  };
  const std::vector<Case> cases = {
      {"wifi=1\nnetwork=1\n", 0, 0xf00, NET_CONNECTED, 0},
      {"wifi=1\nnetwork=0\n", -1, 0, NET_OFF, 0},
      {"wifi=0\nnetwork=1\n", -1, 0, NET_OFF, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.profile);
    UseProfile(c.profile);
    EXPECT_EQ(NetConnect(nullptr), c.connect);
    EXPECT_EQ(NetConnect2("home", 1), c.connect);
    EXPECT_EQ(QueryNetwork() & 0xf00, c.connected_bits);
    EXPECT_EQ(GetNetState(), c.state);
    EXPECT_EQ(NetMgr(0), 0);
    EXPECT_EQ(NetMgrStatus(), 0);
    EXPECT_EQ(NetMgr(1), c.manager_start);
    EXPECT_EQ(NetMgrStatus(), c.manager_start == 0 ? 1 : 0);
  }
  const auto events = NetEvents();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[0]["what"].asString(), "connect");
  EXPECT_EQ(events[1]["what"].asString(), "connect_silent");
  EXPECT_EQ(events[1]["name"].asString(), "home");
  EXPECT_EQ(events.back()["result"].asInt(), -1);
}

}  // namespace
}  // namespace marrowleaf::platform
