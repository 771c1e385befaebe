// READ DATA, READ DIAGNOSTIC and WRITE DATA at the guest's ports, on an MFD image the module
// mounted at start-up.
#include "host/fdc_disk_fixture.h"

namespace {

using testing_support::DiskSpec;
using testing_support::kFdcData;
using testing_support::kFdcStatus;
using testing_support::ReadAll;
using testing_support::SectorData;
using testing_support::UniformDisk;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kBuffer = 0x12340;  // guest address the transfers go to

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

class ReadWriteTest : public testing_support::FdcDiskTest {};

TEST_F(ReadWriteTest, TwoSectorsStopAtTerminalCountAndNameTheNextRecord) {
  BootWith(UniformDisk(2, 9, 2));
  fdc->ProgramDma(2, kBuffer, 1023);
  const Bytes results = fdc->Run({0x46, 0x00, 0, 0, 1, 2, 9, 0x1B, 0xFF});
  EXPECT_EQ(results, (Bytes{0x00, 0x00, 0x00, 0, 0, 3, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 1025),
            Concat({SectorData(0, 1, 512), SectorData(0, 2, 512), Bytes{0}}));
  EXPECT_EQ(fdc->DmaRegister(0x0B), 0xFFFF);
}

TEST_F(ReadWriteTest, EndOfTrackRecordStopsWhateverTheCount) {
  BootWith(UniformDisk(2, 9, 2));
  fdc->ProgramDma(2, kBuffer, 0x3FFF);
  const Bytes results = fdc->Run({0x46, 0x00, 0, 0, 4, 2, 4, 0x1B, 0xFF});
  EXPECT_EQ(results, (Bytes{0x00, 0x00, 0x00, 0, 0, 5, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 513), Concat({SectorData(0, 4, 512), Bytes{0}}));
  EXPECT_EQ(fdc->DmaRegister(0x0B), 0x3FFF - 512);
}

TEST_F(ReadWriteTest, InterleavedTrackIsReadInRecordOrder) {
  DiskSpec disk = UniformDisk(1, 5, 2, {1, 3, 5, 2, 4});
  BootWith(disk);
  fdc->ProgramDma(2, kBuffer, 0xFFF);
  const Bytes results = fdc->Run({0x46, 0x00, 0, 0, 1, 2, 5, 0x1B, 0xFF});
  // Stopped on the track's last record: the next record is the first one under the head.
  EXPECT_EQ(results, (Bytes{0x00, 0x00, 0x00, 0, 0, 1, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 5 * 512),
            Concat({SectorData(0, 1, 512), SectorData(0, 2, 512), SectorData(0, 3, 512),
                    SectorData(0, 4, 512), SectorData(0, 5, 512)}));
}

TEST_F(ReadWriteTest, MultiTrackContinuesOnSideOneFromItsFirstSlot) {
  // Side 1 interleaved, so "the first slot" and "the lowest record" differ.
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.tracks[1] = UniformDisk(1, 9, 2, {3, 1, 2, 4, 5, 6, 7, 8, 9}).tracks[1];
  BootWith(disk);
  fdc->ProgramDma(2, kBuffer, 4 * 512 - 1);
  const Bytes results = fdc->Run({0xC6, 0x00, 0, 0, 8, 2, 20, 0x1B, 0xFF});
  // The ID register keeps the command's head: the read crossed sides without flipping it.
  EXPECT_EQ(results, (Bytes{0x00, 0x00, 0x00, 0, 0, 5, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 4 * 512),
            Concat({SectorData(0, 8, 512), SectorData(0, 9, 512), SectorData(1, 3, 512),
                    SectorData(1, 4, 512)}));
}

TEST_F(ReadWriteTest, MultiTrackEndOnLastRecordFlipsHeadAndStepsCylinderFromSideOne) {
  BootWith(UniformDisk(2, 9, 2));
  fdc->ProgramDma(2, kBuffer, 0x7FFF);
  EXPECT_EQ(fdc->Run({0xC6, 0x00, 0, 0, 9, 2, 9, 0x1B, 0xFF}),
            (Bytes{0x00, 0x00, 0x00, 0, 1, 1, 2}));
  EXPECT_EQ(fdc->Run({0xC6, 0x04, 0, 1, 9, 2, 9, 0x1B, 0xFF}),
            (Bytes{0x04, 0x00, 0x00, 1, 0, 1, 2}));
  // The same end by terminal count.
  fdc->ProgramDma(2, kBuffer, 511);
  EXPECT_EQ(fdc->Run({0xC6, 0x04, 0, 1, 9, 2, 0xFF, 0x1B, 0xFF}),
            (Bytes{0x04, 0x00, 0x00, 1, 0, 1, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 512), SectorData(1, 9, 512));
}

TEST_F(ReadWriteTest, EndOfTrackWithoutMultiTrackIsNoDataAfterTheMovedSectors) {
  BootWith(UniformDisk(2, 9, 2));
  fdc->ProgramDma(2, kBuffer, 0x7FFF);
  EXPECT_EQ(fdc->Run({0x46, 0x00, 0, 0, 8, 2, 10, 0x1B, 0xFF}),
            (Bytes{0x40, 0x04, 0x00, 0, 0, 1, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), Concat({SectorData(0, 8, 512), SectorData(0, 9, 512)}));
}

TEST_F(ReadWriteTest, MissingSectorAndWrongDensityEndAbnormally) {
  BootWith(UniformDisk(2, 9, 2));
  fdc->ProgramDma(2, kBuffer, 0x7FFF);
  EXPECT_EQ(fdc->Run({0x46, 0x04, 0, 1, 12, 2, 12, 0x1B, 0xFF}),
            (Bytes{0x44, 0x04, 0x00, 0, 1, 1, 2}));
  // Right record, wrong size code: not the same ID.
  EXPECT_EQ(fdc->Run({0x46, 0x00, 0, 0, 3, 3, 3, 0x1B, 0xFF}),
            (Bytes{0x40, 0x04, 0x00, 0, 0, 1, 3}));
  // FM asked on an MFM track.
  EXPECT_EQ(fdc->Run({0x06, 0x00, 0, 0, 3, 2, 3, 0x1B, 0xFF}),
            (Bytes{0x40, 0x01, 0x00, 0, 0, 1, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 4), (Bytes{0, 0, 0, 0}));
}

TEST_F(ReadWriteTest, EmptyUnitAndUnitsWithoutDriveAreNotReady) {
  BootWith(UniformDisk(2, 9, 2));
  EXPECT_EQ(fdc->Run({0x46, 0x05, 0, 1, 1, 2, 9, 0x1B, 0xFF})[0], 0x6D);
  EXPECT_EQ(fdc->Run({0x45, 0x02, 0, 0, 1, 2, 9, 0x1B, 0xFF})[0], 0x6A);
}

TEST_F(ReadWriteTest, ShortSectorsTakeTheDataLength) {
  DiskSpec disk;
  for (std::uint8_t r = 1; r <= 4; ++r) disk.tracks[0].sectors.push_back({0, 0, r, 0, 0});
  BootWith(disk);
  fdc->ProgramDma(2, kBuffer, 0x7FFF);
  fdc->Run({0x06, 0x00, 0, 0, 2, 0, 2, 0x07, 0x40});
  EXPECT_EQ(fdc->DmaRegister(0x0B), 0x7FFF - 64);
  fdc->Run({0x06, 0x00, 0, 0, 2, 0, 2, 0x07, 0x80});
  EXPECT_EQ(fdc->DmaRegister(0x0B), 0x7FFF - 64 - 128);
  const Bytes sector = SectorData(0, 2, 128);
  EXPECT_EQ(host->ReadBlock(kBuffer, 64 + 128),
            Concat({Bytes(sector.begin(), sector.begin() + 64), sector}));
}

TEST_F(ReadWriteTest, ReadDiagnosticStartsFromTheFirstRecord) {
  BootWith(UniformDisk(2, 9, 2));
  fdc->ProgramDma(2, kBuffer, 511);
  fdc->Run({0x42, 0x00, 0, 0, 7, 2, 9, 0x1B, 0xFF});
  EXPECT_EQ(host->ReadBlock(kBuffer, 512), SectorData(0, 1, 512));
}

TEST_F(ReadWriteTest, MaskedChannelMovesNothingAndEndsAfterOneSector) {
  BootWith(UniformDisk(2, 9, 2));
  fdc->ProgramDma(2, kBuffer, 0x7FFF);
  host->Out(0x15, 0x06);
  EXPECT_EQ(fdc->Run({0x46, 0x00, 0, 0, 1, 2, 9, 0x1B, 0xFF}),
            (Bytes{0x00, 0x00, 0x00, 0, 0, 2, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 2), (Bytes{0, 0}));
  EXPECT_EQ(fdc->DmaRegister(0x0B), 0x7FFF);
}

TEST_F(ReadWriteTest, ChannelThreeServesWhenSelected) {
  BootWith(UniformDisk(2, 9, 2));
  host->Out(0xBE, 0x01);  // 1MB interface, DMA channel 3
  fdc->ProgramDma(3, kBuffer, 511);
  fdc->Run({0x46, 0x00, 0, 0, 6, 2, 9, 0x1B, 0xFF});
  EXPECT_EQ(host->ReadBlock(kBuffer, 512), SectorData(0, 6, 512));
}

TEST_F(ReadWriteTest, ByteWrittenWhileResultsArePendingRunsTheReadAgain) {
  BootWith(UniformDisk(2, 9, 2));
  fdc->ProgramDma(2, kBuffer, 0x7FFF);
  fdc->Command({0x46, 0x00, 0, 0, 3, 2, 3, 0x1B, 0xFF});
  EXPECT_EQ(host->In(kFdcStatus), 0x30);  // execution phase until the interrupt
  // Taken as the data length again: the read runs once more, from the record the first run
  // left in the ID register, to the end of the track.
  host->Out(kFdcData, 0xFF);
  host->Tick(3);
  EXPECT_EQ(host->TakeInterruptLines().size(), 1u);
  EXPECT_EQ(fdc->Results(7), (Bytes{0x40, 0x04, 0x00, 0, 0, 1, 2}));
  Bytes expected = SectorData(0, 3, 512);
  for (std::uint8_t r = 4; r <= 9; ++r) expected = Concat({expected, SectorData(0, r, 512)});
  EXPECT_EQ(host->ReadBlock(kBuffer, 7 * 512), expected);
}

TEST_F(ReadWriteTest, WriteDataReachesTheImageAtTheSectorsOffsets) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  BootWith(disk);
  const Bytes before = ReadAll(image);
  for (std::uint32_t i = 0; i < 1024; ++i)
    host->WriteByte(kBuffer + i, static_cast<std::uint8_t>(~i));
  fdc->SeekTo(0x00, 1);
  fdc->ProgramDma(2, kBuffer, 1023);
  EXPECT_EQ(fdc->Run({0x45, 0x04, 1, 1, 4, 2, 9, 0x1B, 0xFF}),
            (Bytes{0x04, 0x00, 0x00, 1, 1, 6, 2}));
  Bytes expected = before;
  const std::uint32_t at = testing_support::DataOffsetR0(disk, 3, 4);
  for (std::uint32_t i = 0; i < 1024; ++i) expected[at + i] = static_cast<std::uint8_t>(~i);
  EXPECT_EQ(ReadAll(image), expected);
}

TEST_F(ReadWriteTest, WriteProtectedDiskRefusesAndKeepsItsBytes) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.writeProtect = 1;
  BootWith(disk);
  const Bytes before = ReadAll(image);
  fdc->ProgramDma(2, kBuffer, 1023);
  EXPECT_EQ(fdc->Run({0x45, 0x00, 0, 0, 1, 2, 9, 0x1B, 0xFF}),
            (Bytes{0x40, 0x02, 0x00, 0, 0, 1, 2}));
  EXPECT_EQ(ReadAll(image), before);
}

TEST_F(ReadWriteTest, MultiTrackOntoAnEmptySideOneIsNoData) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.tracks[1].sectors.clear();
  BootWith(disk);
  fdc->ProgramDma(2, kBuffer, 0x7FFF);
  EXPECT_EQ(fdc->Run({0xC6, 0x00, 0, 0, 9, 2, 20, 0x1B, 0xFF}),
            (Bytes{0x40, 0x04, 0x00, 0, 0, 1, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 513), Concat({SectorData(0, 9, 512), Bytes{0}}));
}

}  // namespace
