// Applying REGEDIT4 files in one transaction.
#include "tools/qmreg/RegImport.h"

#include "platform/RegKey.h"
#include "platform/RegTransaction.h"

namespace qmreg {
namespace {

using namespace platform;

bool Fail(RegFileError* error, int line, uint32_t code) {
  error->line = line;
  error->message = std::string(ErrorText(code)) + " (" + std::to_string(code) + ")";
  return false;
}

}  // namespace

bool ApplyRegFile(RegStore store, const RegFile& file, RegFileError* error) {
  RegTransaction tx(store);
  if (uint32_t e = tx.Begin()) return Fail(error, 0, e);
  for (const auto& section : file.keys) {
    HKEY root = RegRootKey(store, section.root);
    if (section.remove) {
      uint32_t e = RegDeleteTree(root, section.subPath.c_str());
      if (e && e != ERROR_FILE_NOT_FOUND) return Fail(error, section.line, e);
      continue;
    }
    RegKey key;
    if (uint32_t e = key.Create(root, section.subPath)) return Fail(error, section.line, e);
    for (const auto& v : section.values) {
      uint32_t e = v.remove ? key.DeleteValue(v.name) : key.SetValue(v.name, v.type, v.data);
      if (e && !(v.remove && e == ERROR_FILE_NOT_FOUND)) return Fail(error, v.line, e);
    }
  }
  if (uint32_t e = tx.Commit()) return Fail(error, 0, e);
  return true;
}

}  // namespace qmreg
