// The DISK SETTING dialog and the DISK section of the INI file it edits.
#include <gtest/gtest.h>

#include <filesystem>

#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/image_selection.h"
#include "ui/ui_fixture.h"

namespace {

using testing_support::ReadText;
using testing_support::WriteText;

class DiskSettingTest : public testing_support::UiTest {
 protected:
  // Drive 1's and its media's selection ("-1": media list disabled), drive 2's and its media's,
  // FDWAIT, the editor path.
  std::string Controls() {
    std::string text;
    for (int id : {IDC_DRIVE_1, IDC_MEDIA_1, IDC_DRIVE_2, IDC_MEDIA_2})
      text += std::to_string(window[id].enabled ? window[id].selected : -1) + " ";
    return text + std::to_string(window[IDC_FDWAIT].checked) + " " + window[IDC_EDITOR_PATH].text;
  }
  disk::DiskSettingDialog dialog{system, nullptr};
  testing_support::FakeSurface window;
};

// A flag is off only when its value begins with '0'; the rest is written back as it was loaded.
TEST_F(DiskSettingTest, ShowsTheIniFileAndSavesTheControls) {
  WriteText(ini,
            "[DISK]\nDISK00=a.mfd\nLASTPATHHDD=D:\\HD\\\nblnImage00=\nblnImage01=0ff\nszFdd01=C\n"
            "byType01=1\nDISKEXPLORER=D:\\DE\\editdisk.exe\nFDWAIT=yes\n");
  dialog.OnInit(window);
  // Drive 1 an image file (no media list); drive 2 real drive "C" with 1.44 MB media.
  EXPECT_EQ(Controls(), "0 -1 3 1 1 D:\\DE\\editdisk.exe");
  window[IDC_DRIVE_2].selected = 0;  // "Image File"
  dialog.OnCommand(window, IDC_DRIVE_2);
  window[IDC_DRIVE_1].selected = 2;  // "B"
  window[IDC_MEDIA_1].selected = 1;
  dialog.OnCommand(window, IDC_DRIVE_1);
  window[IDC_FDWAIT].checked = false;
  window[IDC_EDITOR_PATH].text = "E:\\editdisk.exe";
  EXPECT_EQ(Controls(), "2 1 0 -1 0 E:\\editdisk.exe");
  dialog.OnCommand(window, IDC_SAVE);
  EXPECT_EQ(window.endResult, 1);
  ExpectInIni({"blnImage00=0", "szFdd00=B", "byType00=1", "blnImage01=1", "szFdd01=A",
               "DISKEXPLORER=E:\\editdisk.exe", "FDWAIT=0", "DISK00=a.mfd",
               "LASTPATHHDD=D:\\HD\\"});
  disk::ApplyRealDriveSettings(ui);
  EXPECT_EQ(panel[disk::panel::InfoText(0)].text, "FD Drive - B ( 1.44M )");
}

TEST_F(DiskSettingTest, BrowseFillsTheEditorPathAndCancelAndCloseLeaveTheFileAlone) {
  dialog.OnInit(window);
  EXPECT_EQ(Controls(), "0 -1 0 -1 0 ");  // no file: image files, no wait, no editor
  window.ChooseFile("C:\\DE\\editdisk.exe");
  dialog.OnCommand(window, IDC_EDITOR_BROWSE);
  EXPECT_EQ(window[IDC_EDITOR_PATH].text, "C:\\DE\\editdisk.exe");

  const std::string text = "[DISK]\nblnImage00=0\nszFdd00=d\nbyType00=7\n";
  WriteText(ini, text);
  window = {};
  dialog.OnInit(window);
  EXPECT_EQ(Controls().substr(0, 5), "-1 -1");  // lower-case letter: no entry matches
  window[IDC_FDWAIT].checked = true;
  dialog.OnCommand(window, IDCANCEL_KEY);
  EXPECT_EQ(window.endResult, 1);
  dialog.OnClose(window);
  EXPECT_EQ(ReadText(ini), text);

  system.settings.realDrives[0].inserted = 1;
  disk::ApplyRealDriveSettings(ui);  // copies what the file holds, keeps inserted
  EXPECT_EQ(system.settings.realDrives[0].useImage * 10 + system.settings.realDrives[0].inserted,
            1u);
  EXPECT_STREQ(system.settings.realDrives[0].driveName, "d");
  // Saving lists without a selection stores image files and 1.23 MB instead of stray values.
  dialog.OnCommand(window, IDC_SAVE);
  ExpectInIni({"blnImage00=1", "szFdd00=A", "byType00=0"});
  // A file the user may not write is left alone.
  namespace fs = std::filesystem;
  fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  window[IDC_FDWAIT].checked = false;
  dialog.OnCommand(window, IDC_SAVE);
  ExpectInIni({"FDWAIT=1"});
  fs::permissions(ini, fs::perms::owner_write, fs::perm_options::add);
}

// A name without a colon is joined to the INI file's folder as it stands.
TEST(DiskSettings, EditorPathResolvesAgainstTheIniFolder) {
  const char* const cases[][3] = {{"C:\\EMU\\HOST.INI", "", ""},
                                  {"C:\\EMU\\HOST.INI", "D:\\editdisk.exe", "D:\\editdisk.exe"},
                                  {"C:\\EMU\\HOST.INI", "editdisk.exe", "C:\\EMUeditdisk.exe"},
                                  {"host.ini", "editdisk.exe", "host.inieditdisk.exe"}};
  for (const auto& [iniPath, value, resolved] : cases) {
    disk::DiskSettings settings(iniPath);
    platform::CopyString(settings.diskExplorer, value, platform::kPathSize);
    EXPECT_STREQ(settings.EditorPath(), resolved) << value;
  }
}

#if !defined(_WIN32)
// The editor gets the row's image, both quoted, and /S; the panel waits until it ends.
TEST_F(DiskSettingTest, EditorRunsOnTheRowImageAndIsWaitedFor) {
  const std::string record = dir.File("args.txt"), editor = dir.File("edit: disk.sh");
  WriteText(editor,
            "#!/bin/sh\nsleep 0.2\nfor a in \"$@\"; do echo \"[$a]\"; done > '" + record + "'\n");
  std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
  WriteText(ini, "[DISK]\nDISKEXPLORER=" + editor + "\n");  // a colon keeps the path as it stands
  SetPath(2, "/img/hard disk.mhd");
  disk::LaunchEditor(system, 1);  // floppy rows have no editor
  EXPECT_FALSE(testing_support::Exists(record));
  disk::LaunchEditor(system, 2);
  EXPECT_EQ(ReadText(record), "[/img/hard disk.mhd]\n[/S]\n");
}
#endif

}  // namespace
