// FORMAT TRACK through the controller's ports on MFD images (the image is rewritten) and on
// every other kind of disk (nothing changes).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "fdc/controller_rig.h"
#include "media/file_routines.h"
#include "support/fdc_guest.h"
#include "support/floppy_images.h"
#include "support/scratch.h"

namespace {

using namespace testing_support;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kIds = 0x3000;
constexpr std::uint32_t kBuffer = 0x10000;
constexpr std::uint32_t kR0Data = 68112;

std::uint32_t HeaderSize(const Bytes& image) {
  return image[0x110] | image[0x111] << 8 | image[0x112] << 16 | image[0x113] << 24;
}

struct Id {
  std::uint8_t C, H, R, N;
};

std::vector<Id> Ids(std::uint8_t c, std::uint8_t h, int count, std::uint8_t n) {
  std::vector<Id> ids;
  for (int i = 0; i < count; ++i) ids.push_back({c, h, static_cast<std::uint8_t>(i + 1), n});
  return ids;
}

enum class Revision { kR0, kR1 };

class FormatTest : public ::testing::TestWithParam<Revision> {
 protected:
  Bytes Build(const DiskSpec& disk) {
    return GetParam() == Revision::kR0 ? BuildR0(disk) : BuildR1(disk);
  }
  std::uint32_t DataStart(const DiskSpec& disk) {
    return GetParam() == Revision::kR0 ? kR0Data : DataOffsetR1(disk, 0, 1);
  }
  std::uint32_t Offset(const DiskSpec& disk, int track, std::uint8_t r) {
    return GetParam() == Revision::kR0 ? DataOffsetR0(disk, track, r)
                                       : DataOffsetR1(disk, track, r);
  }
  void Mount(const Bytes& bytes) {
    WriteAll(image, bytes);
    ASSERT_TRUE(rig.Mount(0, image));
  }
  // Seeks unit 0 to the cylinder and formats the side; returns the seven result bytes.
  Bytes Format(std::uint8_t cylinder, std::uint8_t head, const std::vector<Id>& ids, std::uint8_t n,
               std::uint8_t sc, std::uint8_t fill, bool mfm = true) {
    fdc.SeekTo(0x00, cylinder);
    for (std::size_t i = 0; i < ids.size(); ++i) {
      std::uint8_t* at = rig.memory() + kIds + 4 * i;
      at[0] = ids[i].C;
      at[1] = ids[i].H;
      at[2] = ids[i].R;
      at[3] = ids[i].N;
    }
    fdc.ProgramDma(2, kIds, 0x3FF);
    return fdc.Run({static_cast<std::uint8_t>(mfm ? 0x4D : 0x0D),
                    static_cast<std::uint8_t>(head << 2), n, sc, 0x54, fill});
  }
  Bytes ReadSector(std::uint8_t cylinder, std::uint8_t head, std::uint8_t r, std::uint8_t n,
                   std::uint8_t* status = nullptr) {
    fdc.SeekTo(0x00, cylinder);
    const std::uint32_t size = SizeOf(n);
    std::fill_n(rig.memory() + kBuffer, size, 0xCC);
    fdc.ProgramDma(2, kBuffer, static_cast<std::uint16_t>(size - 1));
    const Bytes results =
        fdc.Run({0x46, static_cast<std::uint8_t>(head << 2), cylinder, head, r, n, r, 0x1B, 0xFF});
    if (status != nullptr) *status = results[0];
    return rig.Memory(kBuffer, size);
  }
  // Every file in the image's folder: no temporary file may stay behind.
  std::vector<std::string> FolderFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      names.push_back(entry.path().filename().string());
    return names;
  }

  ScratchDir dir;
  std::string image = dir.File("disk.mfd");
  ControllerRig rig;
  FdcGuest<ControllerRig> fdc{rig};
};

