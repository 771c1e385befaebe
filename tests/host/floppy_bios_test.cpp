// The floppy operations of INT 1Bh on MFD images the module mounted at start-up.
#include <cstring>

#include "host/module_fixture.h"

#if !defined(_WIN32)
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

class FloppyBiosTest : public ModuleTest {
 protected:
  // A call on unit 0 (DA/UA `al`) with CX = N:C, DX = H:R and ES:BP at the buffer.
  mhwhost::BiosResult Call(std::uint8_t al, std::uint8_t ah, std::uint16_t bx, std::uint8_t c,
                           std::uint8_t h, std::uint8_t r, std::uint8_t n) {
    return Bios(al, ah, bx, static_cast<std::uint16_t>(n << 8 | c),
                static_cast<std::uint16_t>(h << 8 | r));
  }
  // The buffer after a read of class `readClass` (filled with 0xCC before), and its status.
  Bytes Read(std::uint8_t ah, std::uint16_t bx, std::uint8_t c, std::uint8_t h, std::uint8_t r,
             std::uint8_t n, std::uint8_t expectAH = 0x00) {
    host->WriteBlock(kBuffer, Bytes(bx, 0xCC));
    EXPECT_EQ(Status(Call(readClass, ah, bx, c, h, r, n)), expectAH | (expectAH >= 0x20) << 8);
    return host->ReadBlock(kBuffer, bx);
  }
  // Formats cylinder c, head h as eight 1024-byte sectors of `fill`; returns AH.
  std::uint8_t Format(std::uint8_t c, std::uint8_t h, std::uint8_t fill) {
    Bytes ids;
    for (std::uint8_t r = 1; r <= 8; ++r) ids.insert(ids.end(), {c, h, r, 3});
    host->WriteBlock(kBuffer, ids);
    return Call(0x90, 0x5D, 4 * 8, c, h, fill, 3).AH();
  }
  // Every sector of a track of `count` sectors R = 1.. of size code n, as the image holds them.
  std::size_t ExpectTrack(int track, std::uint8_t count, std::uint8_t n) {
    Bytes expected;
    for (std::uint8_t r = 1; r <= count; ++r)
      expected = Join({expected, SectorData(track, r, SizeOf(n))});
    EXPECT_EQ(Read(0x56, static_cast<std::uint16_t>(expected.size()), std::uint8_t(track / 2),
                   std::uint8_t(track % 2), 1, n),
              expected)
        << "track " << track;
    return expected.size();
  }
  std::uint8_t readClass = 0x90;  // DA/UA of Read
};

TEST_F(FloppyBiosTest, ReadsDeliverRecordOrderAndGoOnWithSlotZeroOfSideOne) {
  DiskSpec disk = UniformDisk(2, 8, 3, {1, 5, 2, 6, 3, 7, 4, 8});
  disk.tracks[1] = UniformDisk(1, 8, 3, {5, 6, 7, 8, 1, 2, 3, 4}).tracks[1];
  BootFloppy(disk);
  host->TakeInterruptLines();
  EXPECT_EQ(Read(0x56, 4096, 0, 0, 1, 3), Sectors(0, {1, 2, 3, 4}, 1024));
  EXPECT_EQ(host->TakeInterruptLines(), (std::vector<std::uint32_t>{3}));  // the 1 MB line
  EXPECT_EQ(Read(0x51, 1024, 0, 0, 1, 3), Bytes(1024, 0xCC));  // verify delivers nothing
  EXPECT_EQ(Read(0x56, 0, 0, 0, 3, 3), Bytes{});               // BX = 0 reads one sector
  EXPECT_EQ(host->ReadByte(kBuffer), 0xCC);
  EXPECT_EQ(Read(0x52, 1024, 0, 0, 7, 2), SectorData(0, 1, 1024));  // diagnostic: whatever N
  // Multi-track goes on with side 1's first slot; without it the end of the track fails.
  EXPECT_EQ(Read(0xD6, 4096, 0, 0, 7, 3),
            Join({Sectors(0, {7, 8}, 1024), Sectors(1, {5, 6}, 1024)}));
  EXPECT_EQ(Slice(Read(0x56, 4096, 0, 0, 7, 3, 0xC0), 0, 2049),
            Join({Sectors(0, {7, 8}, 1024), {0xCC}}));
}

