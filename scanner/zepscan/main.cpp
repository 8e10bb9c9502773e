// zepscan: scans the handheld for viruses without a window.
#include <iostream>

#include "scanner/zepscan/ZepscanCommand.h"

int main(int argc, char** argv) {
  return zepscan::RunZepscan(argc, argv, std::cout, std::cerr);
}
