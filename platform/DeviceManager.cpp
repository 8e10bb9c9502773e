// The device-manager calls, forwarded to the service.
#include "platform/DeviceManager.h"
