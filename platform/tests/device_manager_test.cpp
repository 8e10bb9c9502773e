// Device-manager tests.
#include "platform/DeviceManager.h"
