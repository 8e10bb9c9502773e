// cedb: fills, lists and dumps the handheld's object-store databases.
#include <iostream>

#include "tools/cedb/CedbCommand.h"

int main(int argc, char** argv) {
  return cedb::RunCedb(argc, argv, std::cout, std::cerr);
}
