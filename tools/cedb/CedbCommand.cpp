// The cedb commands over the object store.
#include "tools/cedb/CedbCommand.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "platform/Errors.h"
#include "platform/ObjectStore.h"
#include "platform/Text.h"
#include "tools/cedb/PropArgument.h"
#include "tools/cedb/RecordText.h"
#include "tools/common/ToolFailure.h"

namespace cedb {
namespace {

using namespace platform;

// The options of one run.
struct Options {
  std::string name;
  std::string type = "0";
  std::vector<std::string> props;
  std::string record;
  std::string file;
};

using tools::Failure;
using tools::Reason;

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

// ParseNumber: decimal or 0x hex, up to 32 bits.
bool ParseNumber(std::string_view text, int base, uint32_t* out) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty() || text[0] == '+' || text[0] == '-') return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *out, base);
  return ec == std::errc() && end == text.data() + text.size();
}

// RecordId: a record identifier as create and add print it (hex, 0x optional).
CEOID RecordId(const std::string& text) {
  uint32_t oid = 0;
  if (!ParseNumber(text, 16, &oid) || oid == 0)
    throw Failure("\"" + text + "\" is not a record identifier (hex, as add prints it)");
  return oid;
}

// Named: the identifier of the database called name.
CEOID Named(const std::string& name) {
  CEOID oid = FindDatabase(Utf8ToUtf16(name));
  if (oid != 0) return oid;
  uint32_t e = GetLastError();
  if (e == ERROR_FILE_NOT_FOUND) throw Failure("no database named " + name);
  throw Failure(name + ": " + Reason(e));
}

Database OpenNamed(const std::string& name) {
  Database db;
  if (uint32_t e = db.Open(Named(name), CEDB_AUTOINCREMENT)) throw Failure(name + ": " + Reason(e));
  return db;
}

int Create(const Options& o, std::ostream& out) {
  uint32_t type = 0;
  if (!ParseNumber(o.type, 10, &type))
    throw Failure("--type must be a number from 0 to 4294967295 (decimal or 0x hex)");
  CEOID oid = CreateDatabase(Utf8ToUtf16(o.name), type);
  if (oid == 0) {
    uint32_t e = GetLastError();
    if (e == ERROR_ALREADY_EXISTS) throw Failure("a database named " + o.name + " already exists");
    if (e == ERROR_INVALID_PARAMETER)
      throw Failure("a database name has 1 to " + std::to_string(CEDB_MAXDBASENAMELEN) +
                    " characters");
    throw Failure(o.name + ": " + Reason(e));
  }
  out << Hex(oid) << '\n';
  return 0;
}

int Add(const Options& o, std::ostream& out) {
  std::vector<PropertyValue> props(o.props.size());
  std::string message;
  for (size_t i = 0; i < o.props.size(); ++i)
    if (!ParsePropArgument(o.props[i], &props[i], &message)) throw Failure(message);
  Database db = OpenNamed(o.name);
  CEOID oid = db.WriteRecord(0, props);
  if (oid == 0) throw Failure(o.name + ": " + Reason(GetLastError()));
  out << Hex(oid) << '\n';
  return 0;
}

void ListDatabases(std::ostream& out) {
  DatabaseFind find;
  if (uint32_t e = find.Open(0)) throw Failure(Reason(e));
  char line[96];
  std::snprintf(line, sizeof line, "%-9s %-11s %-8s %-10s %s\n", "ID", "TYPE", "RECORDS", "BYTES",
                "NAME");
  out << line;
  for (CEOID oid; (oid = find.Next()) != 0;) {
    DatabaseInfo info;
    if (GetDatabaseInfo(oid, info) != ERROR_SUCCESS) continue;  // deleted meanwhile
    std::snprintf(line, sizeof line, "%-9X %-11u %-8u %-10u ", info.oid, info.type, info.records,
                  info.size);
    out << line << Utf16ToUtf8(info.name) << '\n';
  }
  if (GetLastError() != ERROR_NO_MORE_ITEMS) throw Failure(Reason(GetLastError()));
}

