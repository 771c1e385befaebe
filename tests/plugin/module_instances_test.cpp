#include <gtest/gtest.h>

#include <vector>

#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "media/floppy_drive.h"
#include "support/scratch.h"

namespace {

TEST(ModuleInstances, EachControllerWorksOnItsOwnDrives) {
  testing_support::ScratchDir dir;
  const std::string image = dir.File("disk.hdm");
  testing_support::WriteAll(image, std::vector<std::uint8_t>(1261568, 0xE5));  // 1.2 MB headerless
  disk::DiskSystem a, b;
  for (disk::DiskSystem* system : {&a, &b}) {
    system->devices.floppyDrives[0]->Reset();
    ASSERT_EQ(system->devices.floppyDrives[0]->LoadImage(image.c_str()), 1u);
    system->devices.fdc->idR = 7;
  }
  b.devices.floppyDrives[0]->ResetRotation();  // the index passes: its controller's R becomes 1
  EXPECT_EQ(a.devices.fdc->idR, 7);
  EXPECT_EQ(b.devices.fdc->idR, 1);

  for (std::uint8_t byte : {0x0F, 0x00, 0x05}) a.devices.fdc->WritePort(0x92, byte);  // seek 5
  EXPECT_EQ(a.devices.floppyDrives[0]->cylinder, 5);
  EXPECT_EQ(b.devices.floppyDrives[0]->cylinder, 0);
  EXPECT_EQ(b.devices.fdc->interruptDelay, 0u);

  for (disk::DiskSystem* system : {&a, &b}) system->devices.floppyDrives[0]->Eject();
}

}  // namespace
