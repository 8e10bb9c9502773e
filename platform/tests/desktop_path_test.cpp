// Desktop path resolution: drive letters, the host tree, relative paths and letter case.
#include <gtest/gtest.h>

#include "platform/DesktopPath.h"
#include "platform/Errors.h"
#include "platform/tests/TempDevice.h"

namespace platform {
namespace {

using DesktopPath = TempDevice;

// CurrentFolder: moves the host's current folder for the life of the object.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

TEST_F(DesktopPath, DriveCIsTheConfiguredHostFolderInEitherSpelling) {
  const std::string file = Put("drive_c/Program Files/Setdesk/ZEPDB.pdb");
  EXPECT_EQ(ResolveDesktopPath("C:\\Program Files\\Setdesk\\ZEPDB.pdb").host, file);
  EXPECT_EQ(ResolveDesktopPath("c:/program files/SETDESK/zepdb.PDB").host, file);
  EXPECT_EQ(ResolveDesktopPath("C:Program Files\\Setdesk\\ZEPDB.pdb").host, file);
  EXPECT_EQ(ResolveDesktopPath("C:\\").host, Host("drive_c"));
}

TEST_F(DesktopPath, OtherDrivesResolveOnlyWhenConfigured) {
  EXPECT_EQ(ResolveDesktopPath("D:\\x.txt").error, ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(DriveFolder('d'), "");
  const std::string d = MakeFolder("dee");
  ::setenv("QM_DRIVE_D", d.c_str(), 1);
  EXPECT_EQ(DriveFolder('d'), d);
  EXPECT_EQ(ResolveDesktopPath("d:\\x.txt").host, d + "/x.txt");
  ::unsetenv("QM_DRIVE_D");
}

TEST_F(DesktopPath, DotDotStopsAtTheDriveRoot) {
  Put("secret.txt");  // beside drive_c in the home
  EXPECT_EQ(ResolveDesktopPath("C:\\..\\secret.txt").host, Host("drive_c/secret.txt"));
  EXPECT_EQ(ResolveDesktopPath("C:\\a\\..\\..\\..\\").host, Host("drive_c"));
}

TEST_F(DesktopPath, RelativePathsStartAtTheCurrentFolder) {
  const std::string file = Put("work/Update/LastUpdate/File1.pdb");
  CurrentFolder cwd(Host("work"));
  EXPECT_EQ(ResolveDesktopPath("update\\LastUpdate\\file1.pdb").host, file);
  EXPECT_EQ(ResolveDesktopPath(".\\Update/../Update/LastUpdate/File1.pdb").host, file);
  EXPECT_EQ(ResolveDesktopPath("..\\work\\Update").host, Host("work/Update"));
}

TEST_F(DesktopPath, LeadingSeparatorIsTheHostTree) {
  const std::string file = Put("tree/a.txt");
  std::string desktop = file;
  for (char& c : desktop)
    if (c == '/') c = '\\';
  EXPECT_EQ(ResolveDesktopPath(desktop).host, file);
  EXPECT_EQ(ResolveDesktopPath("\\").host, "/");
}

TEST_F(DesktopPath, NetworkPathsAndBadNamesAreRefused) {
  EXPECT_EQ(ResolveDesktopPath("\\\\server\\share\\x").error, ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(ResolveDesktopPath("C:\\a*b").error, ERROR_INVALID_NAME);
  EXPECT_EQ(ResolveDesktopPath("C:\\x\\a:b").error, ERROR_INVALID_NAME);
  // Only a letter names a drive; otherwise the colon is part of a bad name.
  EXPECT_EQ(ResolveDesktopPath("1:\\x.txt").error, ERROR_INVALID_NAME);
  EXPECT_EQ(ResolveDesktopPath("?:x.txt").error, ERROR_INVALID_NAME);
  EXPECT_EQ(ResolveDesktopPath("").error, ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(ResolveDesktopPath("C:\\missing\\x.txt").error, ERROR_PATH_NOT_FOUND);
}

}  // namespace
}  // namespace platform
