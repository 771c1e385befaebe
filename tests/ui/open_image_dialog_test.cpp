// A row's image-path button: the open-image dialog, in or out of the host's dialog mode.
#include <gtest/gtest.h>

#include <vector>

#include "platform/host_abi.h"
#include "ui/image_selection.h"
#include "ui/ui_fixture.h"

namespace {

using disk::panel::ImageButton;

// What the other modules' display-mode functions answer.
struct HostModes {
  std::uint32_t displayValue = 0;
  bool displayNull = false;
  std::uint32_t dialogValue = 0;
  int notified142 = 0, notified140 = 0;
  std::uint32_t mouse = 0;
  const MhwWord* hostTable = nullptr;  // the only argument the mouse function answers
} gModes;

std::uint32_t* MHW_CALL DisplayPointer() {
  return gModes.displayNull ? nullptr : &gModes.displayValue;
}
std::uint32_t MHW_CALL DialogFlag() {
  return gModes.dialogValue;
}
void MHW_CALL Notify142() {
  ++gModes.notified142;
}
void MHW_CALL Notify140() {
  ++gModes.notified140;
}
std::uint32_t MHW_CALL MouseState(MhwWord* table) {
  return table == gModes.hostTable ? gModes.mouse : 0;
}

class OpenImageTest : public testing_support::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    gModes = {};
    hostTable.assign(mhw::kHostTableWords, 0);
    mouseRecord[0] = reinterpret_cast<MhwWord>(&MouseState);
    hostTable[mhw::kSlotMouseRecord] = reinterpret_cast<MhwWord>(mouseRecord);
    gModes.hostTable = system.hostLink.host = hostTable.data();
    system.links.dialogMode[0] = reinterpret_cast<MhwWord>(&DialogFlag);
    system.links.dialogMode[1] = reinterpret_cast<MhwWord>(&Notify140);
  }
  void Provide142() {
    system.links.displayMode[0] = reinterpret_cast<MhwWord>(&DisplayPointer);
    system.links.displayMode[2] = reinterpret_cast<MhwWord>(&Notify142);
  }
  std::vector<MhwWord> hostTable;
  MhwWord mouseRecord[2] = {};
};

// The host's dialog mode: slot 140's flag when it is 1, unless slot 142 gives a pointer, whose
// value then decides alone.
TEST_F(OpenImageTest, HostDialogModeTruthTable) {
  EXPECT_FALSE(disk::HostDialogModeOn(disk::ModuleLinks{}));  // no tables
  const struct {
    bool provide142;
    std::uint32_t dialog, display;
    bool null, on;
  } cases[] = {{false, 1, 0, false, true}, {false, 2, 0, false, false}, {true, 2, 1, false, true},
               {true, 1, 0, false, false}, {true, 1, 0, true, true},    {true, 0, 0, true, false}};
  for (const auto& c : cases) {
    if (c.provide142) Provide142();
    gModes.dialogValue = c.dialog;
    gModes.displayValue = c.display;
    gModes.displayNull = c.null;
    EXPECT_EQ(disk::HostDialogModeOn(system.links), c.on) << c.dialog << c.display << c.null;
  }
}

TEST_F(OpenImageTest, ChosenImageIsMountedLaterAndItsFolderKept) {
  testing_support::WriteText(ini, "[DISK]\nLASTPATHFDD=C:\\OLD\\\nDISK00=from-ini.mfd\n");
  std::string chosen = Image("GAME.D88", D88("GAME"));
  system.running = 1;
  SetPath(0, "previous.mfd");
  panel.ChooseFile(chosen);
  Provide142();
  disk::PanelCommand(ui, ImageButton(0));
  ASSERT_EQ(panel.fileDialogs.size(), 1u);
  EXPECT_EQ(panel.fileDialogs[0].initialFolder, "C:\\OLD\\");
  EXPECT_EQ(panel.fileDialogs[0].filter, "ALL SUPPORTED FD IMAGE");
  EXPECT_FALSE(panel.fileDialogs[0].ownedByHostWindow);
  EXPECT_STREQ(system.settings.imagePaths[0], chosen.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);
  EXPECT_EQ(panel[disk::panel::InfoText(0)].text, "GAME");
  EXPECT_EQ(gModes.notified142 * 10 + gModes.notified140, 10);

  disk::DiskSettings settings(ini.c_str());
  settings.Load();
  EXPECT_EQ(std::string(settings.lastPathFdd), dir.path() + chosen.substr(dir.path().size(), 1));
  EXPECT_STREQ(settings.imagePaths[0], "from-ini.mfd");  // the panel saves paths at its end

  // A hard-disk image waits for the next start-up; its folder goes to LASTPATHHDD.
  system.running = 0;
  std::string hd = Image("HD.MHD", Mhd("HD"));
  panel.ChooseFile(hd);
  disk::PanelCommand(ui, ImageButton(2));
  EXPECT_STREQ(system.settings.imagePaths[2], hd.c_str());
  settings.Load();
  EXPECT_STREQ(settings.lastPathHdd, settings.lastPathFdd);
  EXPECT_EQ(panel.fileDialogs[1].filter, "ALL SUPPORTED HD IMAGE");
}

// While the machine runs, a cancelled choice takes the medium out in the host's dialog mode, and
// a cursor the host has captured is freed for the dialog.
TEST_F(OpenImageTest, CancelEjectsInTheHostDialogModeAndACapturedCursorIsFreed) {
  system.running = 1;
  SetPath(0, "kept.mfd");
  panel.ChooseFile("");
  disk::OpenImageDialog(ui, 0);
  EXPECT_STREQ(system.settings.imagePaths[0], "kept.mfd");
  EXPECT_EQ(gModes.notified140, 1);
  EXPECT_TRUE(panel.cursorLog.empty());

  gModes.dialogValue = 1;
  gModes.mouse = 2;
  disk::OpenImageDialog(ui, 0);
  EXPECT_TRUE(panel.fileDialogs.back().ownedByHostWindow);
  EXPECT_STREQ(system.settings.imagePaths[0], "");
  EXPECT_EQ(panel.cursorLog, (std::vector<bool>{true, false}));

  system.running = 0;
  SetPath(1, "kept.mfd");
  disk::OpenImageDialog(ui, 1);
  EXPECT_FALSE(panel.fileDialogs.back().ownedByHostWindow);
  EXPECT_STREQ(system.settings.imagePaths[1], "kept.mfd");
  EXPECT_EQ(panel.cursorLog.size(), 2u);
  EXPECT_EQ(gModes.notified140, 3);  // notified after every dialog
}

}  // namespace
