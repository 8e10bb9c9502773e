// The qmreg commands over the registry stores.
#include "tools/qmreg/QmregCommand.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/RegKey.h"
#include "platform/RegPath.h"
#include "platform/RegTransaction.h"
#include "tools/common/ToolFailure.h"
#include "tools/qmreg/RegExport.h"
#include "tools/qmreg/RegFile.h"
#include "tools/qmreg/RegImport.h"

namespace qmreg {
namespace {

using namespace platform;

// The options of one run.
struct Options {
  bool device = false;
  bool desktop = false;
  std::string key;
  std::string value;
  std::string type = "sz";
  std::vector<std::string> data;
  bool noTerminator = false;
  std::string file;
  std::string output;
};

using tools::Failure;
using tools::Reason;

// KeyPath: the root and path of a KEY argument, or the message for a bad one.
bool KeyPath(const std::string& text, HKEY* root, std::string* sub, std::string* message) {
  if (ParseRegRoot(text, root, sub)) return true;
  *message = "unknown root key in \"" + text +
             "\" (use HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKCR, HKCU or "
             "HKLM)";
  return false;
}

std::string HexBytes(const std::vector<uint8_t>& data, std::string_view separator) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < data.size(); ++i) {
    if (i) out.append(separator);
    out.push_back(kDigits[data[i] >> 4]);
    out.push_back(kDigits[data[i] & 15]);
  }
  return out;
}

const char* TypeName(uint32_t type) {
  switch (type) {
    case REG_NONE:
      return "REG_NONE";
    case REG_SZ:
      return "REG_SZ";
    case REG_EXPAND_SZ:
      return "REG_EXPAND_SZ";
    case REG_BINARY:
      return "REG_BINARY";
    case REG_DWORD:
      return "REG_DWORD";
    case REG_MULTI_SZ:
      return "REG_MULTI_SZ";
    default:
      return "REG_UNKNOWN";
  }
}

// DataText: a value's data as query shows it; lines joins multi-string items.
std::string DataText(RegStore store, const RegValue& v, std::string_view lines) {
  switch (v.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return DecodeRegText(store, v.data);
    case REG_DWORD:
      if (v.data.size() == 4)
        return std::to_string(v.data[0] | v.data[1] << 8 | v.data[2] << 16 |
                              uint32_t{v.data[3]} << 24);
      break;
    case REG_MULTI_SZ: {
      std::string out;
      for (const auto& item : DecodeRegMultiText(store, v.data)) {
        if (!out.empty()) out.append(lines);
        out.append(item);
      }
      return out;
    }
  }
  return HexBytes(v.data, " ");
}

int Query(RegStore store, const Options& o, bool hasValue, std::ostream& out) {
  HKEY root;
  std::string sub, message;
  if (!KeyPath(o.key, &root, &sub, &message)) throw Failure(message);
  RegKey key;
  if (uint32_t e = key.Open(RegRootKey(store, root), sub, RegAccess::Read))
    throw Failure(o.key + ": " + Reason(e));
  if (hasValue) {
    RegValue v;
    if (uint32_t e = key.QueryValue(o.value, &v))
      throw Failure(o.key + "\\" + (o.value.empty() ? "@" : o.value) + ": " + Reason(e));
    out << DataText(store, v, "\n") << '\n';
    return 0;
  }
  out << o.key << '\n';
  for (uint32_t i = 0;; ++i) {
    std::string name;
    RegValue v;
    uint32_t e = key.EnumValue(i, &name, &v);
    if (e == ERROR_NO_MORE_ITEMS) break;
    if (e) throw Failure(o.key + ": " + Reason(e));
    out << "    " << (name.empty() ? "(Default)" : name) << "    " << TypeName(v.type) << "    "
        << DataText(store, v, "\\0") << '\n';
  }
  std::vector<std::string> subKeys;
  if (uint32_t e = key.SubKeyNames(&subKeys)) throw Failure(o.key + ": " + Reason(e));
  for (const auto& name : subKeys) out << o.key << '\\' << name << '\n';
  return 0;
}

