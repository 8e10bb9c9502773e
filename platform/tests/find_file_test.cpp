// Folder listings: host order, mounts at the root, ROM attributes, patterns and end codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/FindFile.h"
#include "platform/tests/TempDevice.h"

namespace platform {
namespace {

using Listing = TempDevice;

struct Entry {
  std::string name;
  uint32_t attributes;
};

std::vector<Entry> ListDevice(std::string_view pattern, uint32_t* firstRc = nullptr) {
  std::vector<Entry> out;
  FindFile find;
  FindData data;
  uint32_t rc = find.FirstDevice(pattern, data);
  if (firstRc) *firstRc = rc;
  for (; rc == 0; rc = find.Next(data)) out.push_back({data.name, data.attributes});
  return out;
}

std::vector<std::string> Names(const std::vector<Entry>& entries) {
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  return names;
}

TEST_F(Listing, EntriesComeInTheHostsOrderWithoutDotEntries) {
  for (const char* n : {"zeta.txt", "Alpha.exe", "mid.dat", "b.TXT", ".cfg"})
    Put("device/d/" + std::string(n));
  MakeFolder("device/d/Sub");
  std::vector<std::string> host;
  for (const auto& e : std::filesystem::directory_iterator(Host("device/d")))
    host.push_back(e.path().filename().string());
  EXPECT_EQ(Names(ListDevice("\\d\\*.*")), host);
  EXPECT_EQ(Names(ListDevice("/D/*")), host);
}

TEST_F(Listing, EachEntryCarriesItsAttributesSizeAndName) {
  Put("device/d/five.bin", "12345");
  MakeFolder("device/d/Sub");
  Put("device/d/.hidden");
  FindFile find;
  FindData data;
  ASSERT_EQ(find.FirstDevice(u"\\d\\five.*", data), 0u);
  EXPECT_EQ(data.name, "five.bin");
  EXPECT_EQ(data.size, 5u);
  EXPECT_EQ(data.attributes, FILE_ATTRIBUTE_NORMAL);
  EXPECT_GT(data.lastWriteTime, 0u);
  std::map<std::string, uint32_t> all;
  for (const auto& e : ListDevice("\\d\\*")) all[e.name] = e.attributes;
  EXPECT_EQ(all, (std::map<std::string, uint32_t>{{".hidden", FILE_ATTRIBUTE_HIDDEN},
                                                  {"Sub", FILE_ATTRIBUTE_DIRECTORY},
                                                  {"five.bin", FILE_ATTRIBUTE_NORMAL}}));
}

TEST_F(Listing, RootListsHostEntriesThenTheMounts) {
  Put("device/My Documents/a.txt");
  MountCard("Storage Card", "sd");
  MountRom("Windows", "rom");
  ASSERT_EQ(AddDeviceMount({MountKind::Card, "Removed Card", Host("gone")}), 0u);
  const auto root = ListDevice("\\*.*");
  ASSERT_EQ(root.size(), 3u);
  EXPECT_EQ(root[0].name, "My Documents");
  EXPECT_EQ(root[0].attributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(root[1].name, "Storage Card");
  EXPECT_EQ(root[1].attributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY);
  EXPECT_EQ(root[2].name, "Windows");
  EXPECT_EQ(root[2].attributes, FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Listing, AMountHidesTheHostFolderOfItsName) {
  MakeFolder("device/storage card");
  MountCard("Storage Card", "sd");
  const auto root = ListDevice("\\*");
  ASSERT_EQ(root.size(), 1u);
  EXPECT_EQ(root[0].name, "Storage Card");
  EXPECT_EQ(Names(ListDevice("\\storage*")), std::vector<std::string>{"Storage Card"});
}

TEST_F(Listing, EntriesBelowARomMountAreInRom) {
  MountRom("Windows", "rom");
  Put("rom/calc.exe");
  MakeFolder("rom/fonts");
  for (const auto& e : ListDevice("\\Windows\\*.*")) {
    EXPECT_TRUE(e.attributes & FILE_ATTRIBUTE_INROM) << e.name;
    EXPECT_TRUE(e.attributes & FILE_ATTRIBUTE_READONLY) << e.name;
    EXPECT_FALSE(e.attributes & FILE_ATTRIBUTE_NORMAL) << e.name;
  }
  EXPECT_EQ(ListDevice("\\Windows\\*.*").size(), 2u);
}

TEST_F(Listing, MissingFolderNoMatchAndEndHaveTheirOwnCodes) {
  Put("device/d/a.txt");
  Put("device/file.txt");
  uint32_t rc = 0;
  EXPECT_TRUE(ListDevice("\\none\\*.*", &rc).empty());
  EXPECT_EQ(rc, ERROR_PATH_NOT_FOUND);
  ListDevice("\\file.txt\\*", &rc);
  EXPECT_EQ(rc, ERROR_PATH_NOT_FOUND);
  ListDevice("\\d\\*.exe", &rc);
  EXPECT_EQ(rc, ERROR_FILE_NOT_FOUND);
  MakeFolder("device/empty");
  ListDevice("\\empty\\*.*", &rc);
  EXPECT_EQ(rc, ERROR_FILE_NOT_FOUND);
  FindFile find;
  FindData data;
  ASSERT_EQ(find.FirstDevice("\\d\\*", data), 0u);
  EXPECT_EQ(find.Next(data), ERROR_NO_MORE_FILES);
  EXPECT_EQ(GetLastError(), 18u);
  EXPECT_EQ(find.Next(data), ERROR_NO_MORE_FILES);
  find.Close();
  EXPECT_EQ(find.Next(data), ERROR_INVALID_HANDLE);
}

TEST_F(Listing, PatternsMatchRegardlessOfCase) {
  for (const char* n : {"readme", "README.TXT", "calc.exe", "abc.dat", "axc.DAT", "ab.dat"})
    Put("device/p/" + std::string(n));
  auto sorted = [](std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ(sorted(Names(ListDevice("\\p\\*.txt"))), std::vector<std::string>{"README.TXT"});
  EXPECT_EQ(sorted(Names(ListDevice("\\p\\a?c.dat"))),
            (std::vector<std::string>{"abc.dat", "axc.DAT"}));
  EXPECT_EQ(sorted(Names(ListDevice("\\p\\readme.*"))),
            (std::vector<std::string>{"README.TXT", "readme"}));
  EXPECT_EQ(sorted(Names(ListDevice("\\p\\CALC.EXE"))), std::vector<std::string>{"calc.exe"});
}

TEST_F(Listing, DesktopFoldersAreListedToo) {
  Put("drive_c/Update/LastUpdate/File1.pdb");
  Put("drive_c/Update/LastUpdate/File2.pdb");
  FindFile find;
  FindData data;
  std::vector<std::string> names;
  for (uint32_t rc = find.FirstDesktop("c:\\update\\lastupdate\\*.PDB", data); rc == 0;
       rc = find.Next(data))
    names.push_back(data.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"File1.pdb", "File2.pdb"}));
  EXPECT_EQ(find.FirstDesktop("D:\\*", data), ERROR_PATH_NOT_FOUND);
}

}  // namespace
}  // namespace platform
