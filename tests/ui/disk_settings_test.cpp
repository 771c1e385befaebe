// The DISK section of the INI file: what is read, what is written back, and where the editor is.
#include "machine/disk_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/profile.h"
#include "support/scratch.h"

namespace {

using testing_support::WriteText;
namespace fs = std::filesystem;

std::string Value(const std::string& ini, const char* key, const char* section = "DISK") {
  char buffer[260];
  platform::ReadProfileValue(section, key, "<missing>", buffer, sizeof buffer, ini.c_str());
  return buffer;
}

class DiskSettingsTest : public ::testing::Test {
 protected:
  testing_support::ScratchDir dir;
  std::string ini = dir.File("host.ini");
  disk::DiskSettings settings{ini.c_str()};
};

TEST_F(DiskSettingsTest, FlagsAreOffOnlyWhenTheyBeginWithZeroAndSaveWritesEveryKeyCanonically) {
  settings.Load();  // no file: every default
  EXPECT_EQ(std::string(settings.imagePaths[3]) + settings.diskExplorer +
                settings.realDrives[1].driveName,
            "A");
  EXPECT_EQ(
      settings.realDrives[0].useImage * 100 + settings.realDrives[0].is144 * 10 + settings.fdWait,
      100u);
  WriteText(ini,
            "[DISK]\nDISK00=C:\\A.MFD\nblnImage00=\nblnImage01=0ff\nbyType01=257\nbyType00=x\n"
            "FDWAIT=yes\nszFdd01=B\n[OTHER]\nKEEP=1\n");
  settings.Load();
  EXPECT_EQ(settings.realDrives[0].useImage, 1u);  // present but empty: on
  EXPECT_EQ(settings.realDrives[1].useImage, 0u);
  EXPECT_EQ(settings.fdWait, 1u);
  EXPECT_EQ(settings.realDrives[1].is144 * 10 + settings.realDrives[0].is144, 2570u);
  settings.Save();
  const std::pair<const char*, const char*> saved[] = {
      {"DISK00", "C:\\A.MFD"}, {"DISK03", ""},     {"blnImage00", "1"}, {"blnImage01", "0"},
      {"byType01", "1"},       {"byType00", "0"},  {"szFdd00", "A"},    {"szFdd01", "B"},
      {"FDWAIT", "1"},         {"LASTPATHHDD", ""}};
  for (const auto& [key, value] : saved) EXPECT_EQ(Value(ini, key), value) << key;
  EXPECT_EQ(Value(ini, "KEEP", "OTHER"), "1");
  WriteText(ini, "[DISK]\nFDWAIT=0\n");
  settings.Load();
  EXPECT_EQ(settings.fdWait, 0u);
}

TEST_F(DiskSettingsTest, SaveWritesThroughALinkAndLeavesAReadOnlyFileAlone) {
  const std::string real = dir.File("real.ini");
#if !defined(_WIN32)
  fs::create_symlink(real, ini);
#else
  ini = real;
#endif
  WriteText(real, "[DISK]\nFDWAIT=0\n");
  disk::DiskSettings linked(ini.c_str());
  linked.Load();
  linked.fdWait = 1;
  linked.Save();
  EXPECT_EQ(fs::is_symlink(ini), ini != real);
  EXPECT_EQ(Value(real, "FDWAIT"), "1");

  fs::permissions(real, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  linked.fdWait = 0;
  linked.Save();
  EXPECT_EQ(Value(real, "FDWAIT"), "1");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::owner_write, fs::perms::none);
  fs::permissions(real, fs::perms::owner_write, fs::perm_options::add);
}

TEST(DiskSettings, EditorPathResolvesAgainstTheIniFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"D:\\DE\\editdisk.exe", "D:\\DE\\editdisk.exe"},
      {"\\TOOLS\\editdisk.exe", "C:\\EMU\\TOOLS\\editdisk.exe"},
      {"editdisk.exe", "C:\\EMUeditdisk.exe"}};
  for (const auto& [value, resolved] : cases) {
    disk::DiskSettings settings("C:\\EMU\\HOST.INI");
    platform::CopyString(settings.diskExplorer, value, platform::kPathSize);
    EXPECT_STREQ(settings.EditorPath(), resolved) << value;
  }
  disk::DiskSettings bare("host.ini");
  platform::CopyString(bare.diskExplorer, "editdisk.exe", platform::kPathSize);
  EXPECT_STREQ(bare.EditorPath(), "host.inieditdisk.exe");
}

}  // namespace
