#include <gtest/gtest.h>

#include <filesystem>

#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/image_selection.h"
#include "ui/panel_controls.h"
#include "ui/ui_fixture.h"

namespace {

using testing_support::FakeSurface;
using testing_support::ReadText;
using testing_support::WriteText;

class DiskSettingTest : public testing_support::UiTest {
 protected:
  disk::DiskSettingDialog dialog{system, nullptr};
  FakeSurface window;
};

TEST_F(DiskSettingTest, ShowsTheIniFileAndSavesTheControls) {
  WriteText(ini,
            "[DISK]\nDISK00=a.mfd\nLASTPATHHDD=D:\\HD\\\nblnImage01=0\nszFdd01=C\nbyType01=1\n"
            "DISKEXPLORER=D:\\DE\\editdisk.exe\nFDWAIT=1\n");
  dialog.OnInit(window);
  EXPECT_EQ(window[IDC_DRIVE_1].items.size(), 27u);
  EXPECT_EQ(window[IDC_DRIVE_1].items[0], "Image File");
  EXPECT_EQ(window[IDC_DRIVE_1].items[26], "Z");
  EXPECT_EQ(window[IDC_DRIVE_1].selected, 0);
  EXPECT_FALSE(window[IDC_MEDIA_1].enabled);
  EXPECT_EQ(window[IDC_DRIVE_2].selected, 3);  // "C"
  EXPECT_TRUE(window[IDC_MEDIA_2].enabled);
  EXPECT_EQ(window[IDC_MEDIA_2].selected, 1);
  EXPECT_EQ(window[IDC_EDITOR_PATH].text, "D:\\DE\\editdisk.exe");
  EXPECT_TRUE(window[IDC_FDWAIT].checked);

  window[IDC_DRIVE_2].selected = 0;  // "Image File"
  dialog.OnCommand(window, IDC_DRIVE_2);
  EXPECT_FALSE(window[IDC_MEDIA_2].enabled);
  window[IDC_DRIVE_1].selected = 2;  // "B"
  window[IDC_MEDIA_1].selected = 1;
  dialog.OnCommand(window, IDC_DRIVE_1);
  EXPECT_TRUE(window[IDC_MEDIA_1].enabled);
  window[IDC_FDWAIT].checked = false;
  window[IDC_EDITOR_PATH].text = "E:\\editdisk.exe";
  dialog.OnCommand(window, IDC_SAVE);
  EXPECT_EQ(window.endResult, 1);

  disk::DiskSettings saved(ini.c_str());
  saved.Load();
  EXPECT_EQ(saved.realDrives[0].useImage, 0u);
  EXPECT_STREQ(saved.realDrives[0].driveName, "B");
  EXPECT_EQ(saved.realDrives[0].is144, 1u);
  EXPECT_EQ(saved.realDrives[1].useImage, 1u);
  EXPECT_STREQ(saved.realDrives[1].driveName, "A");
  EXPECT_STREQ(saved.diskExplorer, "E:\\editdisk.exe");
  EXPECT_EQ(saved.fdWait, 0u);
  EXPECT_STREQ(saved.imagePaths[0], "a.mfd");  // the rest is written back as loaded
  EXPECT_STREQ(saved.lastPathHdd, "D:\\HD\\");

  disk::ApplyRealDriveSettings(ui);
  EXPECT_EQ(system.settings.realDrives[0].useImage, 0u);
  EXPECT_EQ(system.settings.realDrives[0].is144, 1u);
  EXPECT_EQ(panel[disk::panel::InfoText(0)].text, "FD Drive - B ( 1.44M )");
}

TEST_F(DiskSettingTest, CancelAndCloseLeaveTheFileAlone) {
  const std::string text = "[DISK]\nblnImage00=0\nszFdd00=d\nbyType00=7\n";
  WriteText(ini, text);
  dialog.OnInit(window);
  EXPECT_EQ(window[IDC_DRIVE_1].selected, -1);  // lower-case letter: no entry matches
  EXPECT_EQ(window[IDC_MEDIA_1].selected, -1);
  window[IDC_FDWAIT].checked = true;
  dialog.OnCommand(window, IDCANCEL_KEY);
  EXPECT_EQ(window.endResult, 1);
  dialog.OnClose(window);
  EXPECT_EQ(ReadText(ini), text);

  system.settings.realDrives[0].inserted = 1;
  disk::ApplyRealDriveSettings(ui);  // copies what the file holds, keeps inserted
  EXPECT_EQ(system.settings.realDrives[0].useImage, 0u);
  EXPECT_STREQ(system.settings.realDrives[0].driveName, "d");
  EXPECT_EQ(system.settings.realDrives[0].inserted, 1u);

  // Saving lists without a selection stores image files and 1.23 MB instead of stray values.
  dialog.OnCommand(window, IDC_SAVE);
  disk::DiskSettings saved(ini.c_str());
  saved.Load();
  EXPECT_EQ(saved.realDrives[0].useImage, 1u);
  EXPECT_STREQ(saved.realDrives[0].driveName, "A");
  EXPECT_EQ(saved.realDrives[0].is144, 0u);
}

TEST_F(DiskSettingTest, BrowseFillsTheEditorPathUnlessCancelled) {
  dialog.OnInit(window);
  window[IDC_EDITOR_PATH].text = "kept";
  window.ChooseFile("");
  dialog.OnCommand(window, IDC_EDITOR_BROWSE);
  EXPECT_EQ(window[IDC_EDITOR_PATH].text, "kept");
  EXPECT_EQ(window.fileDialogs.back().filter,
            std::string("EXE FILES\0*.EXE\0ALL FILES\0*.*\0", 30));
  window.onFileDialog = [](disk::FileDialogRequest& request) {
    EXPECT_STREQ(request.fileName, "editdisk.exe");
    platform::CopyString(request.fileName, "C:\\DE\\editdisk.exe", platform::kPathSize);
    return true;
  };
  dialog.OnCommand(window, IDC_EDITOR_BROWSE);
  EXPECT_EQ(window[IDC_EDITOR_PATH].text, "C:\\DE\\editdisk.exe");
}

TEST(EditorLaunch, CommandLineQuotesEditorAndImage) {
  EXPECT_EQ(disk::EditorCommandLine("D:\\DE\\editdisk.exe", "D:\\IMG\\A.MHD"),
            "\"D:\\DE\\editdisk.exe\" \"D:\\IMG\\A.MHD\" /S");
}

#if !defined(_WIN32)
TEST_F(DiskSettingTest, EditorRunsOnTheRowImageAndIsWaitedFor) {
  std::string record = dir.File("args.txt");
  // A colon anywhere keeps the editor path as it stands.
  std::string editor = dir.File("edit: disk.sh");
  WriteText(editor,
            "#!/bin/sh\nsleep 0.2\nfor a in \"$@\"; do echo \"[$a]\"; done > '" + record + "'\n");
  std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
  WriteText(ini, "[DISK]\nDISKEXPLORER=" + editor + "\n");
  SetPath(2, "/img/hard disk.mhd");
  disk::LaunchEditor(system, 1);  // floppy rows have no editor
  EXPECT_FALSE(testing_support::Exists(record));
  disk::LaunchEditor(system, 2);
  EXPECT_EQ(ReadText(record), "[/img/hard disk.mhd]\n[/S]\n");
}
#endif

}  // namespace