TEST_P(FormatTest, SameLayoutKeepsTheDataAndTheLength) {
  const DiskSpec disk = UniformDisk(4, 9, 2);
  const Bytes before = Build(disk);
  Mount(before);
  std::vector<Id> ids = Ids(1, 0, 9, 2);
  for (Id& id : ids) id.R = static_cast<std::uint8_t>(id.R + 10);  // new record numbers
  const Bytes results = Format(1, 0, ids, 2, 9, 0xE5);
  EXPECT_EQ(Bytes(results.begin(), results.begin() + 5), (Bytes{0x00, 0x00, 0x00, 1, 0}));
  EXPECT_EQ(results[6], 2);
  // An R0 header has a fixed size; an R1 header is rebuilt with a block for every track.
  const Bytes after = ReadAll(image);
  const std::uint32_t oldStart = DataStart(disk);
  const std::uint32_t newStart = HeaderSize(after);
  if (GetParam() == Revision::kR0) {
    EXPECT_EQ(after.size(), before.size());
  }
  EXPECT_EQ(Bytes(after.begin() + newStart, after.end()),
            Bytes(before.begin() + oldStart, before.end()));
  // The old data under the new IDs.
  EXPECT_EQ(ReadSector(1, 0, 13, 2), SectorData(2, 3, 512));
  std::uint8_t status = 0;
  ReadSector(1, 0, 3, 2, &status);
  EXPECT_EQ(status, 0x40);
  EXPECT_EQ(std::memcmp(after.data(),
                        GetParam() == Revision::kR0 ? "ZEBFDDIMAGE.R0" : "ZEBFDDIMAGE.R1", 15),
            0);
}

TEST_P(FormatTest, LargerSectorsGrowTheFileWithFillBytes) {
  const DiskSpec disk = UniformDisk(4, 9, 2);
  const Bytes before = Build(disk);
  Mount(before);
  const Bytes results = Format(1, 0, Ids(1, 0, 8, 3), 3, 8, 0x5A);
  EXPECT_EQ(results[0], 0x00);
  const Bytes after = ReadAll(image);
  const std::uint32_t oldStart = DataStart(disk);
  const std::uint32_t newStart = HeaderSize(after);
  ASSERT_EQ(after.size() - newStart, before.size() - oldStart + 3584);

  // Data area: what came before the track, 8 KiB of fill, then the rest shifted.
  const std::uint32_t trackStart = Offset(disk, 2, 1) - oldStart;
  const std::uint32_t trackEnd = Offset(disk, 3, 1) - oldStart;
  Bytes expected(before.begin() + oldStart, before.begin() + oldStart + trackStart);
  expected.insert(expected.end(), 8192, 0x5A);
  expected.insert(expected.end(), before.begin() + oldStart + trackEnd, before.end());
  EXPECT_EQ(Bytes(after.begin() + newStart, after.end()), expected);

  EXPECT_EQ(ReadSector(1, 0, 8, 3), Bytes(1024, 0x5A));
  EXPECT_EQ(ReadSector(1, 1, 9, 2), SectorData(3, 9, 512));
  EXPECT_EQ(ReadSector(0, 1, 1, 2), SectorData(1, 1, 512));
}

TEST_P(FormatTest, SectorCountComesFromTheListAndItsEnd) {
  Mount(Build(UniformDisk(3, 9, 2)));
  // A count of 0 means 26.
  Format(1, 1, Ids(1, 1, 26, 1), 1, 0, 0x11);
  EXPECT_EQ(ReadSector(1, 1, 26, 1), Bytes(256, 0x11));
  // An R of 0 ends the list.
  std::vector<Id> ids = Ids(2, 0, 9, 2);
  ids[5].R = 0;
  Format(2, 0, ids, 2, 9, 0x22);
  std::uint8_t status = 0;
  EXPECT_EQ(ReadSector(2, 0, 5, 2), Bytes(512, 0x22));
  ReadSector(2, 0, 7, 2, &status);
  EXPECT_EQ(status, 0x40);
  // Size code 6 does not fit a track: the track is left without sectors.
  Format(0, 1, Ids(0, 1, 2, 6), 6, 2, 0x33);
  EXPECT_EQ(fdc.Run({0x4A, 0x00})[1], 0x01);  // the format left the head on side 1
}