std::vector<uint8_t> ParseBinary(const std::vector<std::string>& args) {
  std::string digits;
  for (const auto& arg : args)
    for (char c : arg) {
      if (c == ',' || c == ' ' || c == ':') continue;
      if (!std::isxdigit(static_cast<unsigned char>(c)))
        throw Failure("binary data must be hex bytes such as 0a,ff,10");
      digits.push_back(c);
    }
  if (digits.size() % 2) throw Failure("binary data must be whole hex bytes");
  std::vector<uint8_t> out;
  for (size_t i = 0; i < digits.size(); i += 2)
    out.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
  return out;
}

uint32_t ParseDword(const std::string& text) {
  size_t used = 0;
  unsigned long long value = 0;
  bool ok = !text.empty() && text[0] != '-';
  if (ok) {
    try {
      value = std::stoull(text, &used, 0);
    } catch (const std::exception&) {
      ok = false;
    }
  }
  if (!ok || used != text.size() || value > 0xFFFFFFFFull)
    throw Failure("dword data must be a number from 0 to 4294967295 (decimal or 0x hex)");
  return static_cast<uint32_t>(value);
}

int Set(RegStore store, const Options& o) {
  HKEY root;
  std::string sub, message;
  if (!KeyPath(o.key, &root, &sub, &message)) throw Failure(message);
  uint32_t type = REG_SZ;
  std::vector<uint8_t> bytes;
  RegTerminator term = o.noTerminator ? RegTerminator::Omit : RegTerminator::Include;
  if (o.type == "sz" || o.type == "expand_sz") {
    if (o.data.size() != 1) throw Failure("set --type " + o.type + " takes exactly one DATA");
    type = o.type == "sz" ? REG_SZ : REG_EXPAND_SZ;
    bytes = EncodeRegText(store, o.data[0], term);
  } else if (o.type == "dword") {
    if (o.data.size() != 1) throw Failure("set --type dword takes exactly one DATA");
    uint32_t v = ParseDword(o.data[0]);
    type = REG_DWORD;
    bytes = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
             static_cast<uint8_t>(v >> 24)};
  } else if (o.type == "binary") {
    type = REG_BINARY;
    bytes = ParseBinary(o.data);
  } else {
    for (const auto& item : o.data)
      if (item.empty())
        throw Failure("multi_sz items cannot be empty (an empty item ends the list)");
    type = REG_MULTI_SZ;
    bytes = EncodeRegMultiText(store, o.data);
  }
  if (bytes.size() > kRegMaxValueDataSize)
    throw Failure("value is longer than " + std::to_string(kRegMaxValueDataSize) + " bytes");
  RegKey key;
  if (uint32_t e = key.Create(RegRootKey(store, root), sub))
    throw Failure(o.key + ": " + Reason(e));
  if (uint32_t e = key.SetValue(o.value, type, bytes))
    throw Failure(o.key + "\\" + o.value + ": " + Reason(e));
  return 0;
}

int Delete(RegStore store, const Options& o, bool hasValue) {
  HKEY root;
  std::string sub, message;
  if (!KeyPath(o.key, &root, &sub, &message)) throw Failure(message);
  if (hasValue) {
    RegKey key;
    if (uint32_t e = key.Open(RegRootKey(store, root), sub, RegAccess::All))
      throw Failure(o.key + ": " + Reason(e));
    if (uint32_t e = key.DeleteValue(o.value))
      throw Failure(o.key + "\\" + (o.value.empty() ? "@" : o.value) + ": " + Reason(e));
    return 0;
  }
  if (SplitRegPath(sub).empty()) throw Failure("a root key cannot be deleted");
  if (uint32_t e = RegDeleteTree(RegRootKey(store, root), sub.c_str()))
    throw Failure(o.key + ": " + Reason(e));
  return 0;
}

int Export(RegStore store, const Options& o, bool hasKey, std::ostream& out) {
  std::ostringstream text;
  {
    // One transaction gives a consistent picture while others write.
    RegTransaction snapshot(store);
    if (uint32_t e = snapshot.Begin()) throw Failure(Reason(e));
    uint32_t e = ERROR_SUCCESS;
    std::string badName;
    if (hasKey) {
      HKEY root;
      std::string sub, message;
      if (!KeyPath(o.key, &root, &sub, &message)) throw Failure(message);
      e = ExportRegTree(store, root, sub, text, &badName);
    } else {
      e = ExportRegStore(store, text, &badName);
    }
    if (e == ERROR_INVALID_NAME && !badName.empty())
      throw Failure("\"" + badName +
                    "\": REGEDIT4 cannot write a line break in a name; nothing was exported");
    if (e) throw Failure((hasKey ? o.key + ": " : std::string()) + Reason(e));
  }
  if (o.output.empty()) {
    out << text.str();
    return 0;
  }
  std::ofstream file(o.output, std::ios::binary | std::ios::trunc);
  file << text.str();
  file.close();
  if (!file) throw Failure(o.output + ": cannot write the file");
  return 0;
}

