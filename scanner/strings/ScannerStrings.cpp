// The scanner's own string table and its lookup.
#include "scanner/strings/ScannerStrings.h"

namespace scanner {
namespace {

constexpr platform::DeviceString kOwn[] = {
    {1, u"Quillmark Anti-Virus\nfor PocketPC"},
    {2, u"version"},
    {3, u"Apply"},
    {4, u"Apply settings?"},
    {5, u"Quillmark Anti-Virus"},
    {6, u"Do you want to save settings?"},
    {7, u"5.0.0.18"},
    {10, u"Scan All Files"},
    {11, u"Scan only programs"},
    {12, u"User defined mask"},
    {13, u"Exclude by mask"},
    {14, u"Scan ROM files"},
    {15, u"Scan Databases"},
    {16, u"Scan cards && network folders"},
    {30, u"Create report"},
    {31, u"Append"},
    {32, u"On Virus Detect:"},
    {33, u"Copy to \"Infected\" folder"},
    {34, u"Ask User"},
    {35, u"Delete"},
    {51, u"Scanned:"},
    {52, u"Files:"},
    {53, u"DBases:"},
    {54, u"Folders:"},
    {55, u"Cards:"},
    {56, u"Viruses found"},
    {57, u"Moved to \"Infected\""},
    {58, u"Errors:"},
    {59, u"Deleted:"},
    {60, u"Started at"},
    {61, u"Finished at"},
    {62, u"Object"},
    {63, u"Result"},
    {71, u"Quillmark Anti-Virus has detected\nan infected object:"},
    {72, u"File:"},
    {73, u"Database:\nRecord:"},
    {74, u"Virus:"},
    {75, u"Infected with "},
    {89, u"Cancelling..."},
    {90, u"Downloading"},
    {91, u"Anti-virus database file is corrupted!"},
    {92, u"Anti-virus database not found"},
    {93, u"Cannot apply settings.\nScanner is running."},
    {95, u"Cannot open report file."},
    {96, u"Cannot open file."},
    {100, u"User mask must not be empty!"},
    {101, u"Exclude mask must not be empty!"},
    {102, u"Could not copy to Infected folder!"},
    {103, u"Could not delete file"},
    {104, u"Could not delete record."},
    {105, u"Path to \"Infected\" forlder is invalid.\nEnter another path."},
    {115, u"Battery power is lower then 20%. Do you want to perform scan?"},
    {116, u"Cancel"},
    {117, u"Get Update"},
    {118, u"Remove"},
    {119, u"Add"},
    {120, u"Configure Updater"},
    {121, u"Error reading updater's settings from registry!"},
    {122, u"Scanner is running.Cannot update database."},
    {123, u"Cannot download new anti-virus database."},
};
static_assert(platform::HasUniqueIds(kOwn));

}  // namespace

std::span<const platform::DeviceString> ScannerOwnStrings() {
  return kOwn;
}

platform::DeviceStringTable& ScannerStrings() {
  // A loaded language module replaces the whole table, as the handheld's
  // resource module does.
  static platform::DeviceStringTable table(kOwn, platform::LanguageRule::WholeTable);
  return table;
}

std::u16string ScannerText(uint32_t id) {
  return ScannerStrings().Get(id);
}

}  // namespace scanner