TEST_P(FormatTest, MaskedChannelFormatsAnEmptyTrack) {
  Mount(Build(UniformDisk(3, 9, 2)));
  fdc.SeekTo(0x00, 1);
  fdc.ProgramDma(2, kIds, 0x3FF);
  rig.Out(0x15, 0x06);
  EXPECT_EQ(fdc.Run({0x4D, 0x00, 2, 9, 0x54, 0xE5})[0], 0x00);
  EXPECT_EQ(fdc.Run({0x4A, 0x00})[1], 0x01);
  EXPECT_EQ(ReadSector(1, 1, 1, 2), SectorData(3, 1, 512));
}

TEST_P(FormatTest, WriteProtectedImageIsRefusedUntouched) {
  DiskSpec disk = UniformDisk(2, 9, 2);
  disk.writeProtect = 1;
  const Bytes before = Build(disk);
  Mount(before);
  const Bytes results = Format(1, 1, Ids(1, 1, 8, 3), 3, 8, 0x5A);
  EXPECT_EQ(Bytes(results.begin(), results.begin() + 3), (Bytes{0x44, 0x02, 0x00}));
  EXPECT_EQ(ReadAll(image), before);
}

// A failure at any file step leaves either the old image or the whole new one, never a mix,
// and no temporary file.
TEST_P(FormatTest, FailedFileStepLeavesALoadableImageAndNoTemporaryFile) {
  const DiskSpec disk = UniformDisk(3, 9, 2);
  const Bytes before = Build(disk);
  Mount(before);
  Format(1, 0, Ids(1, 0, 8, 3), 3, 8, 0x5A);
  const Bytes formatted = ReadAll(image);
  ASSERT_NE(formatted, before);

  bool succeeded = false;
  int failures = 0;
  for (int call = 1; call < 500 && !succeeded; ++call) {
    Mount(before);
    fdc.SeekTo(0x00, 1);
    disk::FailFileCallAfter(call);
    const Bytes results = Format(1, 0, Ids(1, 0, 8, 3), 3, 8, 0x5A);
    disk::FailFileCallAfter(0);
    succeeded = results[0] == 0x00;
    if (!succeeded) {
      ++failures;
      EXPECT_EQ(results[0], 0x68) << "call " << call;
    }
    const Bytes now = ReadAll(image);
    EXPECT_TRUE(now == before || now == formatted) << "call " << call;
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"disk.mfd"}) << "call " << call;
    // Whatever happened, the image loads and its untouched tracks hold their data.
    ASSERT_TRUE(rig.Mount(0, image)) << "call " << call;
    EXPECT_EQ(ReadSector(2, 1, 4, 2), SectorData(5, 4, 512)) << "call " << call;
  }
  EXPECT_TRUE(succeeded);
  EXPECT_GT(failures, 5);
}

INSTANTIATE_TEST_SUITE_P(Revisions, FormatTest, ::testing::Values(Revision::kR0, Revision::kR1),
                         [](const auto& test) {
                           return test.param == Revision::kR0 ? "R0" : "R1";
                         });

class FormatR1Test : public FormatTest {};

