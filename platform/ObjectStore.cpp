// The object store over SQLite.
#include "platform/ObjectStore.h"
