// The device SDK as the home screen sees it: plain functions over the device's services.
#pragma once

#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/events.h"
#include "platform/sdk/files.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"
#include "platform/sdk/network.h"
#include "platform/sdk/screen.h"
#include "platform/sdk/tasks.h"
#include "platform/sdk/theme.h"
#include "platform/sdk/timers.h"
