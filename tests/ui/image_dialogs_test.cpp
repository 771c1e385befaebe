// A row's Setting button: the IMAGE FILE SETTING dialog over the image header or the real drive.
// Its New button: the NEW FD IMAGE and NEW HD IMAGE dialogs, the file they write and the row that
// takes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "ui/dialog_ids.h"
#include "ui/dialogs.h"
#include "ui/ui_fixture.h"

namespace {

using disk::panel::NewOrSettingButton;
using testing_support::Bytes;
using testing_support::Exists;
using testing_support::FakeSurface;
using testing_support::ReadAll;

class ImageSettingTest : public testing_support::UiTest {
 protected:
  // Presses the row's Setting button; the dialog shows `label` and `check`, and gets `newLabel`
  // (when given), a click on write protection, Enter and Escape, which do not close it, and OK.
  void Press(int row, const char* newLabel = nullptr) {
    panel.onDialog = [&](disk::DialogPresenter& presenter, FakeSurface& dialog) {
      label = dialog[IDC_LABEL];
      check = dialog[IDC_WRITE_PROTECT];
      if (newLabel != nullptr) dialog[IDC_LABEL].text = newLabel;
      for (int id : {IDC_WRITE_PROTECT, IDOK_KEY, IDCANCEL_KEY}) presenter.OnCommand(dialog, id);
      EXPECT_EQ(dialog.endResult, -1);
      presenter.OnCommand(dialog, IDC_SETTING_OK);
      EXPECT_EQ(dialog.endResult, 1);
    };
    panel.dialogsRun.clear();
    disk::RefreshPanel(ui);
    disk::PanelCommand(ui, NewOrSettingButton(row));
    EXPECT_EQ(panel.dialogsRun, std::vector<int>{IDD_IMAGE_SETTING});
  }
  FakeSurface::Control label, check;
};

TEST_F(ImageSettingTest, CommentAndWriteProtectChangeNothingElseWhereTheImageHasThem) {
  const auto r1 = Mfd("Old comment that is long", 1, true), r0 = Mfd("R0"), d88 = D88("D88");
  auto mhd = Mhd("Hard disk");
  mhd[0x114] = 0x5A;  // an MHD header has no write protection: the byte stays
  const std::string r1Path = Image("game.mfd", r1), r0Path = Image("r0.mfd", r0),
                    mhdPath = Image("hd.mhd", mhd);
  SetPath(0, r1Path);
  SetPath(1, r0Path);
  SetPath(2, mhdPath);
  system.running = 1;
  Press(0, "New");
  EXPECT_EQ(label.text, "Old comment that is long");
  EXPECT_TRUE(check.checked && check.enabled && label.enabled);
  auto expected = r1;
  std::memcpy(expected.data() + 16, "New", 4);  // the old comment's tail stays behind the NUL
  expected[0x114] = 0;
  EXPECT_EQ(ReadAll(r1Path), expected);
  EXPECT_STREQ(system.settings.imagePaths[0], r1Path.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);  // mounted again with its new settings

  Press(1);
  expected = r0;
  expected[0x114] = 1;
  EXPECT_EQ(ReadAll(r0Path), expected);
  // A D88 image is neither shown nor written.
  SetPath(1, Image("game.d88", d88));
  Press(1, "changed");
  EXPECT_EQ(ReadAll(dir.File("game.d88")), d88);

  // A real drive starts write-protected; the dialog sets its emulated protection.
  SetRealDrive(0, "A", true);
  system.settings.realDrives[0].inserted = 1;
  system.mountDelay[0] = 0;
  Press(0);
  EXPECT_TRUE(check.checked && check.enabled && !label.enabled);
  EXPECT_EQ(system.settings.realDrives[0].writeProtect, 0u);
  EXPECT_EQ(system.settings.realDrives[0].inserted, 1u);
  EXPECT_EQ(system.mountDelay[0], 40u);

  system.running = 0;
  Press(2, "Renamed");
  EXPECT_FALSE(check.enabled || check.checked);
  expected = mhd;
  std::memcpy(expected.data() + 16, "Renamed", 8);
  EXPECT_EQ(ReadAll(mhdPath), expected);
  EXPECT_STREQ(system.settings.imagePaths[2], mhdPath.c_str());
}

TEST_F(ImageSettingTest, NewButtonsOpenTheNewImageDialogs) {
  panel.onDialog = [](disk::DialogPresenter&, FakeSurface& d) { d.EndDialog(1); };
  system.running = 1;
  disk::RefreshPanel(ui);
  SetPath(1, "kept.mfd");  // no file: the panel still shows New for it
  disk::PanelCommand(ui, NewOrSettingButton(1));
  EXPECT_EQ(system.mountDelay[1], 40u);
  EXPECT_STREQ(system.settings.imagePaths[1], "kept.mfd");
  system.running = 0;
  disk::RefreshPanel(ui);
  disk::PanelCommand(ui, NewOrSettingButton(3));
  EXPECT_EQ(panel.dialogsRun, (std::vector<int>{IDD_NEW_FLOPPY, IDD_NEW_HARD_DISK}));
}

using NewImageDialogTest = testing_support::UiTest;

TEST_F(NewImageDialogTest, BlankFloppyGetsItsExtensionAndBecomesTheRowImage) {
  testing_support::WriteText(ini, "[DISK]\nLASTPATHFDD=" + dir.path() + "\n");
  disk::NewFloppyImageDialog dialog(system, 1);
  FakeSurface window;
  dialog.OnInit(window);
  EXPECT_TRUE(window[IDC_NEW_BLANK].checked);
  window.ChooseFile(dir.File("NEWDISK"));
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_EQ(window.endResult, 1);
  EXPECT_EQ(window.fileDialogs, std::vector<std::string>{"save FD IMAGE(*.MFD) in " + dir.path()});
  // The header alone, every place without a sector.
  const Bytes blank = ReadAll(dir.File("NEWDISK.MFD"));
  ASSERT_EQ(blank.size(), 68112u);
  EXPECT_EQ(std::memcmp(blank.data(), "ZEBFDDIMAGE.R0\0\0New FD Image\0", 29), 0);
  const std::uint8_t* last = &blank[0x120 + (161 * 26 + 25) * 16];  // track 161, place 25
  EXPECT_EQ(Bytes(last, last + 12),
            (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xE0, 0x44, 1, 0, 0, 0}));
  EXPECT_STREQ(system.settings.imagePaths[1], dir.File("NEWDISK.MFD").c_str());
  // Waiting messages get through for each track; no second START meanwhile.
  EXPECT_EQ(window.pumped, 1630);
  for (int id = IDC_NEW_BLANK; id <= IDC_NEW_CANCEL; ++id) EXPECT_FALSE(window[id].enabled) << id;
}

