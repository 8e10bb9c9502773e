// The PDB tool's makers and its dump.
#include "tools/qmpdb/PdbTool.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "conduit/pdb/HandheldBase.h"
#include "conduit/pdb/PdbImage.h"
#include "conduit/pdb/PdbLayout.h"

namespace qmpdb {

namespace {

constexpr size_t kRecord0Size = 28;
constexpr uint8_t kVirusMark = 1;
constexpr uint8_t kDefaultAttributes = 0x40;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

template <typename T>
bool ParseNumber(std::string_view text, T& out, int base = 10) {
  text = Trim(text);
  if (base == 0) {
    base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
      base = 16;
      text.remove_prefix(2);
    }
  }
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::string Hex(const std::vector<uint8_t>& bytes, size_t limit) {
  std::string out;
  char piece[4];
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    std::snprintf(piece, sizeof piece, "%02x", bytes[i]);
    if (i > 0) out += ' ';
    out += piece;
  }
  if (bytes.size() > limit) out += " ...";
  return out;
}

}  // namespace

bool ParseBaseDate(std::string_view text, BaseDate& out) {
  int16_t parts[3];
  for (int i = 0; i < 3; ++i) {
    const size_t slash = text.find('/');
    if ((i < 2) == (slash == std::string_view::npos)) return false;
    if (!ParseNumber(text.substr(0, slash), parts[i])) return false;
    text = i < 2 ? text.substr(slash + 1) : std::string_view{};
  }
  out = {parts[0], parts[1], parts[2]};
  return true;
}

conduit::PdbDatabase VirusBaseDatabase(std::string_view name, uint32_t stamp, const BaseDate& date,
                                       const std::vector<std::string>& viruses) {
  conduit::PdbDatabase db;
  db.SetName(name);
  db.SetType("DATA");
  db.SetCreator("ZEPA");
  std::vector<uint8_t> record0(kRecord0Size, 0);
  conduit::WriteBigEndian32(&record0[conduit::kBaseStampOffset], stamp);
  conduit::WriteBigEndian16(&record0[conduit::kBaseDateFirstOffset],
                            static_cast<uint16_t>(date.first));
  conduit::WriteBigEndian16(&record0[conduit::kBaseDateSecondOffset],
                            static_cast<uint16_t>(date.second));
  conduit::WriteBigEndian16(&record0[conduit::kBaseDateThirdOffset],
                            static_cast<uint16_t>(date.third));
  uint32_t id = 1;
  db.records.push_back({kDefaultAttributes, id++, record0});
  for (const auto& virus : viruses) {
    std::vector<uint8_t> data{kVirusMark};
    data.insert(data.end(), virus.begin(), virus.end());
    data.push_back(0);
    db.records.push_back({kDefaultAttributes, id++, data});
  }
  return db;
}

bool ParseBytesSpec(std::string_view spec, std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  if (spec.starts_with("text:")) {
    spec.remove_prefix(5);
    out.assign(spec.begin(), spec.end());
    return true;
  }
  if (spec.starts_with("file:")) {
    const std::string path(spec.substr(5));
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      error = "cannot read " + path;
      return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
  }
  if (spec.starts_with("hex:")) {
    std::string digits;
    for (char c : spec.substr(4))
      if (c != ' ' && c != ',') digits += c;
    if (digits.size() % 2 != 0) {
      error = "an odd number of hex digits";
      return false;
    }
    for (size_t i = 0; i < digits.size(); i += 2) {
      uint8_t byte = 0;
      if (!ParseNumber(std::string_view(digits).substr(i, 2), byte, 16)) {
        error = "not a hex byte: " + digits.substr(i, 2);
        return false;
      }
      out.push_back(byte);
    }
    return true;
  }
  error = "bytes are given as hex:..., text:... or file:...";
  return false;
}

bool ParseRecordSpec(std::string_view spec, conduit::PdbDatabaseRecord& out, std::string& error) {
  out = conduit::PdbDatabaseRecord{};
  out.attributes = kDefaultAttributes;
  const size_t colon = spec.find(':');
  if (colon != std::string_view::npos) {
    const std::string_view head = spec.substr(0, colon);
    if (head != "hex" && head != "text" && head != "file") {
      if (!ParseNumber(head, out.attributes, 0)) {
        error = "not an attribute byte: " + std::string(head);
        return false;
      }
      spec.remove_prefix(colon + 1);
    }
  }
  if (!ParseBytesSpec(spec, out.data, error)) return false;
  if (out.data.size() > 0xFFFF) {
    error = "a record holds at most 65535 bytes";
    return false;
  }
  return true;
}

bool Dump(const std::vector<uint8_t>& bytes, std::ostream& out) {
  conduit::PdbDatabase db;
  const int rc = conduit::ParsePdbDatabase(bytes, db);
  if (rc != 0) {
    out << "not a database: " << conduit::DescribePdbResult(rc) << "\n";
    return false;
  }
  out << "name: " << db.Name() << "\n";
  out << "type: " << db.Type() << "  creator: " << db.Creator() << "\n";
  out << "app-info: " << (db.hasAppInfo ? std::to_string(db.appInfo.size()) + " bytes" : "none")
      << "\n";
  out << "sort-info: " << (db.hasSortInfo ? std::to_string(db.sortInfo.size()) + " bytes" : "none")
      << "\n";
  out << "records: " << db.records.size() << "\n";
  char line[64];
  for (size_t i = 0; i < db.records.size(); ++i) {
    const auto& r = db.records[i];
    std::snprintf(line, sizeof line, "  %zu  attr 0x%02x  id 0x%06x  %zu bytes", i, r.attributes,
                  r.uniqueId, r.data.size());
    out << line;
    if (!r.data.empty()) out << "  " << Hex(r.data, 16);
    out << "\n";
  }
  if (!db.records.empty() && db.records[0].data.size() >= kRecord0Size) {
    const uint8_t* r0 = db.records[0].data.data();
    const auto word = [&](size_t at) {
      return static_cast<int16_t>(conduit::ReadBigEndian16(r0 + at));
    };
    size_t viruses = 0;
    for (size_t i = 1; i < db.records.size(); ++i)
      if (!db.records[i].data.empty() && db.records[i].data[0] == kVirusMark) ++viruses;
    out << "virus base: stamp " << conduit::BaseStamp(r0) << ", date "
        << word(conduit::kBaseDateFirstOffset) << " / " << word(conduit::kBaseDateSecondOffset)
        << " / " << word(conduit::kBaseDateThirdOffset) << ", " << viruses << " known viruses\n";
  }
  conduit::PdbImage image;
  const int read = conduit::ParsePdbImage(bytes, image);
  out << "conduit reader: " << (read == 0 ? "takes it" : conduit::DescribePdbResult(read)) << "\n";
  return true;
}

}  // namespace qmpdb
