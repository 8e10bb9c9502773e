// qmpdb: writes and dumps Palm database (.pdb) files, including virus base databases.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/qmpdb/PdbTool.h"

namespace {

int Fail(const std::string& message) {
  std::cerr << "qmpdb: " << message << "\n";
  return 1;
}

int Write(const std::string& path, const conduit::PdbDatabase& db) {
  const std::vector<uint8_t> bytes = conduit::SerializePdb(db);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) return Fail("cannot write " + path);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes and dumps Palm database (.pdb) files"};
  app.require_subcommand(1);

  std::string output, name = "ZEPDB", date = "1/1/2000";
  uint32_t stamp = 0;
  std::vector<std::string> viruses;
  auto* zepdb = app.add_subcommand("zepdb", "write a virus base database");
  zepdb->add_option("output", output, "the .pdb file to write")->required();
  zepdb->add_option("--name", name, "the database name (ZEPDB)");
  zepdb->add_option("--stamp", stamp, "the base stamp of record 0")->required();
  zepdb->add_option("--date", date, "the base's date as the sync dialog shows it (A/B/C)");
  zepdb->add_option("--virus", viruses, "a known virus (repeat for more)");

  std::string type = "DATA", creator = "QMPD", appInfo, sortInfo;
  std::vector<std::string> records;
  auto* write = app.add_subcommand("write", "write a database from blocks and records");
  write->add_option("output", output, "the .pdb file to write")->required();
  write->add_option("--name", name, "the database name")->required();
  write->add_option("--type", type, "four-character type (DATA)");
  write->add_option("--creator", creator, "four-character creator (QMPD)");
  write->add_option("--app-info", appInfo, "the app-info block: hex:..., text:... or file:...");
  write->add_option("--sort-info", sortInfo, "the sort-info block, as --app-info");
  write->add_option("--record", records, "a record, [ATTRIBUTES:]hex:|text:|file:... (repeat)");

  std::string input;
  auto* dump = app.add_subcommand("dump", "show a .pdb file");
  dump->add_option("file", input, "the .pdb file")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 1;
  }

  if (*zepdb) {
    qmpdb::BaseDate parsed;
    if (!qmpdb::ParseBaseDate(date, parsed)) return Fail("a date is three numbers: A/B/C");
    return Write(output, qmpdb::VirusBaseDatabase(name, stamp, parsed, viruses));
  }
  if (*write) {
    conduit::PdbDatabase db;
    db.SetName(name);
    db.SetType(type);
    db.SetCreator(creator);
    std::string error;
    if (!appInfo.empty()) {
      db.hasAppInfo = true;
      if (!qmpdb::ParseBytesSpec(appInfo, db.appInfo, error)) return Fail("--app-info: " + error);
    }
    if (!sortInfo.empty()) {
      db.hasSortInfo = true;
      if (!qmpdb::ParseBytesSpec(sortInfo, db.sortInfo, error))
        return Fail("--sort-info: " + error);
    }
    for (const auto& spec : records) {
      conduit::PdbDatabaseRecord record;
      if (!qmpdb::ParseRecordSpec(spec, record, error))
        return Fail("--record " + spec + ": " + error);
      record.uniqueId = static_cast<uint32_t>(db.records.size() + 1);
      db.records.push_back(record);
    }
    return Write(output, db);
  }
  std::ifstream in(input, std::ios::binary);
  if (!in) return Fail("cannot read " + input);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  return qmpdb::Dump(bytes, std::cout) ? 0 : 1;
}
