// The floppy operations of INT 1Bh, called the way a guest calls them, on images the module
// mounted at start-up.
#include <cstring>
#include <filesystem>

#include "host/fdc_disk_fixture.h"

#if !defined(_WIN32)
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

using mhwhost::BiosCall;
using testing_support::DiskSpec;
using testing_support::ReadAll;
using testing_support::SectorData;
using testing_support::UniformDisk;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kSegment = 0x2000;  // ES of the guest's buffer
constexpr std::uint32_t kBuffer = 0x20000;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

class FloppyBiosTest : public testing_support::FdcDiskTest {
 protected:
  FloppyBiosTest() { bootFromFloppy = true; }
  // A call on unit 0: AL = class | unit, CX = CH:CL, DX = DH:DL, ES:BP = the buffer.
  mhwhost::BiosResult Call(std::uint8_t al, std::uint8_t ah, std::uint16_t bx, std::uint8_t c,
                           std::uint8_t h, std::uint8_t r, std::uint8_t n) {
    BiosCall call;
    call.al = al;
    call.ah = ah;
    call.bx = bx;
    call.cx = static_cast<std::uint16_t>(n << 8 | c);
    call.dx = static_cast<std::uint16_t>(h << 8 | r);
    call.es = kSegment;
    call.bp = 0;
    return host->DiskBios(call);
  }
  Bytes Read(std::uint8_t ah, std::uint16_t bx, std::uint8_t c, std::uint8_t h, std::uint8_t r,
             std::uint8_t n, std::uint8_t expectAH = 0x00) {
    host->WriteBlock(kBuffer, Bytes(bx, 0xCC));
    const auto result = Call(readClass, ah, bx, c, h, r, n);
    EXPECT_EQ(result.AH(), expectAH);
    EXPECT_EQ(result.carry, expectAH != 0x00);
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
  Bytes ReadTrack(int track, std::uint8_t count, std::uint8_t n) {
    Bytes expected;
    for (std::uint8_t r = 1; r <= count; ++r)
      expected = Concat({expected, SectorData(track, r, testing_support::SizeOf(n))});
    const auto c = static_cast<std::uint8_t>(track / 2), h = static_cast<std::uint8_t>(track % 2);
    EXPECT_EQ(Read(0x56, static_cast<std::uint16_t>(expected.size()), c, h, 1, n), expected)
        << "track " << track;
    return expected;
  }
  std::uint8_t readClass = 0x90;  // DA/UA of Read
};

TEST_F(FloppyBiosTest, ReadDeliversRecordOrderAndRaisesTheInterface1MBLine) {
  BootWith(UniformDisk(2, 9, 2, {1, 6, 2, 7, 3, 8, 4, 9, 5}));
  host->TakeInterruptLines();
  EXPECT_EQ(Read(0x56, 2048, 0, 0, 1, 2), Concat({SectorData(0, 1, 512), SectorData(0, 2, 512),
                                                  SectorData(0, 3, 512), SectorData(0, 4, 512)}));
  EXPECT_EQ(host->TakeInterruptLines(), (std::vector<std::uint32_t>{3}));
  // Verify reads the same without delivering.
  EXPECT_EQ(Read(0x51, 1024, 0, 0, 1, 2), Bytes(1024, 0xCC));
  // BX = 0 reads one sector and delivers nothing.
  EXPECT_EQ(Read(0x56, 0, 0, 0, 3, 2), Bytes{});
  EXPECT_EQ(host->ReadByte(kBuffer), 0xCC);
}

TEST_F(FloppyBiosTest, MultiTrackGoesOnWithSlotZeroOfSideOne) {
  DiskSpec disk = UniformDisk(2, 8, 3);
  disk.tracks[1] = UniformDisk(1, 8, 3, {5, 6, 7, 8, 1, 2, 3, 4}).tracks[1];
  BootWith(disk);
  EXPECT_EQ(Read(0xD6, 4096, 0, 0, 7, 3), Concat({SectorData(0, 7, 1024), SectorData(0, 8, 1024),
                                                  SectorData(1, 5, 1024), SectorData(1, 6, 1024)}));
  const Bytes partial = Read(0x56, 4096, 0, 0, 7, 3, 0xC0);
  EXPECT_EQ(Bytes(partial.begin(), partial.begin() + 2048),
            Concat({SectorData(0, 7, 1024), SectorData(0, 8, 1024)}));
  EXPECT_EQ(partial[2048], 0xCC);
}

TEST_F(FloppyBiosTest, DeviceBitTwoInvertsTheSide) {
  // Cylinder 1 side 1 records head 0, as some disks do.
  DiskSpec disk = UniformDisk(2, 8, 3);
  for (auto& sector : disk.tracks[3].sectors) sector.H = 0;
  BootWith(disk);
  EXPECT_EQ(Read(0x56, 1024, 1, 0, 1, 3), SectorData(2, 1, 1024));
  EXPECT_EQ(Call(0x94, 0x56, 1024, 1, 0, 1, 3).AH(), 0x00);
  EXPECT_EQ(host->ReadBlock(kBuffer, 1024), SectorData(3, 1, 1024));
  EXPECT_EQ(Call(0x90, 0x56, 1024, 1, 1, 1, 3).AH(), 0xC0);  // side 1 has no head 1
}

TEST_F(FloppyBiosTest, RecordedStatusAndRepeatedCopies) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.tracks[0].sectors[3].status = 0xB0;  // R = 4
  disk.tracks[2].sectors[0].repeatCount = 2;
  BootWith(disk, true);
  readClass = 0x70;  // nine 512-byte sectors make a 640 KB disk
  EXPECT_EQ(Read(0x56, 512, 0, 0, 4, 2, 0xB0), SectorData(0, 4, 512));
  // A read that runs into the bad sector delivers it and stops there.
  const Bytes run = Read(0x56, 2048, 0, 0, 3, 2, 0xB0);
  EXPECT_EQ(Bytes(run.begin(), run.begin() + 1024),
            Concat({SectorData(0, 3, 512), SectorData(0, 4, 512)}));
  EXPECT_EQ(run[1024], 0xCC);
  // Successive reads of a sector stored three times return the copies in turn.
  std::vector<std::uint8_t> firstBytes;
  for (int i = 0; i < 4; ++i) firstBytes.push_back(Read(0x56, 512, 1, 0, 1, 2)[2]);
  const auto copy = [](std::uint32_t n) { return testing_support::SectorByte(2, 1, 2, n); };
  EXPECT_EQ(firstBytes, (Bytes{copy(0), copy(1), copy(2), copy(0)}));
}

