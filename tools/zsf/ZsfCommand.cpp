// The zsf commands over the folder list, the container files and the folder driver.
#include "tools/zsf/ZsfCommand.h"

#include <CLI/CLI.hpp>
#include <array>
#include <fstream>
#include <optional>
#include <ostream>
#include <vector>

#include "folders/container/CipherLibrary.h"
#include "folders/container/Container.h"
#include "folders/container/ContainerHeader.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/CipherNames.h"
#include "folders/volumes/DriverInstall.h"
#include "folders/volumes/DriverKey.h"
#include "folders/volumes/Mount.h"
#include "folders/volumes/SectorAccess.h"
#include "folders/volumes/VolumeList.h"
#include "folders/volumes/VolumeRefresh.h"
#include "platform/DeviceManager.h"
#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "tools/zsf/HeaderReport.h"

namespace zsf {
namespace {

using folders::VolumeRecord;
using folders::VolumeRow;
using folders::VolumeState;

// Limits of the folder program's dialogs: sizes in KB, and time-outs up to
// 3600 of the largest unit (hours).
constexpr uint32_t kMinSizeKb = 256;
constexpr uint32_t kMaxSizeKb = 65536;
constexpr uint32_t kMaxTimeoutSeconds = 3600 * 3600;

// Texts of this tool where the folder program has none (its window simply
// does not offer the command).
constexpr char kSizeTooLarge[] = "Too large disk size specified!\nThe largest folder is 65536 KB.";
constexpr char kFolderMounted[] = "This folder is mounted.\nUnmount it first.";
constexpr char kAlreadyMounted[] = "This folder is already mounted.";
constexpr char kNotMounted[] = "This folder is not mounted.";
constexpr char kPathTooLong[] = "The path is too long.";
constexpr char kSectorFileTooLong[] = "The sector file holds more than 512 bytes.";
constexpr char kCannotOpenHostFile[] = "Cannot open file '";

struct Options {
  std::string path;
  uint32_t sizeKb = 0;
  std::string cipher;
  uint32_t timeout = 0;
  std::string mountAs;
  bool overwrite = false;
  uint32_t seconds = 0;
  uint32_t sector = 0;
  std::string file;
  std::string outFile;
};

uint16_t CipherNumber(const std::string& name) {
  if (name == "rc5") return folders::kCipherRc5;
  if (name == "rc6") return folders::kCipherRc6;
  if (name == "rijndael-128") return folders::kCipherRijndael128;
  return folders::kCipherRijndael256;
}

// DevicePath: a handheld path from the command line: "/" become a backslash
// and a leading backslash is added when missing.
std::u16string DevicePath(const std::string& text) {
  std::u16string path = platform::Utf8ToUtf16(text);
  for (char16_t& c : path)
    if (c == u'/') c = u'\\';
  if (path.empty() || path.front() != u'\\') path.insert(path.begin(), u'\\');
  return path;
}

// BaseName: the file name without folder and extension.
std::u16string BaseName(std::u16string_view path) {
  std::u16string_view name = path.substr(path.find_last_of(u'\\') + 1);
  const size_t dot = name.find_last_of(u'.');
  return std::u16string(dot == std::u16string_view::npos ? name : name.substr(0, dot));
}

std::u16string Parent(std::u16string_view path) {
  const size_t slash = path.find_last_of(u'\\');
  return slash == 0 || slash == std::u16string_view::npos ? u"\\"
                                                          : std::u16string(path.substr(0, slash));
}

bool IsFile(std::u16string_view path) {
  const uint32_t attributes = platform::GetFileAttributes(platform::ResolveDevicePath(path));
  return attributes != platform::INVALID_FILE_ATTRIBUTES &&
         (attributes & platform::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string Utf8(std::u16string_view text) {
  return platform::Utf16ToUtf8(text);
}

const char* StateName(VolumeState state) {
  switch (state) {
    case VolumeState::NotMounted:
      return "not mounted";
    case VolumeState::Mounted:
      return "mounted";
    default:
      return "missing";
  }
}

class Run {
 public:
  Run(const ZsfEnvironment& environment, std::ostream& out) : env_(environment), out_(out) {}

  int Create(const Options& o, bool timeoutGiven);
  int Check(const Options& o);
  int ChangePassword(const Options& o);
  int Timeout(const Options& o);
  int List();
  int Mount(const Options& o);
  int Unmount(const Options& o);
  int ReadSector(const Options& o);
  int WriteSector(const Options& o);

 private:
  // Fail: shows a message of the folder program under its caption; returns 1.
  int Fail(uint32_t id) { return FailText(folders::FoldersText(id)); }
  int FailText(std::u16string_view text) {
    env_.prompt->Show(text, folders::FoldersText(folders::kIdsCaption),
                      platform::MB_OK | platform::MB_ICONERROR);
    return 1;
  }
  int FailText(std::string_view text) { return FailText(platform::Utf8ToUtf16(text)); }

  // Path: the handheld path of PATH, or nullopt after reporting a path that
  // does not fit a folder record.
  std::optional<std::u16string> Path(const std::string& text) {
    std::u16string path = DevicePath(text);
    if (path.size() >= folders::kPathChars) {
      FailText(kPathTooLong);
      return std::nullopt;
    }
    return path;
  }

  bool Secret(std::string_view prompt, std::u16string* out) {
    std::string text;
    if (env_.readSecret(prompt, &text) != 0) return false;
    *out = platform::Utf8ToUtf16(text);
    return true;
  }

  // StartUp: what the folder program does at start before touching the
  // driver, plus the driver's installation on the device.
  void StartUp() {
    if (platform::PlatformMajorVersion() >= 4)
      folders::RegisterDriverKey(folders::kDriverKeyDll, folders::kDriverKeyPath);
    folders::InstallDriver(env_.driverFolder);
  }

  // Row: the refreshed list's row of a path.
  static std::optional<VolumeRow> Row(std::u16string_view path) {
    for (VolumeRow& row : folders::RefreshVolumeList())
      if (platform::EqualsIgnoreCase(row.path, path)) return std::move(row);
    return std::nullopt;
  }

  // Container: the record of a container file, from its entry when it has
  // one. Reports a missing file (63) or one that is no container (61).
  std::optional<VolumeRecord> Container(std::u16string_view path) {
    if (!IsFile(path)) {
      Fail(folders::kIdsFileNotFound);
      return std::nullopt;
    }
    VolumeRecord record{};
    if (folders::FindVolumeEntry(record, path) == folders::kNoEntry) {
      record = VolumeRecord{};
      platform::CopyToField(record.path, path);
      folders::ReadContainerHeader(record, path);
    }
    if (record.sizeKb == 0) {
      Fail(folders::kIdsNotAContainer);
      return std::nullopt;
    }
    return record;
  }

  // MountedDevice: the device index serving the folder of `path`, or
  // nullopt after reporting that it is not mounted.
  std::optional<uint32_t> MountedDevice(std::u16string_view path) {
    StartUp();
    std::optional<VolumeRow> row = Row(path);
    std::optional<uint32_t> device;
    if (row && row->state == VolumeState::Mounted)
      device = folders::FindFolderDevice(row->record.deviceHandle);
    if (!device) FailText(kNotMounted);
    return device;
  }

  int SectorFailure(uint32_t error) {
    if (std::optional<std::string> text = folders::MountErrorBoxText(error)) return FailText(*text);
    return FailText(std::string(platform::ErrorText(error)));
  }

  const ZsfEnvironment& env_;
  std::ostream& out_;
};

int Run::Create(const Options& o, bool timeoutGiven) {
  std::optional<std::u16string> path = Path(o.path);
  if (!path) return 1;
  if (o.sizeKb < kMinSizeKb) return Fail(folders::kIdsSizeTooSmall);
  if (o.sizeKb > kMaxSizeKb) return FailText(kSizeTooLarge);
  if (timeoutGiven && o.timeout == 0) return Fail(folders::kIdsTimeoutZero);
  if (o.timeout > kMaxTimeoutSeconds) return Fail(folders::kIdsTimeoutTooLarge);
  // Replacing a mounted folder's container would cut the file from under the
  // driver, which goes on writing sectors into it.
  if (IsFile(*path)) {
    if (std::optional<VolumeRow> row = Row(*path); row && row->state == VolumeState::Mounted)
      return FailText(kFolderMounted);
  }
  if (IsFile(*path) && !o.overwrite) {
    const int answer =
        env_.prompt->Show(folders::FoldersText(folders::kIdsConfirmOverwrite),
                          folders::FoldersText(folders::kIdsCaption),
                          platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2);
    if (answer != platform::IDYES) return 1;
  }
  platform::DiskSpace space;
  if (platform::GetDiskFreeSpace(platform::ResolveDevicePath(Parent(*path)), space) == 0 &&
      space.freeToCaller <= uint64_t{o.sizeKb} * 1024)
    return Fail(folders::kIdsNoFreeSpace);

  std::u16string password, retyped;
  if (!Secret("Password: ", &password) || password.empty())
    return Fail(folders::kIdsPasswordRequired);
  if (!Secret("Re-type: ", &retyped) || retyped != password)
    return Fail(folders::kIdsPasswordsDiffer);

  VolumeRecord record{};
  platform::CopyToField(record.path, *path);
  platform::CopyToField(record.mountName,
                        o.mountAs.empty() ? BaseName(*path) : platform::Utf8ToUtf16(o.mountAs));
  record.algorithm = CipherNumber(o.cipher);
  record.timeoutSeconds = o.timeout;
  switch (folders::CreateContainer(record, o.sizeKb, password)) {
    case 0:
      break;
    case folders::kCipherLibraryMissing:
      return Fail(folders::kIdsNoCipherLibrary);
    case folders::kCipherNotSupported:
      return Fail(folders::kIdsCipherNotSupported);
    case folders::kEmptyPassword:
      return Fail(folders::kIdsPasswordRequired);
    default:
      return Fail(folders::kIdsCannotFindFile);
  }
  // A container the list does not know would be invisible to the folder
  // program; say so rather than report a success.
  if (uint32_t err = folders::WriteVolumeEntry(record))
    return FailText(std::string(platform::ErrorText(err)));
  out_ << "created " << Utf8(*path) << " (" << o.sizeKb << " KB, "
       << Utf8(folders::MainListCipherName(record.algorithm)) << ")\n";
  return 0;
}

int Run::Check(const Options& o) {
  std::optional<std::u16string> path = Path(o.path);
  if (!path) return 1;
  platform::File file;
  uint64_t size = 0;
  if (!IsFile(*path) ||
      file.Open(platform::ResolveDevicePath(*path), platform::GENERIC_READ,
                platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE,
                platform::Disposition::OpenExisting) != 0 ||
      file.Size(size) != 0)
    return Fail(folders::kIdsFileNotFound);
  std::array<uint8_t, folders::kHeaderSize> header{};
  size_t read = 0;
  file.Read(header, read);
  file.Close();

  VolumeRecord record{};
  const bool valid = folders::ReadContainerHeader(record, *path) == 1;
  VolumeRecord listed{};
  out_ << "path: " << Utf8(*path) << '\n'
       << DescribeHeader(std::span<const uint8_t>(header.data(), read), size)
       << "valid: " << (valid ? "yes" : "no") << '\n'
       << "listed: "
       << (folders::FindVolumeEntry(listed, *path) != folders::kNoEntry ? "yes" : "no") << '\n';
  if (!valid) return Fail(folders::kIdsNotAContainer);
  out_ << "size (KB): " << record.sizeKb << '\n';
  return 0;
}

int Run::ChangePassword(const Options& o) {
  std::optional<std::u16string> path = Path(o.path);
  if (!path) return 1;
  std::optional<VolumeRecord> record = Container(*path);
  if (!record) return 1;
  if (std::optional<VolumeRow> row = Row(*path); row && row->state == VolumeState::Mounted)
    return FailText(kFolderMounted);

  std::u16string oldPassword, newPassword, retyped;
  if (!Secret("Old password: ", &oldPassword) || !folders::VerifyPassword(*record, oldPassword))
    return Fail(folders::kIdsOldPasswordInvalid);
  Secret("New password: ", &newPassword);
  Secret("Re-type: ", &retyped);
  if (newPassword != retyped) return Fail(folders::kIdsPasswordsDiffer);
  if (newPassword.empty()) return Fail(folders::kIdsNewPasswordRequired);
  switch (folders::ChangeContainerPassword(*record, oldPassword, newPassword)) {
    case 0:
      out_ << "password changed for " << Utf8(*path) << '\n';
      return 0;
    case folders::kCipherLibraryMissing:
      return Fail(folders::kIdsNoCipherLibrary);
    case folders::kCipherNotSupported:
      return Fail(folders::kIdsCipherNotSupported);
    case folders::kNotEnoughRoom:
      return Fail(folders::kIdsNoRoomForPasswordChange);
    case folders::kEmptyPassword:
      return Fail(folders::kIdsNewPasswordRequired);
    default:
      return Fail(folders::kIdsCannotFindFile);
  }
}

int Run::Timeout(const Options& o) {
  std::optional<std::u16string> path = Path(o.path);
  if (!path) return 1;
  std::optional<VolumeRecord> record = Container(*path);
  if (!record) return 1;
  if (std::optional<VolumeRow> row = Row(*path); row && row->state == VolumeState::Mounted)
    return FailText(kFolderMounted);
  if (o.seconds > kMaxTimeoutSeconds) return Fail(folders::kIdsTimeoutTooLarge);
  if (folders::WriteContainerTimeout(*record, o.seconds) != 1)
    return Fail(folders::kIdsCannotFindFile);
  out_ << "time-out of " << Utf8(*path) << ": " << o.seconds << " s\n";
  return 0;
}

int Run::List() {
  StartUp();
  out_ << folders::FoldersTextUtf8(folders::kIdsFile) << '\t'
       << folders::FoldersTextUtf8(folders::kIdsSizeKb) << '\t'
       << folders::FoldersTextUtf8(folders::kIdsAlgorithm) << "\tState\n";
  for (const VolumeRow& row : folders::RefreshVolumeList())
    out_ << Utf8(row.path) << '\t' << row.sizeKb << '\t' << Utf8(row.cipherName) << '\t'
         << StateName(row.state) << '\n';
  return 0;
}

int Run::Mount(const Options& o) {
  std::optional<std::u16string> path = Path(o.path);
  if (!path) return 1;
  if (!IsFile(*path)) return Fail(folders::kIdsFileNotFound);
  StartUp();
  VolumeRecord record{};
  if (std::optional<VolumeRow> row = Row(*path)) {
    if (row->state == VolumeState::Mounted) return FailText(kAlreadyMounted);
    if (row->state == VolumeState::Missing) return Fail(folders::kIdsNotAContainer);
    record = row->record;
  } else {
    // As "Open...": a container not yet listed joins the list first.
    platform::CopyToField(record.path, *path);
    if (folders::ReadContainerHeader(record, *path) != 1) return Fail(folders::kIdsNotAContainer);
    platform::CopyToField(record.mountName, BaseName(*path));
    folders::WriteVolumeEntry(record);
  }
  if (!o.mountAs.empty())
    platform::CopyToField(record.mountName, platform::Utf8ToUtf16(o.mountAs));
  else if (record.mountName[0] == u'\0')
    platform::CopyToField(record.mountName, BaseName(*path));

  std::u16string password;
  Secret("Password: ", &password);
  const platform::DeviceHandle handle = folders::MountVolume(record, password, *env_.prompt);
  if (handle == 0) return 1;
  folders::RefreshVolumeList();
  out_ << "mounted " << Utf8(*path) << " as " << Utf8(platform::FieldText(record.mountName));
  if (std::optional<uint32_t> device = folders::FindFolderDevice(handle))
    out_ << " on " << Utf8(folders::FolderDeviceName(*device));
  out_ << '\n';
  return 0;
}

int Run::Unmount(const Options& o) {
  std::optional<std::u16string> path = Path(o.path);
  if (!path) return 1;
  StartUp();
  folders::RefreshVolumeList();  // the entry's handle must be the driver's, not a stale one
  const int released = folders::UnmountVolume(*path);
  folders::RefreshVolumeList();
  if (released != 1) return FailText(kNotMounted);
  out_ << "unmounted " << Utf8(*path) << '\n';
  return 0;
}

int Run::ReadSector(const Options& o) {
  std::optional<std::u16string> path = Path(o.path);
  if (!path) return 1;
  std::optional<uint32_t> device = MountedDevice(*path);
  if (!device) return 1;
  std::array<uint8_t, folders::kSectorSize> sector{};
  if (uint32_t err = folders::ReadFolderSector(*device, o.sector, sector))
    return SectorFailure(err);
  if (!o.outFile.empty()) {
    std::ofstream file(o.outFile, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(sector.data()), sector.size());
    if (!file.flush()) return FailText(kCannotOpenHostFile + o.outFile + "'.");
    return 0;
  }
  static const char kDigits[] = "0123456789abcdef";
  for (size_t line = 0; line < sector.size(); line += 16) {
    // Digits by hand: stream manipulators would outlive this dump on out_.
    for (int shift = 12; shift >= 0; shift -= 4) out_ << kDigits[(line >> shift) & 15];
    out_ << ' ';
    std::string text;
    for (size_t i = line; i < line + 16; ++i) {
      out_ << ' ' << kDigits[sector[i] >> 4] << kDigits[sector[i] & 15];
      text += sector[i] >= 0x20 && sector[i] < 0x7f ? static_cast<char>(sector[i]) : '.';
    }
    out_ << "  " << text << '\n';
  }
  return 0;
}

int Run::WriteSector(const Options& o) {
  std::optional<std::u16string> path = Path(o.path);
  if (!path) return 1;
  std::ifstream file(o.file, std::ios::binary);
  if (!file) return FailText(kCannotOpenHostFile + o.file + "'.");
  std::array<uint8_t, folders::kSectorSize> sector{};
  file.read(reinterpret_cast<char*>(sector.data()), sector.size());
  if (file.gcount() == static_cast<std::streamsize>(sector.size()) && file.peek() != EOF)
    return FailText(kSectorFileTooLong);
  std::optional<uint32_t> device = MountedDevice(*path);
  if (!device) return 1;
  if (uint32_t err = folders::WriteFolderSector(*device, o.sector, sector))
    return SectorFailure(err);
  return 0;
}

}  // namespace

int RunZsf(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           const ZsfEnvironment& environment) {
  Options o;
  CLI::App app{"Encrypted folders on the handheld: create, check, mount, inspect.", "zsf"};
  app.require_subcommand(1);
  const char* pathHelp = "Container path on the handheld, e.g. \"\\My Documents\\a.zsf\"";

  auto* create = app.add_subcommand("create", "Create a container and add it to the folder list");
  create->add_option("PATH", o.path, pathHelp)->required();
  create->add_option("--size", o.sizeKb, "Size in KB (256 to 65536)")->required();
  create->add_option("--cipher", o.cipher, "rc5, rc6, rijndael-128 or rijndael-256")
      ->required()
      ->check(CLI::IsMember({"rc5", "rc6", "rijndael-128", "rijndael-256"}));
  auto* timeout = create->add_option("--timeout", o.timeout, "Automatic time-out in seconds");
  create->add_option("--as", o.mountAs, "\"Mount as\" name (default: the file's base name)");
  create->add_flag("--overwrite", o.overwrite, "Replace an existing file without asking");

  auto* check = app.add_subcommand("check", "Show a container's header and whether it is valid");
  check->add_option("PATH", o.path, pathHelp)->required();

  auto* passwd = app.add_subcommand("passwd", "Change a container's password");
  passwd->add_option("PATH", o.path, pathHelp)->required();

  auto* setTimeout = app.add_subcommand("timeout", "Set a container's time-out (0: none)");
  setTimeout->add_option("PATH", o.path, pathHelp)->required();
  setTimeout->add_option("SECONDS", o.seconds, "Time-out in seconds")->required();

  auto* list = app.add_subcommand("list", "Refresh and show the folder list");

  auto* mount = app.add_subcommand("mount", "Mount a folder");
  mount->add_option("PATH", o.path, pathHelp)->required();
  mount->add_option("--as", o.mountAs, "\"Mount as\" name");

  auto* unmount = app.add_subcommand("unmount", "Unmount a folder");
  unmount->add_option("PATH", o.path, pathHelp)->required();

  auto* read = app.add_subcommand("read", "Read one deciphered sector of a mounted folder");
  read->add_option("PATH", o.path, pathHelp)->required();
  read->add_option("SECTOR", o.sector, "Sector number from 0")->required();
  read->add_option("--out", o.outFile, "Host file for the 512 bytes (default: a hex dump)");

  auto* write = app.add_subcommand("write", "Write one sector of a mounted folder");
  write->add_option("PATH", o.path, pathHelp)->required();
  write->add_option("SECTOR", o.sector, "Sector number from 0")->required();
  write->add_option("FILE", o.file, "Host file of at most 512 bytes (zero-padded)")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 1;
  }

  Run run(environment, out);
  if (create->parsed()) return run.Create(o, timeout->count() > 0);
  if (check->parsed()) return run.Check(o);
  if (passwd->parsed()) return run.ChangePassword(o);
  if (setTimeout->parsed()) return run.Timeout(o);
  if (list->parsed()) return run.List();
  if (mount->parsed()) return run.Mount(o);
  if (unmount->parsed()) return run.Unmount(o);
  if (read->parsed()) return run.ReadSector(o);
  if (write->parsed()) return run.WriteSector(o);
  return 1;
}

}  // namespace zsf