void ListRecords(const std::string& name, std::ostream& out) {
  Database db = OpenNamed(name);
  DatabaseInfo info;
  if (uint32_t e = GetDatabaseInfo(db.oid(), info)) throw Failure(name + ": " + Reason(e));
  out << Utf16ToUtf8(info.name) << " (id " << Hex(info.oid) << ", type " << info.type << ", "
      << info.records << (info.records == 1 ? " record" : " records") << ")\n";
  std::vector<uint8_t> buffer;
  uint16_t count = 0;
  uint32_t size = 0;
  for (CEOID oid; (oid = db.ReadRecord(buffer, count, size)) != 0;) {
    out << "Record " << Hex(oid) << " (" << count << (count == 1 ? " property, " : " properties, ")
        << size << " bytes)\n";
    for (const auto& line : DescribeRecord(std::span(buffer.data(), size), count))
      out << "  " << line << '\n';
  }
  if (GetLastError() != ERROR_NO_MORE_ITEMS) throw Failure(name + ": " + Reason(GetLastError()));
}

int Delete(const Options& o, bool hasRecord) {
  if (!hasRecord) {
    if (uint32_t e = DeleteDatabase(Named(o.name))) throw Failure(o.name + ": " + Reason(e));
    return 0;
  }
  CEOID record = RecordId(o.record);
  Database db = OpenNamed(o.name);
  uint32_t e = db.DeleteRecord(record);
  if (e == ERROR_FILE_NOT_FOUND) throw Failure("no record " + Hex(record) + " in " + o.name);
  if (e) throw Failure(o.name + ": " + Reason(e));
  return 0;
}

int Dump(const Options& o) {
  CEOID record = RecordId(o.record);
  Database db = OpenNamed(o.name);
  std::vector<uint8_t> buffer;
  uint16_t count = 0;
  uint32_t size = 0;
  // The store reads in identifier order only, so walk up to the record.
  for (CEOID oid; (oid = db.ReadRecord(buffer, count, size)) != 0;) {
    if (oid < record) continue;
    if (oid > record) break;
    std::ofstream file(o.file, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(buffer.data()), size);
    file.close();
    if (!file) throw Failure(o.file + ": cannot write the file");
    return 0;
  }
  uint32_t e = GetLastError();
  if (e != ERROR_SUCCESS && e != ERROR_NO_MORE_ITEMS) throw Failure(o.name + ": " + Reason(e));
  throw Failure("no record " + Hex(record) + " in " + o.name);
}

}  // namespace

int RunCedb(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  Options o;
  CLI::App app{"Create, fill, list and dump the handheld's object-store databases.", "cedb"};
  app.require_subcommand(1);
  const char* nameHelp = "Database name (letter case ignored)";

  auto* create = app.add_subcommand("create", "Create an empty database; prints its id in hex");
  create->add_option("NAME", o.name, nameHelp)->required();
  create->add_option("--type", o.type, "Database type (decimal or 0x hex, default 0)");

  auto* add = app.add_subcommand("add", "Add a record; prints its id in hex");
  add->add_option("NAME", o.name, nameHelp)->required();
  add->add_option("PROP", o.props,
                  "ID:TYPE=VALUE with TYPE i2, ui2, i4, ui4, bool, r8, filetime, text, or blob "
                  "(VALUE @FILE or hex:0A0B..)")
      ->required();

  auto* list = app.add_subcommand("list", "List the databases, or the records of one");
  auto* listName = list->add_option("NAME", o.name, nameHelp);

  auto* del = app.add_subcommand("delete", "Delete a database with its records, or one record");
  del->add_option("NAME", o.name, nameHelp)->required();
  auto* delRecord = del->add_option("RECORD-ID", o.record, "Record id in hex");

  auto* dump = app.add_subcommand("dump", "Write a record's read buffer (headers + data) to FILE");
  dump->add_option("NAME", o.name, nameHelp)->required();
  dump->add_option("RECORD-ID", o.record, "Record id in hex")->required();
  dump->add_option("FILE", o.file, "Host file to write")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 1;
  }

  try {
    if (create->parsed()) return Create(o, out);
    if (add->parsed()) return Add(o, out);
    if (list->parsed()) {
      if (listName->count() > 0)
        ListRecords(o.name, out);
      else
        ListDatabases(out);
      return 0;
    }
    if (del->parsed()) return Delete(o, delRecord->count() > 0);
    if (dump->parsed()) return Dump(o);
  } catch (const Failure& f) {
    err << "cedb: " << f.message() << '\n';
    return 1;
  } catch (const std::exception& e) {
    err << "cedb: " << e.what() << '\n';
    return 1;
  }
  return 1;
}

}  // namespace cedb
