// The scan of every record of every object-store database.
#pragma once

#include "scanner/scanrun/Scanner.h"

namespace scanner {

// ScanDatabases: searches the variable data of every record of every
// database (the buffer after its property headers), runs the infected-record
// handling on a hit, and counts every database in DBases, also one that
// cannot be opened (which only gets the database error message). Returns 0;
// -1 when the databases cannot be enumerated (error message sent); or
// kScanStopped when a stop ended it at its wait before a database.
int ScanDatabases(Scanner& scanner);

}  // namespace scanner
