// A medium set while the machine runs is mounted by the periodic tick, MountDelay ticks later.
#include <gtest/gtest.h>

#include <vector>

#include "fdd/floppy_drive.h"
#include "plugin/disk_system.h"
#include "plugin/machine_handlers.h"
#include "support/scratch.h"

namespace {

constexpr std::size_t kFloppySize = 1261568;  // 1.2 MB headerless

class MountDelayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::WriteAll(image, std::vector<std::uint8_t>(kFloppySize, 0xE5));
    drive().Reset();
  }
  void TearDown() override {
    system.floppyCall.workerRunning.store(0);
    system.mountDelay[0] = 0;
    system.imagePaths[0][0] = '\0';
    drive().Eject();
  }
  disk::FloppyDrive& drive() { return *system.floppyDrives[0]; }

  disk::DiskSystem& system = disk::TheDiskSystem();
  testing_support::ScratchDir dir;
  std::string image = dir.File("disk.hdm");
};

TEST_F(MountDelayTest, MountsOnTheFortiethTick) {
  disk::CopyString(system.imagePaths[0], image.c_str(), disk::kPathSize);
  system.mountDelay[0] = 40;
  for (int tick = 1; tick < 40; ++tick) disk::PeriodicTick();
  EXPECT_FALSE(drive().Inserted());
  disk::PeriodicTick();
  EXPECT_TRUE(drive().Inserted());
  EXPECT_EQ(system.mountDelay[0], 0u);
  EXPECT_STREQ(system.imagePaths[0], image.c_str());
}

TEST_F(MountDelayTest, AFailedMountEmptiesThePath) {
  disk::CopyString(system.imagePaths[0], dir.File("gone.hdm").c_str(), disk::kPathSize);
  system.mountDelay[0] = 2;
  disk::PeriodicTick();
  EXPECT_STREQ(system.imagePaths[0], dir.File("gone.hdm").c_str());
  disk::PeriodicTick();
  EXPECT_FALSE(drive().Inserted());
  EXPECT_STREQ(system.imagePaths[0], "");
}

TEST_F(MountDelayTest, WaitsWhileTheFloppyWorkerRuns) {
  disk::CopyString(system.imagePaths[0], image.c_str(), disk::kPathSize);
  system.mountDelay[0] = 1;
  system.fdWaitCount[1] = 5;
  system.floppyCall.workerRunning.store(1);  // a worker is using the drive
  for (int tick = 0; tick < 3; ++tick) disk::PeriodicTick();
  EXPECT_FALSE(drive().Inserted());
  EXPECT_EQ(system.fdWaitCount[1], 2u);  // FDWAIT goes on counting
  system.floppyCall.workerRunning.store(0);
  disk::PeriodicTick();
  EXPECT_TRUE(drive().Inserted());
}

}  // namespace
