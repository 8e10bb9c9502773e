// qmregsvr: registers or unregisters in-process server modules.
#include <iostream>

#include "tools/qmregsvr/QmregsvrCommand.h"

int main(int argc, char** argv) {
  return qmregsvr::RunQmregsvr(argc, argv, std::cout, std::cerr);
}
