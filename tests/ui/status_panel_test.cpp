// The status panel's logic on a fake surface: what each row shows, and what its buttons, drops,
// lamps and open-image dialogs do.
#include <gtest/gtest.h>

#include <vector>

#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"
#include "platform/host_abi.h"
#include "ui/image_selection.h"
#include "ui/ui_fixture.h"

namespace {

using namespace disk::panel;
using StatusPanelTest = testing_support::UiTest;

TEST_F(StatusPanelTest, RowsShowTheImageHeadersOrTheRealDrive) {
  const std::string rd = Image("rd.mfd", Mfd("R&D", 1)), none = Image("n.mhd", Mhd(""));
  SetPath(0, rd);
  SetRealDrive(1, "B", true);
  SetPath(2, none);
  disk::RefreshPanel(ui);
  EXPECT_EQ(Row(0), "R&&D|" + rd + "|Setting|Eject");
  EXPECT_EQ(Row(1), "FD Drive - B ( 1.44M )|-|-Setting|Set");
  EXPECT_EQ(Row(2), "No Information|" + none + "|Setting||-");  // no editor named
  EXPECT_EQ(Row(3), "||New|-|-");
  // A missing file offers New.
  SetPath(1, dir.File("missing.mfd"));
  system.settings.realDrives[1].useImage = 1;
  disk::RefreshPanel(ui);
  EXPECT_EQ(Row(1), "||New|-Eject");
  // A hard disk is edited only while the machine is stopped, and stays fixed while it runs.
  testing_support::WriteText(ini, "[DISK]\nDISKEXPLORER=editdisk.exe\n");
  disk::DiskSettings settings(ini.c_str());
  settings.Load();
  testing_support::WriteText(settings.EditorPath(), "x");  // where the editor's name resolves
  SetPath(2, rd);
  SetPath(3, "");
  disk::RefreshPanel(ui);
  EXPECT_EQ(Row(2), "R&&D|" + rd + "|Setting||");
  system.running = 1;
  disk::RefreshPanel(ui);
  EXPECT_EQ(Row(2), "R&&D|-" + rd + "|Setting|-|-");
  EXPECT_EQ(Row(3), "|-|-New|-|-");
}

TEST_F(StatusPanelTest, EjectUnmountsAndReportsTheRemovalWhileRunningOrSetsTheRealDrive) {
  const std::string path = Image("eject.mfd", Mfd(""));
  disk::FloppyDrive& drive = *system.devices.floppyDrives[0];
  disk::FloppyController& fdc = *system.devices.fdc;
  drive.Reset();
  ASSERT_EQ(drive.LoadImage(path.c_str()), 1u);
  SetPath(0, path);
  fdc.interruptDelay = 0;
  disk::PanelCommand(ui, EjectButton(0));  // stopped: only the path goes
  EXPECT_TRUE(drive.Inserted());
  EXPECT_EQ(fdc.interruptDelay, 0u);

  SetPath(0, path);
  system.running = 1;
  disk::PanelCommand(ui, EjectButton(0));
  EXPECT_FALSE(drive.Inserted());
  EXPECT_STREQ(system.settings.imagePaths[0], "");
  EXPECT_EQ(fdc.unit * 0x100 + fdc.st0, 0x0C8u);
  EXPECT_GT(fdc.interruptDelay, 0u);
  // A real drive: Set puts the medium in 40 ticks later, Eject takes it out at once.
  SetRealDrive(1, "B", true);
  disk::PanelCommand(ui, EjectButton(1));
  EXPECT_STREQ(system.settings.imagePaths[1], "B");
  EXPECT_EQ(system.mountDelay[1], 40u);
  system.mountDelay[1] = 0;
  disk::PanelCommand(ui, EjectButton(1));
  EXPECT_STREQ(system.settings.imagePaths[1], "");
  EXPECT_EQ(fdc.unit * 0x100 + fdc.st0, 0x1C9u);
  EXPECT_EQ(system.mountDelay[1], 0u);
}

TEST_F(StatusPanelTest, DroppedImageReplacesTheRowUnlessBusy) {
  const std::string first = Image("first.mfd", Mfd("one")),
                    second = Image("second.mfd", Mfd("two"));
  system.running = 1;
  disk::DropImage(ui, ImageButton(0), first.c_str());
  EXPECT_STREQ(system.settings.imagePaths[0], first.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);
  EXPECT_EQ(panel[InfoText(0)].text, "one");

  ui.panelBusy = 1;
  disk::DropImage(ui, ImageButton(0), second.c_str());
  panel.ChooseFile(second);
  disk::PanelCommand(ui, ImageButton(0));  // an image-path button while busy does nothing
  EXPECT_TRUE(panel.fileDialogs.empty());
  EXPECT_STREQ(system.settings.imagePaths[0], first.c_str());
  ui.panelBusy = 0;

  // A hard disk waits for the next start-up; an unknown window is row 0.
  disk::DropImage(ui, ImageButton(3), second.c_str());
  EXPECT_STREQ(system.settings.imagePaths[3], second.c_str());
  disk::DropImage(ui, 4711, second.c_str());
  EXPECT_STREQ(system.settings.imagePaths[0], second.c_str());
}

TEST_F(StatusPanelTest, DestroyedPanelSavesTheImagePathsAndLightsNoMoreLamps) {
  testing_support::WriteText(ini, "[DISK]\nDISK00=old.mfd\nLASTPATHFDD=C:\\IMG\\\nbyType01=257\n");
  SetPath(0, "new.mfd");
  SetPath(2, "hd.mhd");
  disk::SetAccessLamp(ui, 4, true);  // no such row
  disk::PanelDestroyed(ui);
  ExpectInIni({"DISK00=new.mfd", "DISK02=hd.mhd", "LASTPATHFDD=C:\\IMG\\", "byType01=1"});
  disk::SetAccessLamp(ui, 2, true);
  EXPECT_TRUE(panel.lamps.empty());
}

// What the other modules' display-mode functions answer, and how often each was told that a
// dialog closed; the mouse function answers only when given the host's table.
struct HostModes {
  std::uint32_t display = 0, dialog = 0, mouse = 0;
  bool displayNull = false;
  int notified140 = 0, notified142 = 0;
  MhwWord* hostTable = nullptr;
} gModes;

template <class Function>
MhwWord Word(Function* function) {
  return reinterpret_cast<MhwWord>(function);
}

class OpenImageTest : public testing_support::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    gModes = {};
    gModes.hostTable = system.hostLink.host = hostTable.data();
    hostTable[mhw::kSlotMouseRecord] = reinterpret_cast<MhwWord>(mouseRecord);
    mouseRecord[0] = Word(+[](MhwWord* t) { return t == gModes.hostTable ? gModes.mouse : 0u; });
    system.links.dialogMode[0] = Word(+[] { return gModes.dialog; });
    system.links.dialogMode[1] = Word(+[] { ++gModes.notified140; });
  }
  void Provide142() {
    system.links.displayMode[0] =
        Word(+[] { return gModes.displayNull ? nullptr : &gModes.display; });
    system.links.displayMode[2] = Word(+[] { ++gModes.notified142; });
  }
  std::vector<MhwWord> hostTable = std::vector<MhwWord>(mhw::kHostTableWords);
  MhwWord mouseRecord[2] = {};
};

