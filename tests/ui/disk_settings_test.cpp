#include "machine/disk_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/profile.h"
#include "support/scratch.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteText;

std::string Value(const std::string& ini, const char* key) {
  char buffer[260];
  platform::ReadProfileValue("DISK", key, "<missing>", buffer, sizeof buffer, ini.c_str());
  return buffer;
}

TEST(DiskSettings, WithoutAnIniFileEverythingIsDefault) {
  ScratchDir dir;
  disk::DiskSettings settings(dir.File("none.ini").c_str());
  settings.Load();
  for (const auto& path : settings.imagePaths) EXPECT_STREQ(path, "");
  for (const auto& drive : settings.realDrives) {
    EXPECT_EQ(drive.useImage, 1u);
    EXPECT_STREQ(drive.driveName, "A");
    EXPECT_EQ(drive.is144, 0u);
  }
  EXPECT_STREQ(settings.diskExplorer, "");
  EXPECT_EQ(settings.fdWait, 0u);
}

TEST(DiskSettings, FlagsAreOffOnlyWhenTheyBeginWithZero) {
  ScratchDir dir;
  std::string ini = dir.File("host.ini");
  WriteText(ini, "[DISK]\nblnImage00=\nblnImage01=0ff\nFDWAIT=yes\nbyType01=257\nbyType00=x\n");
  disk::DiskSettings settings(ini.c_str());
  settings.Load();
  EXPECT_EQ(settings.realDrives[0].useImage, 1u);  // present but empty: on
  EXPECT_EQ(settings.realDrives[1].useImage, 0u);
  EXPECT_EQ(settings.fdWait, 1u);
  EXPECT_EQ(settings.realDrives[1].is144, 257u);
  EXPECT_EQ(settings.realDrives[0].is144, 0u);

  WriteText(ini, "[DISK]\nFDWAIT=0\n");
  settings.Load();
  EXPECT_EQ(settings.fdWait, 0u);
}

TEST(DiskSettings, SaveWritesEveryKeyInItsCanonicalForm) {
  ScratchDir dir;
  std::string ini = dir.File("host.ini");
  WriteText(ini,
            "[DISK]\nDISK00=C:\\A.MFD\nblnImage00=yes\nblnImage01=0ff\nbyType01=257\n"
            "FDWAIT=on\nszFdd01=B\n[OTHER]\nKEEP=1\n");
  disk::DiskSettings settings(ini.c_str());
  settings.Load();
  settings.Save();
  EXPECT_EQ(Value(ini, "DISK00"), "C:\\A.MFD");
  EXPECT_EQ(Value(ini, "DISK03"), "");
  EXPECT_EQ(Value(ini, "blnImage00"), "1");
  EXPECT_EQ(Value(ini, "blnImage01"), "0");
  EXPECT_EQ(Value(ini, "byType01"), "1");
  EXPECT_EQ(Value(ini, "byType00"), "0");
  EXPECT_EQ(Value(ini, "szFdd00"), "A");
  EXPECT_EQ(Value(ini, "szFdd01"), "B");
  EXPECT_EQ(Value(ini, "FDWAIT"), "1");
  EXPECT_EQ(Value(ini, "LASTPATHHDD"), "");
  char other[8];
  platform::ReadProfileValue("OTHER", "KEEP", "", other, sizeof other, ini.c_str());
  EXPECT_STREQ(other, "1");
}

TEST(DiskSettings, SaveWritesThroughALinkAndLeavesAReadOnlyFileAlone) {
  namespace fs = std::filesystem;
  ScratchDir dir;
  const std::string real = dir.File("real.ini");
  std::string ini = real;
#if !defined(_WIN32)
  ini = dir.File("host.ini");
  fs::create_symlink(real, ini);
#endif
  WriteText(real, "[DISK]\nFDWAIT=0\n");
  disk::DiskSettings settings(ini.c_str());
  settings.Load();
  settings.fdWait = 1;
  settings.Save();
  EXPECT_EQ(fs::is_symlink(ini), ini != real);
  EXPECT_EQ(Value(real, "FDWAIT"), "1");

  fs::permissions(real, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  settings.fdWait = 0;
  settings.Save();
  EXPECT_EQ(Value(real, "FDWAIT"), "1");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::owner_write, fs::perms::none);
  fs::permissions(real, fs::perms::owner_write, fs::perm_options::add);
}

TEST(DiskSettings, EditorPathResolvesAgainstTheIniFolder) {
  disk::DiskSettings settings("C:\\EMU\\HOST.INI");
  EXPECT_STREQ(settings.EditorPath(), "");
  platform::CopyString(settings.diskExplorer, "D:\\DE\\editdisk.exe", platform::kPathSize);
  EXPECT_STREQ(settings.EditorPath(), "D:\\DE\\editdisk.exe");
  platform::CopyString(settings.diskExplorer, "\\TOOLS\\editdisk.exe", platform::kPathSize);
  EXPECT_STREQ(settings.EditorPath(), "C:\\EMU\\TOOLS\\editdisk.exe");
  platform::CopyString(settings.diskExplorer, "editdisk.exe", platform::kPathSize);
  EXPECT_STREQ(settings.EditorPath(), "C:\\EMUeditdisk.exe");

  disk::DiskSettings bare("host.ini");
  platform::CopyString(bare.diskExplorer, "editdisk.exe", platform::kPathSize);
  EXPECT_STREQ(bare.EditorPath(), "host.inieditdisk.exe");
}

}  // namespace
