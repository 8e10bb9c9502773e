// Object-store tests.
#include "platform/ObjectStore.h"
