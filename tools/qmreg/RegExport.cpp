// The REGEDIT4 writer.
#include "tools/qmreg/RegExport.h"

#include <cstdio>

#include "platform/RegKey.h"
#include "platform/RegPath.h"
#include "platform/Text.h"

namespace qmreg {
namespace {

using namespace platform;

// Hex lists are wrapped like regedit's: a trailing backslash once a line
// passes this width, the next line indented by two spaces.
constexpr size_t kWrapColumn = 76;

void WriteHex(std::ostream& out, size_t column, std::string_view prefix,
              const std::vector<uint8_t>& data) {
  static const char kDigits[] = "0123456789abcdef";
  out << prefix;
  column += prefix.size();
  for (size_t i = 0; i < data.size(); ++i) {
    out << kDigits[data[i] >> 4] << kDigits[data[i] & 15];
    column += 2;
    if (i + 1 == data.size()) break;
    out << ',';
    ++column;
    if (column > kWrapColumn) {
      out << "\\\n  ";
      column = 2;
    }
  }
  out << '\n';
}

// Writable: false for a name REGEDIT4 cannot carry: it has no escape for a
// line break, and a raw one would cut the line in two.
bool Writable(std::string_view name) {
  return name.find_first_of("\r\n") == std::string_view::npos;
}

void WriteValue(std::ostream& out, RegStore store, const std::string& name, const RegValue& v) {
  std::string head = name.empty() ? "@=" : "\"" + EscapeRegText(name) + "\"=";
  out << head;
  if (v.type == REG_SZ) {
    std::string text;
    RegTerminator term;
    if (DecodeRegTextExact(store, v.data, &text, &term) &&
        text.find_first_of("\r\n") == std::string::npos) {
      out << '"' << EscapeRegText(text) << "\"\n";
      return;
    }
  }
  if (v.type == REG_DWORD && v.data.size() == 4) {
    uint32_t value = v.data[0] | v.data[1] << 8 | v.data[2] << 16 | uint32_t{v.data[3]} << 24;
    char buffer[16];
    snprintf(buffer, sizeof buffer, "dword:%08x", value);
    out << buffer << '\n';
    return;
  }
  std::string prefix = "hex:";
  if (v.type != REG_BINARY) {
    char buffer[24];
    snprintf(buffer, sizeof buffer, "hex(%x):", v.type);
    prefix = buffer;
  }
  WriteHex(out, head.size(), prefix, v.data);
}

uint32_t WriteKey(std::ostream& out, RegStore store, const std::string& path, RegKey& key,
                  std::string* badName) {
  if (!Writable(path)) {
    *badName = path;
    return ERROR_INVALID_NAME;
  }
  out << '[' << path << "]\n";
  for (uint32_t i = 0;; ++i) {
    std::string name;
    RegValue value;
    uint32_t e = key.EnumValue(i, &name, &value);
    if (e == ERROR_NO_MORE_ITEMS) break;
    if (e) return e;
    if (!Writable(name)) {
      *badName = path + "\\" + name;
      return ERROR_INVALID_NAME;
    }
    WriteValue(out, store, name, value);
  }
  out << '\n';
  for (uint32_t i = 0;; ++i) {
    std::string name;
    uint32_t e = key.EnumSubKey(i, &name);
    if (e == ERROR_NO_MORE_ITEMS) break;
    if (e) return e;
    RegKey child;
    if ((e = child.Open(key.handle(), name, RegAccess::Read))) return e;
    if ((e = WriteKey(out, store, path + "\\" + name, child, badName))) return e;
  }
  return ERROR_SUCCESS;
}

// StoredName: the subkey's name as stored, whatever case the caller used.
std::string StoredName(const RegKey& parent, std::string_view part) {
  std::string name;
  for (uint32_t i = 0; parent.EnumSubKey(i, &name) == ERROR_SUCCESS; ++i)
    if (EqualsIgnoreCase(name, part)) return name;
  return std::string(part);
}

uint32_t ExportOne(RegStore store, HKEY root, const std::string& subPath, std::ostream& out,
                   std::string* badName) {
  RegKey key;
  if (uint32_t e = key.Open(RegRootKey(store, root), "", RegAccess::Read)) return e;
  std::string path(RegRootName(root));
  for (auto part : SplitRegPath(subPath)) {
    path.append("\\").append(StoredName(key, part));
    RegKey child;
    if (uint32_t e = child.Open(key.handle(), std::string(part), RegAccess::Read)) return e;
    key = std::move(child);
  }
  return WriteKey(out, store, path, key, badName);
}

}  // namespace

std::string EscapeRegText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

uint32_t ExportRegTree(RegStore store, HKEY root, const std::string& subPath, std::ostream& out,
                       std::string* badName) {
  std::string unused;
  out << "REGEDIT4\n\n";
  return ExportOne(store, root, subPath, out, badName ? badName : &unused);
}

uint32_t ExportRegStore(RegStore store, std::ostream& out, std::string* badName) {
  std::string unused;
  out << "REGEDIT4\n\n";
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    if (uint32_t e = ExportOne(store, root, std::string(), out, badName ? badName : &unused))
      return e;
  return ERROR_SUCCESS;
}

}  // namespace qmreg
