// A row's Setting button: the IMAGE FILE SETTING dialog over the image header or the real drive.
// Its New button: the new-image dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "ui/dialog_ids.h"
#include "ui/ui_fixture.h"

namespace {

using disk::panel::NewOrSettingButton;
using testing_support::FakeSurface;
using testing_support::ReadAll;

class ImageSettingTest : public testing_support::UiTest {
 protected:
  // Presses the row's Setting button; the dialog, once initialised, shows `label` and `check`,
  // and gets `newLabel` (when given), a click on write protection, Enter and Escape, which do
  // not close it, and OK.
  void Press(int row, const char* newLabel = nullptr) {
    panel.onDialog = [&](disk::DialogPresenter& presenter, FakeSurface& dialog) {
      label = dialog[IDC_LABEL];
      check = dialog[IDC_WRITE_PROTECT];
      EXPECT_EQ(label.enabled, dialog[IDC_LABEL_CAPTION].enabled);
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

TEST_F(ImageSettingTest, CommentAndWriteProtectChangeNothingElse) {
  const auto r1 = Mfd("Old comment that is long", 1, true), r0 = Mfd("R0");
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

  system.running = 0;
  Press(2, "Renamed");
  EXPECT_FALSE(check.enabled || check.checked);
  expected = mhd;
  std::memcpy(expected.data() + 16, "Renamed", 8);
  EXPECT_EQ(ReadAll(mhdPath), expected);
  EXPECT_STREQ(system.settings.imagePaths[2], mhdPath.c_str());
}

TEST_F(ImageSettingTest, OtherImagesAreNeitherEditableNorWritten) {
  const auto before = D88("D88 DISK");
  const std::string path = Image("game.d88", before);
  SetPath(0, path);
  Press(0, "changed");
  EXPECT_EQ(label.text, "");
  EXPECT_FALSE(label.enabled || check.enabled);
  EXPECT_EQ(ReadAll(path), before);
}

TEST_F(ImageSettingTest, RealDriveSetsItsEmulatedWriteProtection) {
  SetRealDrive(0, "A", true);
  system.settings.realDrives[0].inserted = 1;
  system.running = 1;
  Press(0);
  EXPECT_TRUE(check.checked && check.enabled);  // 1 after SetRealDrive
  EXPECT_FALSE(label.enabled);
  EXPECT_EQ(system.settings.realDrives[0].writeProtect, 0u);
  EXPECT_EQ(system.settings.realDrives[0].inserted, 1u);
  EXPECT_EQ(system.mountDelay[0], 40u);

  system.settings.realDrives[0].inserted = 1;
  panel.onDialog = [](disk::DialogPresenter& p, FakeSurface& d) { p.OnClose(d); };
  disk::PanelCommand(ui, NewOrSettingButton(0));
  EXPECT_EQ(system.settings.realDrives[0].writeProtect, 0u);  // nothing stored
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

}  // namespace