TEST_P(FormatR1Test, CopiesAndTracksWithoutBlockKeepTheirPlaces) {
  DiskSpec disk = UniformDisk(4, 9, 2);
  disk.tracks[3].sectors.clear();             // cylinder 1 side 1: no block
  disk.tracks[5].sectors[2].repeatCount = 2;  // three stored copies of R = 3
  Mount(BuildR1(disk));
  // Format the track without a block, then a track in front of the copies.
  EXPECT_EQ(Format(1, 1, Ids(1, 1, 9, 2), 2, 9, 0x77)[0], 0x04);
  EXPECT_EQ(Format(1, 0, Ids(1, 0, 8, 3), 3, 8, 0x66)[0], 0x00);
  EXPECT_EQ(ReadSector(1, 1, 9, 2), Bytes(512, 0x77));
  EXPECT_EQ(ReadSector(1, 0, 1, 3), Bytes(1024, 0x66));
  EXPECT_EQ(ReadSector(2, 1, 3, 2), SectorData(5, 3, 512));
  EXPECT_EQ(ReadSector(2, 1, 4, 2), SectorData(5, 4, 512));
  EXPECT_EQ(ReadSector(3, 1, 9, 2), SectorData(7, 9, 512));
}

TEST_P(FormatR1Test, R0BecomesR1RatherThanLoseSectors) {
  const DiskSpec disk = UniformDisk(3, 9, 2);
  Mount(BuildR0(disk));
  // 27 sectors: more than an R0 header holds for a track.
  EXPECT_EQ(Format(1, 0, Ids(1, 0, 27, 1), 1, 27, 0x44)[0], 0x00);
  const Bytes after = ReadAll(image);
  EXPECT_EQ(std::memcmp(after.data(), "ZEBFDDIMAGE.R1", 15), 0);
  EXPECT_EQ(ReadSector(1, 0, 27, 1), Bytes(256, 0x44));
  EXPECT_EQ(ReadSector(0, 0, 1, 2), SectorData(0, 1, 512));
  EXPECT_EQ(ReadSector(2, 1, 9, 2), SectorData(5, 9, 512));
}

INSTANTIATE_TEST_SUITE_P(Revisions, FormatR1Test, ::testing::Values(Revision::kR1),
                         [](const auto&) { return "R1"; });

// Disks that are not MFD images: the format ends normally and nothing changes.
class FormatOtherDisksTest : public ::testing::Test {
 protected:
  Bytes FormatUnit0() {
    fdc.SeekTo(0x00, 1);
    fdc.ProgramDma(2, kIds, 0x3FF);
    return fdc.Run({0x4D, 0x00, 3, 8, 0x54, 0x5A});
  }
  ScratchDir dir;
  ControllerRig rig;
  FdcGuest<ControllerRig> fdc{rig};
};

TEST_F(FormatOtherDisksTest, HeaderlessAndD88ImagesStayAsTheyAre) {
  const std::string headerless = dir.File("disk.img");
  const std::string d88 = dir.File("disk.d88");
  WriteAll(headerless, BuildHeaderless(UniformDisk(80, 9, 2)));
  WriteAll(d88, BuildD88(UniformDisk(2, 9, 2)));
  for (const std::string& path : {headerless, d88}) {
    const Bytes before = ReadAll(path);
    ASSERT_TRUE(rig.Mount(0, path)) << path;
    EXPECT_EQ(Bytes(FormatUnit0()).at(0), 0x00) << path;
    EXPECT_EQ(ReadAll(path), before) << path;
    EXPECT_EQ(rig.drive(0).CountSectors(1, 0), 9u) << path;
  }
  // Taken out, the drive is not ready, whatever kind of disk it held.
  rig.drive(0).Eject();
  EXPECT_EQ(FormatUnit0().at(0), 0x68);
}

TEST_F(FormatOtherDisksTest, RealDriveStaysAsItIs) {
  disk::RealDriveRecord& record = rig.settings.realDrives[0];
  record.useImage = 0;
  const bool mounted = rig.Mount(0, "");
  const Bytes results = mounted ? FormatUnit0() : Bytes{};
  const std::uint32_t sectors = rig.drive(0).CountSectors(1, 0);
  rig.drive(0).Eject();
  ASSERT_TRUE(mounted);
  EXPECT_EQ(results.at(0), 0x00);
  EXPECT_EQ(sectors, 8u);
}

}  // namespace
