// Known-answer vectors read from the small text files beside the tests.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace cipher::test {

// Vector: one line of a vector file, its hex columns decoded.
struct Vector {
  int line = 0;
  std::vector<std::string> text;            // the columns as written
  std::vector<std::vector<uint8_t>> bytes;  // hex columns decoded (empty if not hex)
};

// PrintTo: a vector as its line, for test failure messages.
inline void PrintTo(const Vector& v, std::ostream* os) {
  *os << "line " << v.line << ":";
  for (const auto& column : v.text) *os << " " << column;
}

// ReadVectors: the lines of a vector file under cipher/tests/vectors, skipping
// blank lines and '#' comments; empty when the file cannot be read.
std::vector<Vector> ReadVectors(const std::string& name);

}  // namespace cipher::test
