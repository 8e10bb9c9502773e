// zepbench_corpus: a scan corpus with planted signatures, and those in three scanners' forms.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Options {
  std::string out;
  size_t files = 10000;
  uint64_t bytes = uint64_t{1} << 30;
  size_t infected = 50;
  size_t signatures = 10000;
  uint64_t seed = 20261212;
};

std::string Hex(const std::vector<uint8_t>& bytes, const char* separator) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) text += separator;
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

// Sizes: `count` file sizes drawn log-uniformly from 512 bytes to 4 MiB and
// scaled so that they add up to `total`.
std::vector<uint64_t> Sizes(size_t count, uint64_t total, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> log(std::log(512.0), std::log(4194304.0));
  std::vector<double> raw(count);
  double sum = 0;
  for (double& r : raw) sum += r = std::exp(log(rng));
  std::vector<uint64_t> sizes(count);
  uint64_t given = 0;
  for (size_t i = 0; i < count; ++i)
    given += sizes[i] = std::max<uint64_t>(64, static_cast<uint64_t>(raw[i] / sum * total));
  sizes.back() += total > given ? total - given : 0;
  return sizes;
}

// Fill: random bytes, or (every other file) lines of random lowercase words.
void Fill(std::vector<uint8_t>& v, bool text, std::mt19937_64& rng) {
  for (size_t i = 0; i < v.size(); ++i) {
    const uint64_t r = rng();
    if (!text) {
      for (size_t j = 0; j < 8 && i + j < v.size(); ++j)
        v[i + j] = static_cast<uint8_t>(r >> (8 * j));
      i += 7;
    } else {
      const uint64_t c = r % 160;
      v[i] = c == 0 ? '\n' : c < 24 ? ' ' : static_cast<uint8_t>('a' + c % 26);
    }
  }
}

bool Write(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

int Run(const Options& o) {
  std::mt19937_64 rng(o.seed);
  const fs::path root(o.out);
  fs::create_directories(root / "device" / "corpus");

  // Signatures of 8 to 64 random bytes, named alike in all three forms.
  std::vector<std::vector<uint8_t>> signatures(o.signatures);
  std::string list = "# zepbench_corpus signatures\nbuild = 1\n";
  std::string ndb, yar;
  for (size_t i = 0; i < signatures.size(); ++i) {
    signatures[i].resize(8 + rng() % 57);
    for (uint8_t& b : signatures[i]) b = static_cast<uint8_t>(rng());
    const std::string name = "Zep.Bench." + std::to_string(i);
    list += "\n[" + name + "]\nsignature = " + Hex(signatures[i], " ") + "\n";
    ndb += name + ":0:*:" + Hex(signatures[i], "") + "\n";
    yar += "rule zep_bench_" + std::to_string(i) + " { strings: $s = { " + Hex(signatures[i], " ") +
           " } condition: $s }\n";
  }

  // The files, spread over 100 folders; the infected ones hold one whole
  // signature each, so that a scanner that compares every byte of it finds
  // them as well as one that skips the first.
  const std::vector<uint64_t> sizes = Sizes(o.files, o.bytes, rng);
  std::set<size_t> infected;
  while (infected.size() < std::min(o.infected, o.files)) infected.insert(rng() % o.files);
  std::string expected;
  std::vector<uint8_t> content;
  for (size_t i = 0; i < o.files; ++i) {
    const bool text = i % 2 == 1;
    char name[64];
    std::snprintf(name, sizeof name, "d%02zu/f%05zu.%s", i % 100, i, text ? "txt" : "bin");
    const fs::path path = root / "device" / "corpus" / name;
    fs::create_directories(path.parent_path());
    content.resize(sizes[i]);
    Fill(content, text, rng);
    if (infected.count(i) != 0) {
      const std::vector<uint8_t>& s = signatures[rng() % signatures.size()];
      if (content.size() < s.size()) content.resize(s.size());
      std::copy(s.begin(), s.end(),
                content.begin() + static_cast<long>(rng() % (content.size() - s.size() + 1)));
      expected += std::string("corpus/") + name + "\n";
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(content.data()),
              static_cast<std::streamsize>(content.size()));
    if (!out) {
      std::cerr << "zepbench_corpus: cannot write " << path << "\n";
      return 1;
    }
  }

  if (!Write(root / "signatures.list", list) || !Write(root / "signatures.ndb", ndb) ||
      !Write(root / "signatures.yar", yar) || !Write(root / "expected.txt", expected)) {
    std::cerr << "zepbench_corpus: cannot write the signature files in " << o.out << "\n";
    return 1;
  }
  std::cout << o.files << " files, " << o.bytes << " bytes, " << infected.size() << " infected, "
            << signatures.size() << " signatures in " << o.out << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  CLI::App app{
      "Writes OUT/device/corpus (the files), OUT/signatures.{list,ndb,yar} (the same signatures "
      "for "
      "zepbase, ClamAV and YARA) and OUT/expected.txt (the infected files)",
      "zepbench_corpus"};
  app.add_option("OUT", o.out, "Output folder")->required();
  app.add_option("--files", o.files, "Number of files")->check(CLI::PositiveNumber);
  app.add_option("--bytes", o.bytes, "Total size of the files")->check(CLI::PositiveNumber);
  app.add_option("--infected", o.infected, "Files that hold a signature");
  app.add_option("--signatures", o.signatures, "Number of signatures")->check(CLI::PositiveNumber);
  app.add_option("--seed", o.seed, "Random seed");
  CLI11_PARSE(app, argc, argv);
  try {
    return Run(o);
  } catch (const std::exception& e) {
    std::cerr << "zepbench_corpus: " << e.what() << "\n";
    return 1;
  }
}