TEST_F(FloppyBiosTest, ClassesDensityProtectionAndTheSideBit) {
  DiskSpec disk = UniformDisk(2, 9, 2);                      // media type 0x90
  for (auto& sector : disk.tracks[3].sectors) sector.H = 0;  // as some disks record side 1
  disk.tracks[2].sectors[2].C = 0xFF;                        // a hole: no record after it is found
  disk.writeProtect = 1;
  BootFloppy(disk);
  const Bytes before = ReadAll(image);
  const struct {
    std::uint8_t al, ah, c, h, r, status;
  } calls[] = {
      {0x30, 0x56, 0, 0, 1, 0xE0},                                  // 1.44 MB class of a 1 MB disk
      {0xB0, 0x56, 0, 0, 1, 0x00},  {0x90, 0x56, 0, 0, 12, 0xC0},   // no such record
      {0x91, 0x56, 0, 0, 1, 0x60},                                  // no disk in unit 1
      {0x90, 0x04, 0, 0, 0, 0x11},  {0x90, 0x84, 0, 0, 0, 0x19},    // sense: protected
      {0x91, 0x04, 0, 0, 0, 0x60},  {0x70, 0x04, 0, 0, 0, 0x40},    // no 640 KB interface
      {0x90, 0x56, 1, 1, 1, 0xC0},                                  // side 1 holds no head 1
      {0x90, 0x56, 82, 1, 1, 0xC0}, {0x90, 0x56, 200, 0, 1, 0xC0},  // past the tables
      {0x90, 0x56, 1, 0, 5, 0xC0},  {0x90, 0x56, 1, 0, 2, 0x00},
      {0x90, 0x56, 0, 2, 1, 0x00},  {0x94, 0x56, 1, 0, 1, 0x00},  // DA/UA bit 2 inverts the side
      {0x90, 0x55, 1, 0, 1, 0x70},  {0x90, 0x1A, 1, 0, 0, 0xE0},  // FM READ ID of MFM
  };
  for (const auto& c : calls) {
    EXPECT_EQ(Status(Call(c.al, c.ah, 512, c.c, c.h, c.r, 2)), c.status | (c.status >= 0x20) << 8)
        << std::hex << int(c.al) << " " << int(c.ah);
  }
  EXPECT_EQ(host->ReadBlock(kBuffer, 512), SectorData(3, 1, 512));
  EXPECT_EQ(Read(0x56, 1536, 1, 0, 2, 2), Sectors(2, {2, 4, 5}, 512));  // walking on past the hole
  EXPECT_EQ(ReadAll(image), before);
}

TEST_F(FloppyBiosTest, RecordedStatusRepeatedCopiesAndSpecialAnswers) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.tracks[0].sectors[3].status = 0xB0;  // R = 4
  disk.tracks[2].sectors[0].repeatCount = 2;
  // Read data of R = 5 answers 300 bytes with status 0x10, two copies in turn; of R = 6, a data
  // error with its bytes delivered all the same.
  disk.tracks[0].specials = {{0x6, 0, 0, 5, 2, 0x10, 1, 300}, {0x6, 0, 0, 6, 2, 0xB0, 0, 64}};
  BootFloppy(disk, true);
  readClass = 0x70;  // nine 512-byte sectors make a 640 KB disk
  EXPECT_EQ(Read(0x56, 512, 0, 0, 4, 2, 0xB0), SectorData(0, 4, 512));
  // A read that runs into the bad sector delivers it and stops there.
  EXPECT_EQ(Slice(Read(0x56, 2048, 0, 0, 3, 2, 0xB0), 0, 1025),
            Join({Sectors(0, {3, 4}, 512), {0xCC}}));
  // Successive reads of a sector stored three times return the copies in turn.
  for (std::uint32_t copy : {0, 1, 2, 0})
    EXPECT_EQ(Read(0x56, 512, 1, 0, 1, 2)[2], SectorByte(2, 1, 2, copy)) << copy;
  // Status 0x10 is a success with a note: no carry, and no more than the answer holds.
  for (std::uint32_t copy : {0u, 1u, 0u}) {
    const Bytes answer = Read(0x56, 512, 0, 0, 5, 2, 0x10);
    for (std::uint32_t i : {0u, 299u}) EXPECT_EQ(answer[i], SpecialByte(0, 0, i, copy)) << copy;
    EXPECT_EQ(answer[300], 0xCC);
  }
  EXPECT_EQ(Call(0x70, 0x51, 512, 0, 0, 5, 2).AH(), 0x00);  // other commands: the sector
  EXPECT_EQ(Read(0x56, 512, 0, 0, 6, 2, 0xB0)[63], SpecialByte(0, 1, 63));
}