TEST_F(FloppyBiosTest, SpecialAnswersStandInForTheSectorForTheirCommandOnly) {
  DiskSpec disk = UniformDisk(2, 8, 3);
  // Read data of R = 5 answers 300 bytes with status 0x10, two copies in turn; read data of
  // R = 6 answers a data error (0xB0) with its bytes delivered all the same.
  disk.tracks[0].specials = {{0x6, 0, 0, 5, 3, 0x10, 1, 300}, {0x6, 0, 0, 6, 3, 0xB0, 0, 64}};
  BootWith(disk, true);
  const auto special = [](std::size_t index, std::uint32_t size, std::uint32_t copy) {
    Bytes data(size);
    for (std::uint32_t i = 0; i < size; ++i)
      data[i] = testing_support::SpecialByte(0, index, i, copy);
    return data;
  };
  // Status 0x10 is a success with a note: carry stays clear.
  for (std::uint32_t copy : {0u, 1u, 0u}) {
    host->WriteBlock(kBuffer, Bytes(1024, 0xCC));
    const auto result = Call(0x90, 0x56, 1024, 0, 0, 5, 3);
    EXPECT_EQ(result.AH(), 0x10);
    EXPECT_FALSE(result.carry);
    EXPECT_EQ(host->ReadBlock(kBuffer, 300), special(0, 300, copy));
    EXPECT_EQ(host->ReadByte(kBuffer + 300), 0xCC);  // no more than the answer holds
  }
  // Another command on the same ID reads the sector itself.
  host->WriteBlock(kBuffer, Bytes(1024, 0xCC));
  EXPECT_EQ(Call(0x90, 0x52, 1024, 0, 0, 1, 3).AH(), 0x00);
  const Bytes failed = Read(0x56, 1024, 0, 0, 6, 3, 0xB0);
  EXPECT_EQ(Bytes(failed.begin(), failed.begin() + 64), special(1, 64, 0));
}

