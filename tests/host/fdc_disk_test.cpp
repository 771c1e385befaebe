// The floppy controller's commands at the guest's ports on an MFD image in unit 0, each transfer
// on a DMA channel the guest programmed.
#include <cstring>

#include "host/module_fixture.h"

namespace {

using namespace testing_support;

class FdcDiskTest : public ModuleTest {
 protected:
  // No boot from the floppy: its reads would turn the disk.
  FdcDiskTest() { bootSelector = 0x80; }
  // Channel 2 over the buffer (zeroed), then the command: its seven result bytes.
  Bytes Run(const Bytes& command, std::uint16_t count = 0x7FFF) {
    host->WriteBlock(kBuffer, Bytes(0x8000, 0));
    ProgramDma(2, kBuffer, count);
    return Fdc(command);
  }
  // The seven result bytes of a format of the side under the head, with the ID list
  // (C, H, R = firstR.., N) in guest memory; an R of 0 at `endAt`.
  Bytes Format(std::uint8_t c, std::uint8_t head, int count, std::uint8_t n, std::uint8_t sc,
               std::uint8_t fill, std::uint8_t firstR = 1, int endAt = -1) {
    SeekTo(0x00, c);
    Bytes ids;
    for (int i = 0; i < count; ++i)
      ids.insert(ids.end(), {c, head, std::uint8_t(i == endAt ? 0 : firstR + i), n});
    host->WriteBlock(0x3000, ids);
    ProgramDma(2, 0x3000, 0x3FF);
    return Fdc({0x4D, static_cast<std::uint8_t>(head << 2), n, sc, 0x54, fill});
  }
  // One sector read after a seek; the status in `st0`.
  Bytes ReadSector(std::uint8_t c, std::uint8_t h, std::uint8_t r, std::uint8_t n,
                   std::uint8_t* st0 = nullptr) {
    SeekTo(0x00, c);
    const Bytes results = Run({0x46, std::uint8_t(h << 2), c, h, r, n, r, 0x1B, 0xFF},
                              static_cast<std::uint16_t>(SizeOf(n) - 1));
    if (st0 != nullptr) *st0 = results[0];
    return host->ReadBlock(kBuffer, SizeOf(n));
  }
};

// Each read on a fresh 2-cylinder disk of nine 512-byte sectors (or the variant named): the
// command bytes and DMA count, the result bytes, what reached memory and what the count left.
TEST_F(FdcDiskTest, ReadsEndByCountRecordOrStatus) {
  DiskSpec plain = UniformDisk(2, 9, 2);
  DiskSpec interleaved = UniformDisk(1, 5, 2, {1, 3, 5, 2, 4});
  DiskSpec sideOneTurned = plain;  // side 1 interleaved: its first slot is not its lowest R
  sideOneTurned.tracks[1] = UniformDisk(1, 9, 2, {3, 1, 2, 4, 5, 6, 7, 8, 9}).tracks[1];
  DiskSpec sideOneEmpty = plain;
  sideOneEmpty.tracks[1].sectors.clear();
  DiskSpec shortSectors;
  for (std::uint8_t r = 1; r <= 4; ++r) shortSectors.tracks[0].sectors.push_back({0, 0, r, 0, 0});
  const struct {
    const DiskSpec& disk;
    const char *command, *results;  // in hex
    std::uint16_t count;
    Bytes memory;
    std::uint16_t left;
  } cases[] = {
      // Terminal count after two sectors names the next record.
      {plain, "46,0,0,0,1,2,9,1B,FF", "0,0,0,0,0,3,2", 1023, Join({Sectors(0, {1, 2}, 512), {0}}),
       0xFFFF},
      // The end-of-track record stops whatever the count.
      {plain, "46,0,0,0,4,2,4,1B,FF", "0,0,0,0,0,5,2", 0x3FFF, Join({SectorData(0, 4, 512), {0}}),
       0x3FFF - 512},
      // An interleaved track reads in record order; after its last record comes the first
      // one under the head.
      {interleaved, "46,0,0,0,1,2,5,1B,FF", "0,0,0,0,0,1,2", 0xFFF,
       Sectors(0, {1, 2, 3, 4, 5}, 512), 0xFFF - 5 * 512},
      // Multi-track goes on with side 1's first slot; the ID keeps the command's head.
      {sideOneTurned, "C6,0,0,0,8,2,14,1B,FF", "0,0,0,0,0,5,2", 4 * 512 - 1,
       Join({Sectors(0, {8, 9}, 512), Sectors(1, {3, 4}, 512)}), 0xFFFF},
      // Ending on the last record flips the head, and on side 1 steps the cylinder.
      {plain, "C6,0,0,0,9,2,9,1B,FF", "0,0,0,0,1,1,2", 0x7FFF, SectorData(0, 9, 512), 0x7FFF - 512},
      {plain, "C6,4,0,1,9,2,FF,1B,FF", "4,0,0,1,0,1,2", 511, SectorData(1, 9, 512), 0xFFFF},
      {sideOneEmpty, "C6,0,0,0,9,2,14,1B,FF", "40,4,0,0,0,1,2", 0x7FFF,
       Join({SectorData(0, 9, 512), {0}}), 0x7FFF - 512},
      // Without multi-track the end of the track is no data, after the sectors moved.
      {plain, "46,0,0,0,8,2,A,1B,FF", "40,4,0,0,0,1,2", 0x7FFF, Sectors(0, {8, 9}, 512),
       0x7FFF - 1024},
      // A missing record, the right record with another size code, FM asked of MFM.
      {plain, "46,4,0,1,C,2,C,1B,FF", "44,4,0,0,1,1,2", 0x7FFF, {0, 0}, 0x7FFF},
      {plain, "46,0,0,0,3,3,3,1B,FF", "40,4,0,0,0,1,3", 0x7FFF, {0, 0}, 0x7FFF},
      {plain, "6,0,0,0,3,2,3,1B,FF", "40,1,0,0,0,1,2", 0x7FFF, {0, 0}, 0x7FFF},
      // Read diagnostic starts from the first record.
      {plain, "42,0,0,0,7,2,9,1B,FF", "0,0,0,0,0,2,2", 511, SectorData(0, 1, 512), 0xFFFF},
      // Sectors of 128 bytes take the data length.
      {shortSectors, "6,0,0,0,2,0,2,7,40", "0,0,0,0,0,3,0", 0x7FFF,
       Join({Bytes(SectorData(0, 2, 64)), {0}}), 0x7FFF - 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    BootFloppy(c.disk);
    EXPECT_EQ(Run(Hex(c.command), c.count), Hex(c.results));
    EXPECT_EQ(host->ReadBlock(kBuffer, static_cast<std::uint32_t>(c.memory.size())), c.memory);
    EXPECT_EQ(DmaRegister(0x0B), c.left);
  }
}

TEST_F(FdcDiskTest, NotReadyUnitsMaskedChannelsAndChannelThree) {
  BootFloppy(UniformDisk(2, 9, 2));
  EXPECT_EQ(Run({0x46, 0x05, 0, 1, 1, 2, 9, 0x1B, 0xFF})[0], 0x6D);  // no disk
  EXPECT_EQ(Run({0x45, 0x02, 0, 0, 1, 2, 9, 0x1B, 0xFF})[0], 0x6A);  // no drive
  // A masked channel moves nothing, and the read ends after one sector.
  host->WriteBlock(kBuffer, {0, 0});
  ProgramDma(2, kBuffer, 0x7FFF);
  host->Out(0x1F, 0x04);  // all four masks at once
  EXPECT_EQ(Fdc({0x46, 0, 0, 0, 1, 2, 9, 0x1B, 0xFF}), (Bytes{0, 0, 0, 0, 0, 2, 2}));
  EXPECT_EQ(host->ReadBlock(kBuffer, 2), (Bytes{0, 0}));
  EXPECT_EQ(DmaRegister(0x0B), 0x7FFF);
  host->Reset();  // unmasks every channel
  ProgramDma(2, kBuffer, 511, false);
  Fdc({0x46, 0, 0, 0, 1, 2, 9, 0x1B, 0xFF});
  Fdc({0x46, 0, 0, 0, 2, 2, 9, 0x1B, 0xFF});  // the count ran out: nothing more moves
  EXPECT_EQ(host->ReadBlock(kBuffer, 514), Join({SectorData(0, 1, 512), {0, 0}}));
  host->Out(0xBE, 0x01);  // 1 MB interface, DMA channel 3; the transfer crosses into bank 2
  ProgramDma(3, 0x1FF00, 511);
  Fdc({0x46, 0, 0, 0, 6, 2, 9, 0x1B, 0xFF});
  EXPECT_EQ(host->ReadBlock(0x1FF00, 512), SectorData(0, 6, 512));
}

TEST_F(FdcDiskTest, WriteDataReachesTheImageAtTheSectorsOffsetsUnlessProtected) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  for (std::uint8_t protect : {0, 1}) {
    disk.writeProtect = protect;
    BootFloppy(disk);
    Bytes expected = ReadAll(image);
    const Bytes data = PatternBytes(1024, 3);
    host->WriteBlock(kBuffer, data);
    SeekTo(0x00, 1);
    ProgramDma(2, kBuffer, 1023);
    EXPECT_EQ(
        Fdc({0x45, 0x04, 1, 1, 4, 2, 9, 0x1B, 0xFF}),
        (protect ? Bytes{0x44, 0x02, 0x00, 1, 1, 4, 2} : Bytes{0x04, 0x00, 0x00, 1, 1, 6, 2}));
    if (!protect)
      std::copy(data.begin(), data.end(), expected.begin() + DataOffset(expected, 3, 4, 512));
    EXPECT_EQ(ReadAll(image), expected);
  }
}

// Sense drive status: protected, ready, two-sided, track 0 (then head 1 on cylinder 5; unit 1
// without a disk). A seek to a unit without a drive changes no status: sense gives the old ST0
// and PCN again. Any other command clears a pending seek end.
TEST_F(FdcDiskTest, SeekRecalibrateAndSenseReportCylindersProtectionAndReadiness) {
  DiskSpec disk = UniformDisk(8, 9, 2);
  disk.writeProtect = 1;
  BootFloppy(disk);
  Script("c04,00 r78 c0F,00,05 t3 i3 c08 r20,05 c0F,02,07 t3 90?84 c08 r20,05 i3");
  EXPECT_EQ(Fdc({0x4A, 0x00}), (Bytes{0, 0, 0, 5, 0, 1, 2}));  // READ ID sees cylinder 5
  Script("n c04,04 r6C c04,01 r01 c0F,00,01 t3 i3 c04,00 r68 n c07,00 t3 i3 c08 r20,00");
}

TEST_F(FdcDiskTest, ReadIdFollowsSlotOrderOnTheSideUnderTheHead) {
  BootFloppy(UniformDisk(2, 5, 2, {1, 4, 2, 5, 3}));
  EXPECT_EQ(Fdc({0x0A, 0x00}), (Bytes{0x40, 0x01, 0x00, 0, 0, 1, 3}));  // FM of MFM
  EXPECT_EQ(Fdc({0x4A, 0x01})[0], 0x69);                                // no disk
  SeekTo(0x00, 1);
  // HD = 1 in the command: the head stays on side 0 after the seek, and ST0 has no HD bit.
  Bytes rs;
  for (int i = 0; i < 6; ++i) rs.push_back(Fdc({0x4A, 0x04})[5]);
  EXPECT_EQ(rs, (Bytes{1, 4, 2, 5, 3, 1}));
  EXPECT_EQ(Fdc({0x4A, 0x04}), (Bytes{0x00, 0x00, 0x00, 1, 0, 4, 2}));
  // A read on side 1 moves the head there; READ ID then reports side 1.
  Run({0x46, 0x04, 1, 1, 1, 2, 1, 0x1B, 0xFF});
  EXPECT_EQ(Fdc({0x4A, 0x00})[4], 1);
  SeekTo(0x00, 2);  // past the disk: an unformatted track
  EXPECT_EQ(Slice(Fdc({0x4A, 0x00}), 0, 3), (Bytes{0x40, 0x01, 0x00}));
}

TEST_F(FdcDiskTest, AFormatTakesItsCountFromTheListAndRefusesWhatItCannotWrite) {
  DiskSpec disk = UniformDisk(3, 9, 2);
  disk.tracks[3].sectors.clear();  // R1: cylinder 1 side 1 without a block
  BootFloppy(disk, true);
  Format(1, 1, 26, 1, 0, 0x11);  // a count of 0 means 26
  EXPECT_EQ(ReadSector(1, 1, 26, 1), Bytes(256, 0x11));
  // 27 sectors make an R0 image R1, which holds them.
  BootFloppy(disk);
  EXPECT_EQ(Format(2, 0, 27, 1, 27, 0x44)[0], 0x00);
  EXPECT_EQ(std::memcmp(ReadAll(image).data(), "ZEBFDDIMAGE.R1", 15), 0);
  EXPECT_EQ(ReadSector(2, 0, 27, 1), Bytes(256, 0x44));
  EXPECT_EQ(ReadSector(2, 1, 9, 2), SectorData(5, 9, 512));
  Format(1, 0, 9, 2, 9, 0x22, 1, 5);  // an R of 0 ends the list
  std::uint8_t st0 = 0;
  EXPECT_EQ(ReadSector(1, 0, 5, 2), Bytes(512, 0x22));
  ReadSector(1, 0, 7, 2, &st0);
  EXPECT_EQ(st0, 0x40);
  // Size code 6 does not fit a track, and a masked channel gives no IDs: no sectors. The
  // format leaves the head on the side it formatted.
  Format(0, 1, 2, 6, 2, 0x33);
  EXPECT_EQ(Fdc({0x4A, 0x00})[1], 0x01);
  ProgramDma(2, 0x3000, 0x3FF);
  host->Out(0x15, 0x06);
  EXPECT_EQ(Fdc({0x4D, 0x00, 2, 9, 0x54, 0xE5})[0], 0x00);
  EXPECT_EQ(Fdc({0x4A, 0x00})[1], 0x01);
  // Write protected: refused, the file untouched.
  disk.writeProtect = 1;
  BootFloppy(disk);
  const Bytes before = ReadAll(image);
  EXPECT_EQ(Slice(Format(1, 1, 8, 3, 8, 0x5A), 0, 3), (Bytes{0x44, 0x02, 0x00}));
  EXPECT_EQ(ReadAll(image), before);
  BootWith("");  // an empty drive is not ready
  EXPECT_EQ(Format(1, 0, 8, 3, 8, 0x5A)[0], 0x68);
}

}  // namespace
