// A medium set while the machine runs is mounted by the periodic tick, MountDelay ticks later.
#include <gtest/gtest.h>

#include <vector>

#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"
#include "media/floppy_drive.h"
#include "support/scratch.h"

namespace {

constexpr std::size_t kFloppySize = 1261568;  // 1.2 MB headerless

std::vector<std::uint32_t> gLines;
void MHW_CALL RaiseLine(std::uint32_t line) {
  gLines.push_back(line);
}

class MountDelayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::WriteAll(image, std::vector<std::uint8_t>(kFloppySize, 0xE5));
    system.hostLink.raiseInterrupt = &RaiseLine;
    gLines.clear();
  }
  void TearDown() override {
    system.bios.floppyCall.workerRunning.store(0);
    system.bios.floppyCall.lent = false;
    for (int unit = 0; unit < 2; ++unit) drive(unit).Eject();
  }
  disk::FloppyDrive& drive(int unit = 0) { return *system.devices.floppyDrives[unit]; }

  disk::DiskSystem system;
  testing_support::ScratchDir dir;
  std::string image = dir.File("disk.hdm");
};

// Drive 1's image comes in on the 40th tick and the controller reports the ready change (its
// interrupt a few ticks later, nothing for sense interrupt status); drive 2's is gone: the
// failed mount empties its path.
TEST_F(MountDelayTest, MountsOnTheFortiethTickAndRaisesTheReadyChange) {
  auto& paths = system.settings.imagePaths;
  platform::CopyString(paths[0], image.c_str(), platform::kPathSize);
  platform::CopyString(paths[1], dir.File("gone.hdm").c_str(), platform::kPathSize);
  system.mountDelay[0] = 40;
  system.mountDelay[1] = 2;
  for (int tick = 1; tick < 40; ++tick) disk::PeriodicTick(system);
  EXPECT_FALSE(drive().Inserted() || drive(1).Inserted());
  EXPECT_STREQ(paths[1], "");
  gLines.clear();
  disk::PeriodicTick(system);
  EXPECT_TRUE(drive().Inserted());
  EXPECT_EQ(system.mountDelay[0], 0u);
  EXPECT_STREQ(paths[0], image.c_str());
  disk::FloppyController& fdc = *system.devices.fdc;
  EXPECT_EQ(fdc.unit * 0x100 + fdc.st0, 0x0C0u);  // ready change, unit 0
  for (int tick = 0; tick < 5 && gLines.empty(); ++tick) disk::PeriodicTick(system);
  EXPECT_EQ(gLines, std::vector<std::uint32_t>{3});  // the 1 MB line
  fdc.WritePort(0x92, 0x08);
  EXPECT_EQ(fdc.ReadPort(0x92), 0x80);
}

TEST_F(MountDelayTest, ADriveLentToTheWorkerIsMountedWhenItIsBack) {
  for (int unit = 0; unit < 2; ++unit) {
    platform::CopyString(system.settings.imagePaths[unit], image.c_str(), platform::kPathSize);
    system.mountDelay[unit] = 1;
  }
  system.bios.fdWaitCount[1] = 5;
  system.bios.floppyCall.unit = 0;  // a worker is using drive 0
  system.bios.floppyCall.lent = true;
  system.bios.floppyCall.workerRunning.store(1);
  for (int tick = 0; tick < 3; ++tick) disk::PeriodicTick(system);
  EXPECT_FALSE(drive(0).Inserted());
  EXPECT_TRUE(drive(1).Inserted());           // the other drive is not held up
  EXPECT_EQ(system.bios.fdWaitCount[1], 2u);  // FDWAIT goes on counting
  system.bios.floppyCall.workerRunning.store(0);
  disk::PeriodicTick(system);
  EXPECT_TRUE(drive(0).Inserted());
}

}  // namespace
