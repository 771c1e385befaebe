#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "ui/dialog_ids.h"
#include "ui/image_selection.h"
#include "ui/panel_controls.h"
#include "ui/status_panel.h"
#include "ui/ui_fixture.h"

namespace {

using disk::panel::NewOrSettingButton;
using testing_support::FakeSurface;
using testing_support::ReadAll;

class ImageSettingTest : public testing_support::UiTest {
 protected:
  // Presses the row's Setting button; `edit` runs inside the dialog after its initialisation.
  void Press(int row, std::function<void(disk::DialogPresenter&, FakeSurface&)> edit) {
    panel.onDialog = [&](int templateId, disk::DialogPresenter& presenter, FakeSurface& dialog) {
      EXPECT_EQ(templateId, IDD_IMAGE_SETTING);
      label = dialog[IDC_LABEL];
      check = dialog[IDC_WRITE_PROTECT];
      labelCaption = dialog[IDC_LABEL_CAPTION];
      edit(presenter, dialog);
    };
    disk::RefreshPanel(ui);
    disk::PanelCommand(ui, NewOrSettingButton(row));
  }
  FakeSurface::Control label, check, labelCaption;
};

TEST_F(ImageSettingTest, MfdCommentAndWriteProtectChangeNothingElse) {
  auto before = Mfd("Old comment that is long", 1, true);
  std::string path = Image("game.mfd", before);
  SetPath(0, path);
  system.running = 1;
  Press(0, [](disk::DialogPresenter& p, FakeSurface& d) {
    d[IDC_LABEL].text = "New";
    p.OnCommand(d, IDC_WRITE_PROTECT);  // untick
    p.OnCommand(d, IDC_SETTING_OK);
  });
  EXPECT_EQ(label.text, "Old comment that is long");
  EXPECT_TRUE(check.checked);
  EXPECT_TRUE(check.enabled && label.enabled && labelCaption.enabled);

  auto expected = before;
  std::memcpy(expected.data() + 16, "New", 4);  // the old comment's tail stays behind the NUL
  expected[0x114] = 0;
  EXPECT_EQ(ReadAll(path), expected);
  EXPECT_STREQ(system.settings.imagePaths[0], path.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);  // mounted again with its new settings
}

TEST_F(ImageSettingTest, MhdKeepsItsProtectByteAndR0ItsData) {
  auto before = Mhd("Hard disk");
  before[0x114] = 0x5A;
  std::string path = Image("hd.mhd", before);
  SetPath(2, path);
  Press(2, [](disk::DialogPresenter& p, FakeSurface& d) {
    d[IDC_LABEL].text = "Renamed";
    p.OnCommand(d, IDC_WRITE_PROTECT);
    p.OnCommand(d, IDC_SETTING_OK);
  });
  EXPECT_FALSE(check.enabled);
  EXPECT_FALSE(check.checked);
  auto expected = before;
  std::memcpy(expected.data() + 16, "Renamed", 8);
  EXPECT_EQ(ReadAll(path), expected);
  EXPECT_STREQ(system.settings.imagePaths[2], path.c_str());

  auto r0 = Mfd("R0", 0, false);
  std::string r0Path = Image("r0.mfd", r0);
  SetPath(1, r0Path);
  Press(1, [](disk::DialogPresenter& p, FakeSurface& d) {
    p.OnCommand(d, IDC_WRITE_PROTECT);
    p.OnCommand(d, IDC_SETTING_OK);
  });
  r0[0x114] = 1;
  EXPECT_EQ(ReadAll(r0Path), r0);
}

TEST_F(ImageSettingTest, OtherImagesAreNeitherEditableNorWritten) {
  auto before = D88("D88 DISK");
  std::string path = Image("game.d88", before);
  SetPath(0, path);
  Press(0, [](disk::DialogPresenter& p, FakeSurface& d) {
    d[IDC_LABEL].text = "changed";
    p.OnCommand(d, IDC_WRITE_PROTECT);
    p.OnCommand(d, IDOK_KEY);
    p.OnCommand(d, IDCANCEL_KEY);
    EXPECT_EQ(d.endResult, -1);  // Enter and Escape do not close it
    p.OnCommand(d, IDC_SETTING_OK);
    EXPECT_EQ(d.endResult, 1);
  });
  EXPECT_EQ(label.text, "");
  EXPECT_FALSE(label.enabled || check.enabled || labelCaption.enabled);
  EXPECT_EQ(ReadAll(path), before);
}

TEST_F(ImageSettingTest, RealDriveSetsItsEmulatedWriteProtection) {
  SetRealDrive(0, "A", true);
  system.settings.realDrives[0].inserted = 1;
  system.running = 1;
  Press(0, [](disk::DialogPresenter& p, FakeSurface& d) {
    p.OnCommand(d, IDC_WRITE_PROTECT);
    p.OnCommand(d, IDC_SETTING_OK);
  });
  EXPECT_TRUE(check.checked);  // 1 after SetPath
  EXPECT_TRUE(check.enabled);
  EXPECT_FALSE(label.enabled || labelCaption.enabled);
  EXPECT_EQ(system.settings.realDrives[0].writeProtect, 0u);
  EXPECT_EQ(system.settings.realDrives[0].inserted, 1u);
  EXPECT_EQ(system.mountDelay[0], 40u);

  system.settings.realDrives[0].inserted = 1;
  Press(0, [](disk::DialogPresenter& p, FakeSurface& d) { p.OnClose(d); });  // nothing stored
  EXPECT_EQ(system.settings.realDrives[0].writeProtect, 0u);
}

TEST_F(ImageSettingTest, NewButtonsOpenTheNewImageDialogs) {
  std::vector<int> shown;
  panel.onDialog = [&](int templateId, disk::DialogPresenter&, FakeSurface& d) {
    shown.push_back(templateId);
    d.EndDialog(1);
  };
  system.running = 1;
  disk::RefreshPanel(ui);
  SetPath(1, "kept.mfd");  // no file: the panel still shows New for it
  disk::PanelCommand(ui, NewOrSettingButton(1));
  EXPECT_EQ(system.mountDelay[1], 40u);
  EXPECT_STREQ(system.settings.imagePaths[1], "kept.mfd");
  system.running = 0;
  disk::RefreshPanel(ui);
  disk::PanelCommand(ui, NewOrSettingButton(3));
  EXPECT_EQ(shown, (std::vector<int>{IDD_NEW_FLOPPY, IDD_NEW_HARD_DISK}));
}

}  // namespace
