// The network, answered in the simulator from the device profile's "network" key (0 off, 1 on)
// and the "wifi" capability.
#pragma once

enum NetState {
  NET_OFF = 0,
  NET_CONNECTING = 1,
  NET_CONNECTED = 2,
};

// Connects to the network (name nullptr: the default one). Returns 0 when connected.
int NetConnect(const char* name);
// As NetConnect; silent = 1 connects only if no question to the user is needed.
int NetConnect2(const char* name, int silent);
// Bits 0xf00 are set while a connection is up.
int QueryNetwork();
// One of NetState.
int GetNetState();
// State of the network manager: 1 running, 0 stopped, -1 unknown.
int NetMgrStatus();
int NetMgr(int start);
