// SEEK, RECALIBRATE, the sense commands and READ ID at the guest's ports, with a disk in
// unit 0.
#include "host/fdc_disk_fixture.h"

namespace {

using testing_support::DiskSpec;
using testing_support::kFdcData;
using testing_support::kFdcStatus;
using testing_support::UniformDisk;
using Bytes = std::vector<std::uint8_t>;

class SeekIdTest : public testing_support::FdcDiskTest {
 protected:
  Bytes ReadId(std::uint8_t commandByte, std::uint8_t unitByte) {
    return fdc->Run({commandByte, unitByte});
  }
};

TEST_F(SeekIdTest, SeekThenRecalibrateReportTheirCylinders) {
  BootWith(UniformDisk(8, 9, 2));
  EXPECT_EQ(fdc->SeekTo(0x00, 5), (Bytes{0x20, 5}));
  // Read ID now sees cylinder 5.
  EXPECT_EQ(ReadId(0x4A, 0x00), (Bytes{0x00, 0x00, 0x00, 5, 0, 1, 2}));
  fdc->Command({0x08});
  EXPECT_EQ(host->In(kFdcStatus), 0x80);
  EXPECT_EQ(host->In(kFdcData), 0x80);  // nothing left to report

  fdc->Command({0x07, 0x00});
  host->Tick(3);
  EXPECT_EQ(host->TakeInterruptLines(), (std::vector<std::uint32_t>{3}));
  EXPECT_EQ(host->In(kFdcStatus), 0x81);
  fdc->Command({0x08});
  EXPECT_EQ(fdc->Results(2), (Bytes{0x20, 0}));
  EXPECT_EQ(ReadId(0x4A, 0x00)[3], 0);
}

TEST_F(SeekIdTest, ReadIdFollowsSlotOrderOnTheSideUnderTheHead) {
  BootWith(UniformDisk(2, 5, 2, {1, 4, 2, 5, 3}));
  fdc->SeekTo(0x00, 1);
  // HD = 1 in the command: the head stays on side 0 after the seek, and ST0 has no HD bit.
  Bytes rs;
  for (int i = 0; i < 6; ++i) rs.push_back(ReadId(0x4A, 0x04)[5]);
  EXPECT_EQ(rs, (Bytes{1, 4, 2, 5, 3, 1}));
  EXPECT_EQ(ReadId(0x4A, 0x04), (Bytes{0x00, 0x00, 0x00, 1, 0, 4, 2}));
  // A read on side 1 moves the head there; read ID then reports side 1.
  fdc->ProgramDma(2, 0x1000, 511);
  fdc->Run({0x46, 0x04, 1, 1, 1, 2, 1, 0x1B, 0xFF});
  EXPECT_EQ(ReadId(0x4A, 0x00)[4], 1);
}

TEST_F(SeekIdTest, ReadIdOfWrongDensityEmptyTrackOrNoDisk) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.tracks[2].sectors.clear();  // cylinder 1 side 0 unformatted
  BootWith(disk);
  EXPECT_EQ(ReadId(0x0A, 0x00), (Bytes{0x40, 0x01, 0x00, 0, 0, 1, 3}));
  fdc->SeekTo(0x00, 1);
  EXPECT_EQ(ReadId(0x4A, 0x00), (Bytes{0x40, 0x01, 0x00, 0, 0, 1, 3}));
  EXPECT_EQ(ReadId(0x4A, 0x01)[0], 0x69);
}

TEST_F(SeekIdTest, SenseDriveStatusReportsProtectionTrackZeroAndReadiness) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.writeProtect = 1;
  BootWith(disk);
  fdc->Command({0x04, 0x00});
  EXPECT_EQ(fdc->Results(1), (Bytes{0x78}));
  fdc->SeekTo(0x00, 1);
  fdc->Command({0x04, 0x04});
  EXPECT_EQ(fdc->Results(1), (Bytes{0x6C}));
  fdc->Command({0x04, 0x01});
  EXPECT_EQ(fdc->Results(1), (Bytes{0x01}));
}

TEST_F(SeekIdTest, OtherCommandsClearAPendingSeekEnd) {
  BootWith(UniformDisk(2, 9, 2));
  fdc->Command({0x0F, 0x00, 1});
  host->Tick(3);
  fdc->Command({0x04, 0x00});
  fdc->Results(1);
  fdc->Command({0x08});
  EXPECT_EQ(host->In(kFdcData), 0x80);
}

TEST_F(SeekIdTest, UnitsWithoutDriveChangeNoStatus) {
  BootWith(UniformDisk(2, 9, 2));
  EXPECT_EQ(fdc->SeekTo(0x00, 1), (Bytes{0x20, 1}));
  fdc->Command({0x0F, 0x02, 7});
  host->Tick(3);
  EXPECT_EQ(host->In(kFdcStatus), 0x84);
  fdc->Command({0x08});
  // The old ST0 and PCN again.
  EXPECT_EQ(fdc->Results(2), (Bytes{0x20, 1}));
}

}  // namespace