TEST_F(FloppyBiosTest, ClassesDensityAndMissingSectors) {
  BootWith(UniformDisk(2, 9, 2));  // media type 0x90
  EXPECT_EQ(Call(0x30, 0x56, 512, 0, 0, 1, 2).AH(), 0xE0);
  EXPECT_EQ(Call(0xB0, 0x56, 512, 0, 0, 1, 2).AH(), 0x00);
  const auto missing = Call(0x90, 0x56, 512, 0, 0, 12, 2);
  EXPECT_EQ(missing.AH(), 0xC0);
  EXPECT_TRUE(missing.carry);
  // A second unit without a disk.
  EXPECT_EQ(Call(0x91, 0x56, 512, 0, 0, 1, 2).AH(), 0x60);
}

TEST_F(FloppyBiosTest, SenseReportsReadinessAndProtection) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.writeProtect = 1;
  BootWith(disk);
  EXPECT_EQ(Call(0x90, 0x04, 0, 0, 0, 0, 0).AH(), 0x11);
  EXPECT_EQ(Call(0x90, 0x84, 0, 0, 0, 0, 0).AH(), 0x19);
  EXPECT_EQ(Call(0x91, 0x04, 0, 0, 0, 0, 0).AH(), 0x60);
  // The 1 MB interface does not answer the 0x70 class.
  EXPECT_EQ(Call(0x70, 0x04, 0, 0, 0, 0, 0).AH(), 0x40);
}

TEST_F(FloppyBiosTest, WriteReachesTheImageUnlessProtected) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  BootWith(disk);
  Bytes data(1024);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 5);
  host->WriteBlock(kBuffer, data);
  EXPECT_EQ(Call(0x90, 0x55, 1024, 1, 1, 8, 2).AH(), 0x00);
  Bytes image1 = ReadAll(image);
  const std::uint32_t at = testing_support::DataOffsetR0(disk, 3, 8);
  EXPECT_EQ(Bytes(image1.begin() + at, image1.begin() + at + 1024), data);
  EXPECT_EQ(Read(0x56, 1024, 1, 1, 8, 2), data);

  disk.writeProtect = 1;
  BootWith(disk);
  const Bytes before = ReadAll(image);
  EXPECT_EQ(Call(0x90, 0x55, 1024, 1, 1, 8, 2).AH(), 0x70);
  EXPECT_EQ(ReadAll(image), before);
}

TEST_F(FloppyBiosTest, ReadIdWalksTheSlotsAndReportsInRegisters) {
  BootWith(UniformDisk(2, 5, 2, {1, 4, 2, 5, 3}));
  EXPECT_EQ(Call(0x90, 0x03, 0, 0, 0, 0, 0).AH(), 0x00);  // initialize: head to the index
  Bytes rs;
  for (int i = 0; i < 6; ++i) {
    const auto result = Call(0x90, 0x5A, 0, 1, 0, 0, 0);
    EXPECT_EQ(result.AH(), 0x00);
    EXPECT_EQ(result.CX(), 0x0201);  // N = 2, C = 1
    rs.push_back(static_cast<std::uint8_t>(result.DX() & 0xFF));
  }
  EXPECT_EQ(rs, (Bytes{1, 4, 2, 5, 3, 1}));
  EXPECT_EQ(Call(0x90, 0x1A, 0, 1, 0, 0, 0).AH(), 0xE0);  // FM asked of an MFM track
}

TEST_F(FloppyBiosTest, FormatTrackTakesItsCountFromTheParameterTable) {
  BootWith(UniformDisk(3, 9, 2));
  EXPECT_EQ(Format(1, 0, 0xE5), 0x00);
  EXPECT_EQ(Read(0x56, 8192, 1, 0, 1, 3), Bytes(8192, 0xE5));
  EXPECT_EQ(Read(0x56, 512, 1, 1, 9, 2), SectorData(3, 9, 512));
}

