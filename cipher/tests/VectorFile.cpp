// Parsing of the whitespace-separated vector files.
#include "cipher/tests/VectorFile.h"

#include <fstream>
#include <sstream>

#include "cipher/tests/ZSCryptLibrary.h"

namespace cipher::test {

std::vector<Vector> ReadVectors(const std::string& name) {
  std::ifstream in(SourceFile("cipher/tests/vectors/" + name));
  std::vector<Vector> vectors;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream columns(line);
    Vector v;
    v.line = number;
    for (std::string column; columns >> column;) {
      v.text.push_back(column);
      v.bytes.push_back(Hex(column));
    }
    if (v.text.empty() || v.text[0][0] == '#') continue;
    vectors.push_back(std::move(v));
  }
  return vectors;
}

}  // namespace cipher::test