TEST_F(OpenImageTest, ChosenImageIsMountedLaterAndItsFolderKept) {
  testing_support::WriteText(ini, "[DISK]\nLASTPATHFDD=C:\\OLD\\\nDISK00=from-ini.mfd\n");
  std::string chosen = Image("GAME.D88", D88("GAME"));
  system.running = 1;
  SetPath(0, "previous.mfd");
  panel.ChooseFile(chosen);
  Provide142();
  disk::PanelCommand(ui, ImageButton(0));
  EXPECT_EQ(panel.fileDialogs,
            std::vector<std::string>{"open ALL SUPPORTED FD IMAGE in C:\\OLD\\"});
  EXPECT_STREQ(system.settings.imagePaths[0], chosen.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);
  EXPECT_EQ(panel[InfoText(0)].text, "GAME");
  EXPECT_EQ(gModes.notified142 * 10 + gModes.notified140, 10);
  // The chosen folder is kept; the image paths are saved only when the panel ends.
  const std::string folder = dir.path() + chosen.substr(dir.path().size(), 1);
  ExpectInIni({"DISK00=from-ini.mfd", "LASTPATHFDD=" + folder});
}

// While the machine runs, the host's dialog mode gives the open-image dialog to the host window:
// slot 140's flag when it is 1, unless slot 142 gives a pointer, whose value then decides alone.
// A cancelled choice then takes the medium out, as it does whenever slot 140's flag is 1.
TEST_F(OpenImageTest, HostDialogModeOwnsTheDialogACancelEjectsAndACapturedCursorIsFreed) {
  EXPECT_FALSE(disk::HostDialogModeOn(disk::ModuleLinks{}));  // no tables
  const struct {
    bool provide142;
    std::uint32_t dialog, display;
    bool null, on, eject;
  } cases[] = {{false, 1, 0, false, true, true}, {false, 2, 0, false, false, false},
               {true, 2, 1, false, true, true},  {true, 1, 0, false, false, true},
               {true, 1, 0, true, true, true},   {true, 0, 0, true, false, false}};
  system.running = 1;
  panel.ChooseFile("");
  for (const auto& c : cases) {
    if (c.provide142) Provide142();
    gModes.dialog = c.dialog;
    gModes.display = c.display;
    gModes.displayNull = c.null;
    SetPath(0, "kept.mfd");
    disk::OpenImageDialog(ui, 0);
    EXPECT_EQ(disk::HostDialogModeOn(system.links), c.on) << &c - cases;
    EXPECT_EQ(panel.fileDialogs.back().ends_with("owned by the host"), c.on) << &c - cases;
    EXPECT_EQ(system.settings.imagePaths[0][0] == '\0', c.eject) << &c - cases;
  }
  EXPECT_TRUE(panel.cursorLog.empty());
  gModes.mouse = 2;  // a cursor the host has captured is freed for the dialog while running
  disk::OpenImageDialog(ui, 0);
  EXPECT_EQ(panel.cursorLog, (std::vector<bool>{true, false}));
  system.running = 0;  // stopped: none of this applies
  SetPath(1, "kept.mfd");
  disk::OpenImageDialog(ui, 1);
  EXPECT_FALSE(panel.fileDialogs.back().ends_with("owned by the host"));
  EXPECT_STREQ(system.settings.imagePaths[1], "kept.mfd");
  EXPECT_EQ(panel.cursorLog.size(), 2u);
  EXPECT_EQ(gModes.notified140 + gModes.notified142, 8);  // after every dialog
}

}  // namespace