TEST_F(FloppyBiosTest, WriteReachesTheImageAndReadIdWalksTheSlots) {
  DiskSpec disk = UniformDisk(2, 5, 2, {1, 4, 2, 5, 3});
  BootFloppy(disk);
  const Bytes data = PatternBytes(512, 5);
  host->WriteBlock(kBuffer, data);
  EXPECT_EQ(Call(0x90, 0x55, 512, 1, 1, 2, 2).AH(), 0x00);
  const Bytes after = ReadAll(image);
  EXPECT_EQ(Slice(after, DataOffset(BuildR0(disk), 3, 2, 512), 512), data);
  EXPECT_EQ(Read(0x56, 512, 1, 1, 2, 2), data);

  EXPECT_EQ(Call(0x90, 0x03, 0, 0, 0, 0, 0).AH(), 0x00);  // initialize: head to the index
  Bytes rs;
  for (int i = 0; i < 6; ++i) {
    const auto result = Call(0x90, 0x5A, 0, 1, 0, 0, 0);
    EXPECT_EQ(result.CX(), 0x0201);  // N = 2, C = 1
    rs.push_back(static_cast<std::uint8_t>(result.DX() & 0xFF));
  }
  EXPECT_EQ(rs, (Bytes{1, 4, 2, 5, 3, 1}));
}

TEST_F(FloppyBiosTest, FormatTakesItsCountFromTheParameterTableAndKeepsOtherTracks) {
  DiskSpec disk = UniformDisk(4, 8, 3);
  disk.tracks[3].sectors[2].repeatCount = 2;  // three stored copies of cylinder 1 side 1, R = 3
  BootFloppy(disk, true);
  EXPECT_EQ(Format(1, 1, 0x66), 0x00);
  EXPECT_EQ(Read(0x56, 8192, 1, 1, 1, 3), Bytes(8192, 0x66));
  std::size_t data = 8192;
  for (int track = 0; track < 8; ++track)
    if (track != 3) data += ExpectTrack(track, 8, 3);
  const Bytes after = ReadAll(image);
  EXPECT_EQ(after.size(), (after[0x110] | after[0x111] << 8 | after[0x112] << 16) + data);
  // An R0 image that a format turns into R1 (no R0 header holds cylinder 81 side 1) keeps the
  // media types its records stored: the 9 x 512 tracks below were marked 1 MB, not 640 KB.
  BootFloppy(UniformDisk(3, 9, 2));
  EXPECT_EQ(Format(81, 1, 0x44), 0x00);
  EXPECT_EQ(std::memcmp(ReadAll(image).data(), "ZEBFDDIMAGE.R1", 15), 0);
  ExpectTrack(5, 9, 2);
}