TEST_F(NewImageDialogTest, ConversionReadsTheDriveAfterTheWarning) {
  const Bytes drive = testing_support::PatternBytes(1474560, 3);
  testing_support::WriteAll(dir.File("drive-C"), drive);
  testing_support::SetVariable("DISK_RAW_DRIVE_C", dir.File("drive-C"));
  testing_support::SetVariable("DISK_RAW_DRIVE_D", dir.File("no-drive-D"));
  disk::NewFloppyImageDialog dialog(system, 0);
  FakeSurface window;
  dialog.OnInit(window);
  window[IDC_NEW_BLANK].checked = false;
  window[IDC_NEW_LETTER].selected = 2;  // C
  window[IDC_NEW_MEDIA].selected = 1;   // 1.44M
  window.ChooseFile(dir.File("COPY.IMG"));
  window.messageAnswer = false;  // the warning cancelled: nothing at all
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_FALSE(Exists(dir.File("COPY.IMG")));

  window.messageAnswer = true;
  dialog.OnCommand(window, IDC_NEW_START);
  // Every sector in disk order after the header, whose records name them (.IMG stays).
  const Bytes copy = ReadAll(dir.File("COPY.IMG"));
  ASSERT_EQ(copy.size(), 1542672u);
  EXPECT_EQ(Bytes(copy.begin() + 68112, copy.end()), drive);
  const std::uint8_t* record = &copy[0x120 + (3 * 26 + 17) * 16];  // track 3, place 17
  EXPECT_EQ(Bytes(record, record + 11), (Bytes{1, 1, 18, 2, 1, 0, 0, 4, 0, 0, 0x30}));
  EXPECT_STREQ(system.settings.imagePaths[0], dir.File("COPY.IMG").c_str());

  // A drive that cannot be read: "failure", and the row keeps its image.
  window[IDC_NEW_LETTER].selected = 3;  // D: no such file
  window.ChooseFile(dir.File("FAIL.MFD"));
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_EQ(window.messages.back(), "failure");
  EXPECT_FALSE(Exists(dir.File("FAIL.MFD")));
  EXPECT_STREQ(system.settings.imagePaths[0], dir.File("COPY.IMG").c_str());
  testing_support::SetVariable("DISK_RAW_DRIVE_C", "");
  testing_support::SetVariable("DISK_RAW_DRIVE_D", "");
}

TEST_F(NewImageDialogTest, HardDiskSizeComesFromTheEditField) {
  disk::NewHardDiskImageDialog dialog(system, 3);
  FakeSurface window;
  dialog.OnInit(window);
  window[IDC_NEW_SIZE].text = "MB";
  window.ChooseFile("");  // cancelled save dialog: nothing
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_EQ(dialog.sizeMB, 80u);
  EXPECT_EQ(window.endResult, 1);
  EXPECT_STREQ(system.settings.imagePaths[3], "");

  // 8 heads, 32 sectors of 512 bytes: 8 cylinders a megabyte of zeros. The low 16 bits of the
  // cylinder count; 0 MB is the header alone.
  for (const char* size : {"0", "65537"}) {
    window[IDC_NEW_SIZE].text = size;
    window.ChooseFile(dir.File("DISK1"));
    dialog.OnCommand(window, IDC_NEW_START);
    const Bytes image = ReadAll(dir.File("DISK1.MHD"));
    ASSERT_EQ(image.size(), size[0] == '0' ? 512u : 1049088u);
    EXPECT_EQ(std::memcmp(image.data(), "ZEBHDDIMAGE.R0\0\0New HD Image\0", 29), 0);
    EXPECT_EQ(
        Bytes(image.begin() + 272, image.begin() + 286),
        (Bytes{0, 2, 0, 0, std::uint8_t(size[0] == '0' ? 0 : 8), 0, 0, 0, 8, 0, 32, 0, 0, 2}));
    EXPECT_TRUE(std::all_of(image.begin() + 512, image.end(), [](auto b) { return b == 0; }));
  }
  EXPECT_STREQ(system.settings.imagePaths[3], dir.File("DISK1.MHD").c_str());

  window[IDC_NEW_SIZE].text = "4096";  // 4 GiB: refused silently
  window.ChooseFile(dir.File("BIG"));
  dialog.OnCommand(window, IDC_NEW_START);
  EXPECT_FALSE(Exists(dir.File("BIG.MHD")));
  EXPECT_TRUE(window.messages.empty());
  EXPECT_STREQ(system.settings.imagePaths[3], dir.File("DISK1.MHD").c_str());
}

}  // namespace