TEST_F(FloppyBiosTest, FormatRewritesTheFileALinkNamesAndNeverAReadOnlyFile) {
  namespace fs = std::filesystem;
  const std::string real = dir.File("real.mfd");
#if !defined(_WIN32)
  image = dir.File("link.mfd");
  fs::create_symlink(real, image);
#else
  image = real;
#endif
  BootWith(UniformDisk(3, 9, 2));
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

// An R0 image that a format turns into R1 (no R0 header holds cylinder 81 side 1) keeps the
// media types its records stored: the 9 x 512 tracks below were marked 1 MB, not 640 KB.
TEST_F(FloppyBiosTest, AnR0ImageTurnedR1KeepsItsStoredMediaTypes) {
  BootWith(UniformDisk(3, 9, 2));
  EXPECT_EQ(Format(81, 1, 0x44), 0x00);
  EXPECT_EQ(std::memcmp(ReadAll(image).data(), "ZEBFDDIMAGE.R1", 15), 0);
  ReadTrack(5, 9, 2);
}

TEST_F(FloppyBiosTest, FormattingATrackWithCopiesLeavesEveryOtherSectorInPlace) {
  DiskSpec disk = UniformDisk(4, 8, 3);
  disk.tracks[3].sectors[2].repeatCount = 2;  // three stored copies of cylinder 1 side 1, R = 3
  BootWith(disk, true);
  EXPECT_EQ(Format(1, 1, 0x66), 0x00);
  EXPECT_EQ(Read(0x56, 8192, 1, 1, 1, 3), Bytes(8192, 0x66));
  std::size_t data = 8192;
  for (int track = 0; track < 8; ++track)
    if (track != 3) data += ReadTrack(track, 8, 3).size();
  const Bytes after = ReadAll(image);
  EXPECT_EQ(after.size(), (after[0x110] | after[0x111] << 8 | after[0x112] << 16) + data);
}

TEST_F(FloppyBiosTest, BootSectorOfA1MBDisk) {
  BootWith(UniformDisk(2, 8, 3));
  EXPECT_EQ(host->ReadBlock(0x1FC00, 1024), SectorData(0, 1, 1024));
  EXPECT_EQ(host->SegmentValue(mhw::reg::kCS), 0x1FC0);
  EXPECT_EQ(host->IP(), 0);
  EXPECT_EQ(host->ReadByte(0x584), 0x90);
  EXPECT_EQ(host->ReadByte(0x500) & 0x02, 0);
  EXPECT_EQ(host->In(0xBE), 0x0B);
}

TEST_F(FloppyBiosTest, BootSectorOfA640KBDiskSwitchesTheInterface) {
  DiskSpec disk = UniformDisk(2, 8, 2);
  for (auto& track : disk.tracks)
    for (auto& sector : track.sectors) sector.mediaType = 0x10;
  BootWith(disk);
  EXPECT_EQ(host->ReadBlock(0x1FC00, 1024), Concat({SectorData(0, 1, 512), SectorData(0, 2, 512)}));
  EXPECT_EQ(host->ReadByte(0x584), 0x70);
  EXPECT_EQ(host->ReadByte(0x500) & 0x02, 0x02);
  EXPECT_EQ(host->In(0xBE), 0x08);
  host->TakeInterruptLines();
  EXPECT_EQ(Call(0x70, 0x56, 512, 0, 0, 1, 2).AH(), 0x00);
  EXPECT_EQ(host->TakeInterruptLines(), (std::vector<std::uint32_t>{2}));
}

}  // namespace

#if !defined(_WIN32)
TEST_F(FloppyBiosTest, AWriteTheImageDoesNotTakeIsNotReady) {
  BootWith(UniformDisk(2, 8, 3));
  // The last track's data go missing from the file, and files may not grow for a moment: the
  // write there finds the disk full.
  const auto size = std::filesystem::file_size(image) - 8 * 1024;
  std::filesystem::resize_file(image, size);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small{size, old.rlim_max};
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  host->WriteBlock(kBuffer, Bytes(1024, 0x5A));
  const auto full = Call(0x90, 0x55, 1024, 1, 1, 8, 3);
  const auto fine = Call(0x90, 0x55, 1024, 0, 0, 1, 3);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(full.carry);
  EXPECT_EQ(full.AH(), 0x60);
  EXPECT_FALSE(fine.carry);
  EXPECT_EQ(ReadAll(image).size(), size);
}
#endif
