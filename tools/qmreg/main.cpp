// qmreg: the registry editor of the suite.
#include <iostream>

#include "tools/qmreg/QmregCommand.h"

int main(int argc, char** argv) {
  return qmreg::RunQmreg(argc, argv, std::cout, std::cerr);
}
