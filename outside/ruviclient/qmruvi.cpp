// qmruvi: the control-centre tool.
#include <iostream>

#include "outside/ruviclient/QmruviCommand.h"

int main(int argc, char** argv) {
  return ruviclient::RunQmruvi(argc, argv, std::cout, std::cerr);
}
