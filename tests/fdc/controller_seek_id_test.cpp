// SEEK, RECALIBRATE, the sense commands and READ ID with a disk in the drive.
#include <gtest/gtest.h>

#include "fdc/controller_rig.h"
#include "support/floppy_images.h"
#include "support/scratch.h"

namespace {

using testing_support::BuildR0;
using testing_support::ControllerRig;
using testing_support::DiskSpec;
using testing_support::kData;
using testing_support::kStatus;
using testing_support::ScratchDir;
using testing_support::UniformDisk;
using testing_support::WriteAll;
using Bytes = std::vector<std::uint8_t>;

class SeekIdTest : public ::testing::Test {
 protected:
  void MountDisk(DiskSpec disk) {
    WriteAll(image, BuildR0(disk));
    ASSERT_TRUE(rig.Mount(0, image));
  }
  Bytes ReadId(std::uint8_t commandByte, std::uint8_t unitByte) {
    return rig.Run({commandByte, unitByte});
  }

  ScratchDir dir;
  std::string image = dir.File("disk.mfd");
  ControllerRig rig;
};

TEST_F(SeekIdTest, SeekThenRecalibrateReportTheirCylinders) {
  MountDisk(UniformDisk(8, 9, 2));
  EXPECT_EQ(rig.SeekTo(0x00, 5), (Bytes{0x20, 5}));
  // Read ID now sees cylinder 5.
  EXPECT_EQ(ReadId(0x4A, 0x00), (Bytes{0x00, 0x00, 0x00, 5, 0, 1, 2}));
  rig.Command({0x08});
  EXPECT_EQ(rig.In(kStatus), 0x80);
  EXPECT_EQ(rig.In(kData), 0x80);  // nothing left to report

  rig.Command({0x07, 0x00});
  rig.Tick(3);
  EXPECT_EQ(rig.TakeLines(), (std::vector<std::uint32_t>{3}));
  EXPECT_EQ(rig.In(kStatus), 0x81);
  rig.Command({0x08});
  EXPECT_EQ(rig.Results(2), (Bytes{0x20, 0}));
  EXPECT_EQ(ReadId(0x4A, 0x00)[3], 0);
}

TEST_F(SeekIdTest, ReadIdFollowsSlotOrderOnTheSideUnderTheHead) {
  MountDisk(UniformDisk(2, 5, 2, {1, 4, 2, 5, 3}));
  rig.SeekTo(0x00, 1);
  // HD = 1 in the command: the head stays on side 0 after the seek, and ST0 has no HD bit.
  Bytes rs;
  for (int i = 0; i < 6; ++i) rs.push_back(ReadId(0x4A, 0x04)[5]);
  EXPECT_EQ(rs, (Bytes{1, 4, 2, 5, 3, 1}));
  EXPECT_EQ(ReadId(0x4A, 0x04), (Bytes{0x00, 0x00, 0x00, 1, 0, 4, 2}));
  // A read on side 1 moves the head there; read ID then reports side 1.
  rig.ProgramDma(2, 0x1000, 511);
  rig.Run({0x46, 0x04, 1, 1, 1, 2, 1, 0x1B, 0xFF});
  EXPECT_EQ(ReadId(0x4A, 0x00)[4], 1);
}

TEST_F(SeekIdTest, ReadIdOfWrongDensityEmptyTrackOrNoDisk) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.tracks[2].sectors.clear();  // cylinder 1 side 0 unformatted
  MountDisk(disk);
  EXPECT_EQ(ReadId(0x0A, 0x00), (Bytes{0x40, 0x01, 0x00, 0, 0, 1, 3}));
  rig.SeekTo(0x00, 1);
  EXPECT_EQ(ReadId(0x4A, 0x00), (Bytes{0x40, 0x01, 0x00, 0, 0, 1, 3}));
  EXPECT_EQ(ReadId(0x4A, 0x01)[0], 0x69);
}

TEST_F(SeekIdTest, SenseDriveStatusReportsProtectionTrackZeroAndReadiness) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.writeProtect = 1;
  MountDisk(disk);
  rig.Command({0x04, 0x00});
  EXPECT_EQ(rig.Results(1), (Bytes{0x78}));
  rig.SeekTo(0x00, 1);
  rig.Command({0x04, 0x04});
  EXPECT_EQ(rig.Results(1), (Bytes{0x6C}));
  rig.Command({0x04, 0x01});
  EXPECT_EQ(rig.Results(1), (Bytes{0x01}));
}

TEST_F(SeekIdTest, OtherCommandsClearAPendingSeekEnd) {
  MountDisk(UniformDisk(2, 9, 2));
  rig.Command({0x0F, 0x00, 1});
  rig.Tick(3);
  rig.Command({0x04, 0x00});
  rig.Results(1);
  rig.Command({0x08});
  EXPECT_EQ(rig.In(kData), 0x80);
}

TEST_F(SeekIdTest, UnitsWithoutDriveChangeNoStatus) {
  MountDisk(UniformDisk(2, 9, 2));
  EXPECT_EQ(rig.SeekTo(0x00, 1), (Bytes{0x20, 1}));
  rig.Command({0x0F, 0x02, 7});
  rig.Tick(3);
  EXPECT_EQ(rig.In(kStatus), 0x84);
  rig.Command({0x08});
  // The old ST0 and PCN again.
  EXPECT_EQ(rig.Results(2), (Bytes{0x20, 1}));
}

}  // namespace
