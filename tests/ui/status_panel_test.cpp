// The status panel's logic on a fake surface: what each row shows, and what its buttons, drops
// and lamps do.
#include <gtest/gtest.h>

#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"
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
  // A missing file offers New; a D88 image shows its name unless it states a wrong size.
  SetRealDrive(0, "A", false);
  SetPath(1, dir.File("missing.mfd"));
  system.settings.realDrives[1].useImage = 1;
  SetPath(2, Image("good.d88", D88("GAME DISK")));
  SetPath(3, Image("bad.d88", D88("GAME DISK", 1)));
  disk::RefreshPanel(ui);
  EXPECT_EQ(Row(0), "FD Drive - A ( 1.23M )|-|-Setting|Set");
  EXPECT_EQ(Row(1), "||New|-Eject");
  EXPECT_EQ(panel[InfoText(2)].text + "|" + panel[InfoText(3)].text, "GAME DISK|No Information");
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
  EXPECT_EQ(Row(1), "FD Drive - B ( 1.44M )|-|Setting|Eject");
  system.mountDelay[1] = 0;
  disk::PanelCommand(ui, EjectButton(1));
  EXPECT_STREQ(system.settings.imagePaths[1], "");
  EXPECT_EQ(fdc.unit * 0x100 + fdc.st0, 0x1C9u);
  EXPECT_EQ(system.mountDelay[1], 0u);
  EXPECT_EQ(Row(1), "FD Drive - B ( 1.44M )|-|-Setting|Set");
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
  system.mountDelay[0] = 0;
  disk::DropImage(ui, 4711, second.c_str());
  EXPECT_STREQ(system.settings.imagePaths[0], second.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);
}

// Each access starts the row's timer anew; when it fires, the lamp goes dark.
TEST_F(StatusPanelTest, LampGoesDarkEightyMillisecondsAfterTheLastAccess) {
  disk::SetAccessLamp(ui, 3, true);
  disk::SetAccessLamp(ui, 4, true);  // no such row
  EXPECT_EQ(panel.lamps, (std::map<int, bool>{{Lamp(3), true}}));
  ASSERT_EQ(panel.timers.size(), 1u);
  EXPECT_EQ(panel.timers.begin()->second, 80);
  disk::PanelTimer(ui, panel.timers.begin()->first);
  EXPECT_FALSE(panel.lamps[Lamp(3)]);
  EXPECT_TRUE(panel.timers.empty());  // switching off stops the timer
  ui.surface.store(nullptr);
  disk::SetAccessLamp(ui, 2, true);  // no panel: nothing
  EXPECT_EQ(panel.lamps.count(Lamp(2)), 0u);
}

TEST_F(StatusPanelTest, DestroyedPanelSavesTheImagePaths) {
  testing_support::WriteText(ini, "[DISK]\nDISK00=old.mfd\nLASTPATHFDD=C:\\IMG\\\n");
  SetPath(0, "new.mfd");
  SetPath(2, "hd.mhd");
  disk::PanelDestroyed(ui);
  const std::string text = testing_support::ReadText(ini);
  for (const char* line : {"DISK00=new.mfd", "DISK02=hd.mhd", "LASTPATHFDD=C:\\IMG\\"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(ui.surface.load(), nullptr);
}

}  // namespace
