// The status panel's logic on a fake surface: what each row shows, and what its buttons, drops
// and lamps do.
#include <gtest/gtest.h>

#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"
#include "ui/panel_controls.h"
#include "ui/status_panel.h"
#include "ui/ui_fixture.h"

namespace {

using namespace disk::panel;
using testing_support::UiTest;

class StatusPanelTest : public UiTest {};

TEST_F(StatusPanelTest, RowsShowTheImageHeadersOrTheRealDrive) {
  const std::string rd = Image("rd.mfd", Mfd("R&D", 1)),
                    plain = Image("p.mhd", Mhd("System & Tools"));
  const std::string bad = Image("bad.d88", D88("GAME DISK", 1)), none = Image("n.mhd", Mhd(""));
  SetPath(0, rd);
  SetRealDrive(1, "B", true);
  SetPath(2, none);
  SetPath(3, plain);
  disk::RefreshPanel(ui);
  EXPECT_EQ(Row(0), "R&&D|" + rd + "|Setting|Eject");
  EXPECT_EQ(Row(1), "FD Drive - B ( 1.44M )|-|-Setting|Set");
  EXPECT_EQ(Row(2), "No Information|" + none + "|Setting||-");  // no editor named
  EXPECT_EQ(Row(3), "System && Tools|" + plain + "|Setting||-");
  // A D88 image stating a wrong size, a cut MFD header, a missing file (which offers New).
  const std::string good = Image("good.d88", D88("GAME DISK"));
  SetPath(0, Image("short.mfd", {'Z', 'E', 'B'}));
  SetRealDrive(0, "A", false);
  system.settings.realDrives[0].useImage = 1;
  SetPath(1, bad);
  system.settings.realDrives[1].useImage = 1;
  disk::RefreshPanel(ui);
  EXPECT_EQ(panel[InfoText(0)].text, "No Information");
  EXPECT_EQ(panel[InfoText(1)].text, "No Information");
  SetPath(0, dir.File("missing.mfd"));
  SetPath(1, good);
  disk::RefreshPanel(ui);
  EXPECT_EQ(Row(0), "||New|-Eject");
  EXPECT_EQ(panel[InfoText(1)].text, "GAME DISK");
  SetRealDrive(0, "A", false);
  disk::RefreshPanel(ui);
  EXPECT_EQ(panel[InfoText(0)].text, "FD Drive - A ( 1.23M )");
}

TEST_F(StatusPanelTest, RealDriveRowTogglesBetweenSetAndEject) {
  SetRealDrive(1, "B", true);
  system.running = 1;
  disk::RefreshPanel(ui);
  disk::PanelCommand(ui, EjectButton(1));  // Set: the medium goes in 40 ticks later
  EXPECT_EQ(system.settings.realDrives[1].inserted, 1u);
  EXPECT_STREQ(system.settings.imagePaths[1], "B");
  EXPECT_EQ(system.mountDelay[1], 40u);
  EXPECT_EQ(Row(1), "FD Drive - B ( 1.44M )|-|Setting|Eject");
  disk::PanelCommand(ui, EjectButton(1));
  EXPECT_EQ(system.settings.realDrives[1].inserted, 0u);
  EXPECT_STREQ(system.settings.imagePaths[1], "");
  EXPECT_EQ(Row(1), "FD Drive - B ( 1.44M )|-|-Setting|Set");
}

TEST_F(StatusPanelTest, EjectWhileRunningUnmountsAndReportsTheRemoval) {
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
  // A real drive with its media set reports its own unit.
  SetRealDrive(1, "B", true);
  system.settings.realDrives[1].inserted = 1;
  disk::PanelCommand(ui, EjectButton(1));
  EXPECT_EQ(fdc.unit * 0x100 + fdc.st0, 0x1C9u);
  EXPECT_EQ(system.mountDelay[1], 0u);
}

TEST_F(StatusPanelTest, HardDiskRowsAreFixedWhileTheMachineRuns) {
  testing_support::WriteText(ini, "[DISK]\nDISKEXPLORER=editdisk.exe\n");
  disk::DiskSettings settings(ini.c_str());
  settings.Load();
  testing_support::WriteText(settings.EditorPath(), "x");  // where the editor's name resolves
  const std::string hd = Image("hd.mhd", Mhd("HD"));
  SetPath(2, hd);
  disk::RefreshPanel(ui);  // stopped
  EXPECT_EQ(Row(2), "HD|" + hd + "|Setting||");
  EXPECT_EQ(Row(3), "||New|-|-");
  system.running = 1;
  disk::RefreshPanel(ui);
  EXPECT_EQ(Row(2), "HD|-" + hd + "|Setting|-|-");
  EXPECT_EQ(Row(3), "|-|-New|-|-");
}

TEST_F(StatusPanelTest, DroppedImageReplacesTheRowUnlessBusy) {
  const std::string first = Image("first.mfd", Mfd("one")),
                    second = Image("second.mfd", Mfd("two"));
  system.running = 1;
  disk::DropImage(ui, ImageButton(0), first.c_str());
  EXPECT_STREQ(system.settings.imagePaths[0], first.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);
  EXPECT_EQ(panel[InfoText(0)].text, "one");
  EXPECT_EQ(ui.panelBusy, 0u);

  ui.panelBusy = 1;
  disk::DropImage(ui, ImageButton(0), second.c_str());
  panel.ChooseFile(second);
  disk::PanelCommand(ui, ImageButton(0));  // an image-path button while busy does nothing
  EXPECT_TRUE(panel.fileDialogs.empty());
  EXPECT_STREQ(system.settings.imagePaths[0], first.c_str());
  ui.panelBusy = 0;

  // Hard disks are mounted at the next start-up, not by the tick; an unknown window is row 0.
  disk::DropImage(ui, ImageButton(3), second.c_str());
  EXPECT_STREQ(system.settings.imagePaths[3], second.c_str());
  system.mountDelay[0] = 0;
  disk::DropImage(ui, 4711, second.c_str());
  EXPECT_STREQ(system.settings.imagePaths[0], second.c_str());
  EXPECT_EQ(system.mountDelay[0], 40u);
}

TEST_F(StatusPanelTest, LampGoesDarkEightyMillisecondsAfterTheLastAccess) {
  disk::SetAccessLamp(ui, 0, true);
  EXPECT_TRUE(panel.lamps[Lamp(0)]);
  panel.Advance(50);
  disk::SetAccessLamp(ui, 0, true);
  panel.Advance(79);
  EXPECT_TRUE(panel.lamps[Lamp(0)]);
  panel.Advance(1);
  EXPECT_FALSE(panel.lamps[Lamp(0)]);
  EXPECT_TRUE(panel.timers.empty());  // switching off stops the timer
  disk::SetAccessLamp(ui, 3, true);
  disk::SetAccessLamp(ui, 4, true);
  EXPECT_EQ(panel.lamps.count(Lamp(4)), 0u);
  EXPECT_TRUE(panel.lamps[Lamp(3)]);
  ui.surface.store(nullptr);
  disk::SetAccessLamp(ui, 2, true);  // no panel: nothing
  EXPECT_EQ(panel.lamps.count(Lamp(2)), 0u);
}

TEST_F(StatusPanelTest, DestroyedPanelSavesTheImagePaths) {
  testing_support::WriteText(ini, "[DISK]\nDISK00=old.mfd\nLASTPATHFDD=C:\\IMG\\\n");
  SetPath(0, "new.mfd");
  SetPath(2, "hd.mhd");
  disk::PanelDestroyed(ui);
  disk::DiskSettings settings(ini.c_str());
  settings.Load();
  EXPECT_STREQ(settings.imagePaths[0], "new.mfd");
  EXPECT_STREQ(settings.imagePaths[2], "hd.mhd");
  EXPECT_STREQ(settings.lastPathFdd, "C:\\IMG\\");
  EXPECT_EQ(ui.surface.load(), nullptr);
}

}  // namespace