TEST_F(FloppyBiosTest, FormatRewritesTheFileALinkNamesAndNeverAReadOnlyFile) {
  const std::string real = dir.File("real.mfd");
#if !defined(_WIN32)
  image = dir.File("link.mfd");
  fs::create_symlink(real, image);
#else
  image = real;
#endif
  BootFloppy(UniformDisk(3, 9, 2));
  EXPECT_EQ(Format(1, 0, 0xE5), 0x00);
  EXPECT_EQ(fs::is_symlink(image), image != real);
  EXPECT_EQ(Read(0x56, 1024, 1, 0, 8, 3), Bytes(1024, 0xE5));
  // Marked read-only while mounted: the rewrite is refused and the file stays as it was.
  const Bytes before = ReadAll(real);
  fs::permissions(real, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(Format(2, 0, 0x11), 0x60);
  EXPECT_EQ(ReadAll(real), before);
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::owner_write, fs::perms::none);
  fs::permissions(real, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(FloppyBiosTest, BootSectorAndInterfaceFollowTheDisksMediaType) {
  for (std::uint8_t type : {0x90, 0x10}) {
    DiskSpec disk = UniformDisk(2, 8, 2);
    for (auto& track : disk.tracks)
      for (auto& sector : track.sectors) sector.mediaType = type;
    BootFloppy(disk);
    EXPECT_EQ(host->ReadBlock(0x1FC00, 1024), Sectors(0, {1, 2}, 512));
    EXPECT_EQ(host->SegmentValue(mhw::reg::kCS) * 0x10000 + host->IP(), 0x1FC00000u);
    // 0x90: the 1 MB interface; 0x10: it switches to 640 KB, with interrupts on line 2.
    const bool k640 = type == 0x10;
    EXPECT_EQ(host->ReadByte(0x584), k640 ? 0x70 : 0x90);
    EXPECT_EQ(host->ReadByte(0x500) & 0x02, k640 ? 0x02 : 0);
    EXPECT_EQ(host->In(0xBE), k640 ? 0x08 : 0x0B);
    host->TakeInterruptLines();
    EXPECT_EQ(Call(host->ReadByte(0x584), 0x56, 512, 0, 0, 1, 2).AH(), 0x00);
    EXPECT_EQ(host->TakeInterruptLines(), (std::vector<std::uint32_t>{k640 ? 2u : 3u}));
  }
}

TEST_F(FloppyBiosTest, OfTwoRecordsWithOneIdTheFirstInSlotOrderIsRead) {
  DiskSpec disk = UniformDisk(1, 3, 2, {1, 2, 2});
  disk.tracks[1].sectors.resize(1);  // side 1: one sector
  Bytes bytes = BuildR0(disk);
  std::fill_n(bytes.begin() + 68112 + 1024, 512, 0xEE);  // the second R = 2
  WriteAll(image, bytes);
  BootWith(image);
  EXPECT_EQ(Read(0x56, 1024, 0, 0, 1, 2), Sectors(0, {1, 2}, 512));
  EXPECT_EQ(Read(0x56, 512, 0, 0, 2, 2), SectorData(0, 2, 512));
  EXPECT_EQ(Read(0x56, 512, 0, 1, 1, 2), SectorData(1, 1, 512));
  // A lone sector leaves the head past the track's end: READ ID meets the empty place there.
  EXPECT_EQ(Call(0x90, 0x5A, 0, 0, 1, 0, 0).DX(), 0xFFFF);
}

}  // namespace

#if !defined(_WIN32)
// The last track's data go missing from the file, and files may not grow for a moment: a write
// there finds the disk full and a format finds no room for the new image beside the old.
TEST_F(FloppyBiosTest, AWriteOrFormatTheImageDoesNotTakeIsNotReady) {
  BootFloppy(UniformDisk(2, 8, 2));
  const auto size = fs::file_size(image) - 8 * 512;
  fs::resize_file(image, size);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small{size, old.rlim_max};
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  host->WriteBlock(kBuffer, Bytes(512, 0x5A));
  const auto full = Call(0x90, 0x55, 512, 1, 1, 8, 2);
  const auto fine = Call(0x90, 0x55, 512, 0, 0, 1, 2);
  const Bytes before = ReadAll(image);
  const std::uint8_t format = Format(0, 1, 0x11);  // 1024-byte sectors: a larger image
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(Status(full), 0x160);
  EXPECT_EQ(Status(fine), 0x000);
  EXPECT_EQ(format, 0x60);
  EXPECT_EQ(ReadAll(image), before);
  EXPECT_EQ(before.size(), size);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);  // the image and the INI
}
#endif