int Import(RegStore store, const Options& o) {
  std::string text;
  if (o.file == "-") {
    std::ostringstream all;
    all << std::cin.rdbuf();
    text = all.str();
  } else {
    std::ifstream file(o.file, std::ios::binary);
    if (!file) throw Failure(o.file + ": cannot read the file");
    std::ostringstream all;
    all << file.rdbuf();
    text = all.str();
  }
  RegFile parsed;
  RegFileError error;
  if (!ParseRegFile(text, store, &parsed, &error) || !ApplyRegFile(store, parsed, &error)) {
    std::string where = error.line > 0 ? "line " + std::to_string(error.line) + ": " : "";
    throw Failure(o.file + ": " + where + error.message + "; nothing was imported");
  }
  return 0;
}

}  // namespace

int RunQmreg(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  Options o;
  CLI::App app{"Query and edit the suite's registry stores; export and import REGEDIT4 text.",
               "qmreg"};
  app.fallthrough();
  app.require_subcommand(1);
  auto* device = app.add_flag("--device", o.device, "Work on the device (handheld) registry");
  auto* desktop = app.add_flag("--desktop", o.desktop, "Work on the desktop registry (default)");
  device->excludes(desktop);

  const char* keyHelp = "Key, e.g. HKLM\\SOFTWARE\\QuillmarkLab\\Components\\31";
  auto* query = app.add_subcommand("query", "Show a key's values and subkeys, or one value's data");
  query->add_option("KEY", o.key, keyHelp)->required();
  auto* queryValue = query->add_option("VALUE", o.value, "Value name (\"\" for the default)");

  auto* set = app.add_subcommand("set", "Create the key if needed and set a value");
  set->add_option("KEY", o.key, keyHelp)->required();
  set->add_option("VALUE", o.value, "Value name (\"\" for the default)")->required();
  set->add_option("DATA", o.data, "Data: text, number, hex bytes, or one text per item");
  set->add_option("--type", o.type, "sz, dword, binary, expand_sz or multi_sz")
      ->check(CLI::IsMember({"sz", "dword", "binary", "expand_sz", "multi_sz"}));
  set->add_flag("--no-terminator", o.noTerminator, "Store sz/expand_sz text without its NUL");

  auto* del = app.add_subcommand("delete", "Delete a key with everything below it, or one value");
  del->add_option("KEY", o.key, keyHelp)->required();
  auto* deleteValue = del->add_option("VALUE", o.value, "Value name (\"\" for the default)");

  auto* exp = app.add_subcommand("export", "Write a key (or the whole store) as REGEDIT4 text");
  auto* exportKey = exp->add_option("KEY", o.key, keyHelp);
  exp->add_option("-o,--output", o.output, "Output file (default: standard output)");

  auto* imp = app.add_subcommand("import", "Apply a REGEDIT4 file in one transaction");
  imp->add_option("FILE", o.file, "REGEDIT4 file, - for standard input")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 1;
  }

  RegStore store = o.device ? RegStore::Device : RegStore::Desktop;
  try {
    if (query->parsed()) return Query(store, o, queryValue->count() > 0, out);
    if (set->parsed()) return Set(store, o);
    if (del->parsed()) return Delete(store, o, deleteValue->count() > 0);
    if (exp->parsed()) return Export(store, o, exportKey->count() > 0, out);
    if (imp->parsed()) return Import(store, o);
  } catch (const Failure& f) {
    err << "qmreg: " << f.message() << '\n';
    return 1;
  } catch (const std::exception& e) {
    err << "qmreg: " << e.what() << '\n';
    return 1;
  }
  return 1;
}

}  // namespace qmreg
