#include <gtest/gtest.h>

#include <string>

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

TEST_F(NetworkTest, ConnectedProfileConnectsAndReportsTheConnection) {
  UseProfile("wifi=1\nnetwork=1\n");

  EXPECT_EQ(NetConnect(nullptr), 0);
  EXPECT_EQ(NetConnect2("home", 1), 0);
  EXPECT_EQ(QueryNetwork() & 0xf00, 0xf00);
  EXPECT_EQ(GetNetState(), NET_CONNECTED);

  const auto events = NetEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0]["what"].asString(), "connect");
  EXPECT_EQ(events[0]["result"].asInt(), 0);
  EXPECT_EQ(events[1]["what"].asString(), "connect_silent");
  EXPECT_EQ(events[1]["name"].asString(), "home");
}

TEST_F(NetworkTest, NetworkDownOrNoWifiFailsToConnect) {
  UseProfile("wifi=1\nnetwork=0\n");
  EXPECT_EQ(NetConnect(nullptr), -1);
  EXPECT_EQ(QueryNetwork() & 0xf00, 0);
  EXPECT_EQ(GetNetState(), NET_OFF);

  UseProfile("wifi=0\nnetwork=1\n");
  EXPECT_EQ(NetConnect2(nullptr, 0), -1);
  EXPECT_EQ(QueryNetwork() & 0xf00, 0);

  const auto events = NetEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0]["result"].asInt(), -1);
  EXPECT_EQ(events[1]["result"].asInt(), -1);
}

TEST_F(NetworkTest, ManagerStartsOnlyWithWifi) {
  UseProfile("wifi=1\nnetwork=0\n");
  EXPECT_EQ(NetMgr(0), 0);
  EXPECT_EQ(NetMgrStatus(), 0);
  EXPECT_EQ(NetMgr(1), 0);
  EXPECT_EQ(NetMgrStatus(), 1);

  UseProfile("wifi=0\n");
  EXPECT_EQ(NetMgr(0), 0);
  EXPECT_EQ(NetMgr(1), -1);
  EXPECT_EQ(NetMgrStatus(), 0);

  const auto events = NetEvents();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[1]["what"].asString(), "manager_start");
  EXPECT_EQ(events[3]["result"].asInt(), -1);
}

}  // namespace
}  // namespace marrowleaf::platform
