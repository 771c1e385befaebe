#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "drive_fixture.h"
#include "formats/image_builders.h"
#include "media/backing_store.h"
#include "media/drive_settings.h"
#include "media/file_routines.h"
#include "media/floppy_drive.h"
#include "support/scratch.h"

namespace {

using disk::FloppyDrive;
using namespace fdd_testing;
using testing_support::ScratchDir;
using testing_support::SetVariable;

void MarkReadOnly(const std::string& path, bool readOnly) {
  namespace fs = std::filesystem;
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

std::vector<std::uint8_t> ReadBack(FloppyDrive& drive, std::uint32_t offset, std::uint32_t count) {
  std::vector<std::uint8_t> buffer(count, 0x5A);
  disk::SeekDrive(drive, offset);
  EXPECT_TRUE(disk::ReadDrive(drive, buffer.data(), count));
  return buffer;
}

class LoadImageTest : public ::testing::Test {
 protected:
  void TearDown() override {
    drive->Eject();
    disk::FailFileCallAfter(0);
  }

  std::string Write(const std::string& name, const Bytes& bytes) {
    std::string path = scratch.File(name);
    testing_support::WriteAll(path, bytes);
    return path;
  }

  ScratchDir scratch;
  std::unique_ptr<FloppyDrive> drive = ResetDrive();
};

TEST_F(LoadImageTest, KeepsTheFileOpenAsTheBackingStore) {
  TrackMap tracks;
  tracks[2].sectors = SectorRun(1, 0, 8, 3);
  std::string path = Write("disk.mfd", BuildMfdR0("mine", 0, tracks));
  drive->dataPosition = 1234;
  ASSERT_EQ(drive->LoadImage(path.c_str()), 1u);
  EXPECT_NE(drive->file, 0u);
  EXPECT_STREQ(drive->imagePath, path.c_str());
  EXPECT_EQ(drive->dataPosition, 0u);
  EXPECT_EQ(drive->writeProtect, 0);

  std::uint32_t offset = drive->FindSectorData(1, 0, 5, 3);
  EXPECT_EQ(ReadBack(*drive, offset, 1024), std::vector<std::uint8_t>(1024, Marker(2, 5)));
  // A sector write reaches the file at once.
  std::vector<std::uint8_t> fresh(1024, 0x77);
  disk::SeekDrive(*drive, offset);
  EXPECT_TRUE(disk::WriteDrive(*drive, fresh.data(), 1024));
  EXPECT_EQ(testing_support::ReadAll(path)[offset + 1023], 0x77);
}

TEST_F(LoadImageTest, ReadOnlyFilesAreWriteProtected) {
  std::string path = Write("ro.mfd", BuildMfdR0("", 0, {}));
  MarkReadOnly(path, true);
  EXPECT_EQ(drive->LoadImage(path.c_str()), 1u);
  EXPECT_EQ(drive->writeProtect, 1);
  drive->Eject();
  MarkReadOnly(path, false);
  EXPECT_EQ(drive->LoadImage(path.c_str()), 1u);
  EXPECT_EQ(drive->writeProtect, 0);

  std::string dump = Write("ro.img", BuildHeaderless(655360, true));
  MarkReadOnly(dump, true);
  EXPECT_EQ(drive->LoadImage(dump.c_str()), 1u);
  EXPECT_EQ(drive->writeProtect, 1);
  drive->Eject();
  MarkReadOnly(dump, false);
}

TEST_F(LoadImageTest, SpecialRecordsAreGoneAfterTheNextLoad) {
  TrackMap tracks;
  tracks[0].sectors = SectorRun(0, 0, 2, 2);
  tracks[0].specials = {{6, 0, 0, 1, 2, 512}};
  tracks[9].specials = {{2, 4, 1, 1, 2, 128}};
  std::string protectedDisk = Write("copy.mfd", BuildMfdR1("", 0, tracks));
  std::string plain = Write("plain.d88", BuildD88("", 0, {{0, {{0, 0, 1, 2, 512}}}}));
  ASSERT_EQ(drive->LoadImage(protectedDisk.c_str()), 1u);
  ASSERT_FALSE(drive->specials[9][0].EndsList());
  ASSERT_EQ(drive->LoadImage(plain.c_str()), 1u);
  EXPECT_TRUE(drive->specials[0][0].EndsList());
  EXPECT_TRUE(drive->specials[9][0].EndsList());
  EXPECT_STREQ(drive->imagePath, plain.c_str());
}

TEST_F(LoadImageTest, AFailedLoadLeavesTheDriveEmpty) {
  std::string good = Write("good.img", BuildHeaderless(1261568, false));
  std::string odd = Write("odd.img", Bytes(5000, 0));
  std::string tiny = Write("tiny.img", Bytes(287, 0));
  for (const std::string& bad : {odd, tiny, scratch.File("missing.img")}) {
    ASSERT_EQ(drive->LoadImage(good.c_str()), 1u);
    EXPECT_EQ(drive->LoadImage(bad.c_str()), 0u) << bad;
    EXPECT_EQ(drive->file, 0u);
    EXPECT_EQ(drive->CountSectors(0, 0), 0u);
  }
  EXPECT_EQ(drive->LoadImage(nullptr), 0u);
}

TEST_F(LoadImageTest, AFileThatFailsWhileLoadingIsGivenUp) {
  TrackMap tracks;
  tracks[0].sectors = SectorRun(0, 0, 26, 1);
  std::string path = Write("flaky.mfd", BuildMfdR0("", 0, tracks));
  // A failed open for writing falls back to reading: the disk comes in write protected.
  disk::FailFileCallAfter(1);
  ASSERT_EQ(drive->LoadImage(path.c_str()), 1u);
  EXPECT_EQ(drive->writeProtect, 1);
  // Every later call that fails makes the load fail, until the failure falls after the load.
  int calls = 0;
  for (int failing = 2; failing < 1000 && calls == 0; ++failing) {
    disk::FailFileCallAfter(failing);
    if (drive->LoadImage(path.c_str()) == 1) {
      calls = failing;
      EXPECT_EQ(drive->writeProtect, 0);
    } else {
      EXPECT_EQ(drive->file, 0u);
      EXPECT_EQ(drive->CountSectors(0, 0), 0u);
    }
    disk::FailFileCallAfter(0);
  }
  EXPECT_GT(calls, 4);  // opening, sizing and the reads of the header's windows
}

// --- real drives over a plain file ---------------------------------------------------------------

class RealDriveTest : public LoadImageTest {
 protected:
  void SetUp() override {
    disk::RealDriveRecord& record = settings.realDrives[0];
    record.useImage = 0;
    std::strcpy(record.driveName, "a:");
    record.writeProtect = 0;
    drive = ResetDrive(0, &settings);
    std::strcpy(drive->comment, "before");
  }
  void TearDown() override {
    LoadImageTest::TearDown();
    SetVariable("DISK_RAW_DRIVE_A", "");
  }

  // A disk image whose every 4-byte word is its own byte position.
  std::string StandIn(std::uint32_t size) {
    Bytes bytes(size);
    for (std::uint32_t i = 0; i < size; i += 4) PutU32(bytes, i, i);
    std::string path = Write("drive-a", bytes);
    SetVariable("DISK_RAW_DRIVE_A", path);
    return path;
  }

  std::uint32_t WordAt(std::uint32_t cylinder, std::uint32_t side, std::uint8_t r, std::uint8_t n) {
    std::uint32_t offset = drive->FindSectorData(cylinder, side, r, n);
    std::vector<std::uint8_t> bytes = ReadBack(*drive, offset, 512u << (n - 2));
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
  }

  disk::DriveSettings settings;
};

TEST_F(RealDriveTest, A144MegabyteDriveReadsAtLogicalSectorPositions) {
  std::string path = StandIn(1474560);
  settings.realDrives[0].is144 = 1;
  settings.realDrives[0].writeProtect = 1;
  ASSERT_EQ(drive->LoadImage("ignored"), 1u);
  EXPECT_EQ(drive->file, disk::kRealDriveFile);
  EXPECT_EQ(drive->writeProtect, 1);
  EXPECT_EQ(drive->reformattable, 0u);
  EXPECT_STREQ(drive->comment, "before");
  EXPECT_EQ(drive->CountSectors(79, 1), 18u);
  EXPECT_EQ(drive->sectors[0][0].mediaType, 0x30);
  EXPECT_EQ(WordAt(1, 0, 1, 2), 36u * 512);
  EXPECT_EQ(WordAt(79, 1, 18, 2), 1474560u - 512);

  std::vector<std::uint8_t> fresh(512, 0x42);
  disk::SeekDrive(*drive, 36 * 512);
  EXPECT_TRUE(disk::WriteDrive(*drive, fresh.data(), 512));
  EXPECT_EQ(testing_support::ReadAll(path)[36 * 512 + 511], 0x42);
}

TEST_F(RealDriveTest, A123MegabyteDriveReachesItsHighestSector) {
  StandIn(1261568);
  settings.realDrives[0].is144 = 0;
  ASSERT_EQ(drive->LoadImage(""), 1u);
  EXPECT_EQ(drive->writeProtect, 0);
  EXPECT_EQ(drive->sectors[0][0].mediaType, 0x90);
  EXPECT_EQ(WordAt(76, 1, 8, 3), (153u * 8 + 7) * 1024);
  // Beyond the layout: empty records up to the 26 places an R0 header has, nothing after.
  EXPECT_EQ(drive->CountSectors(77, 0), 0u);
  EXPECT_EQ(drive->sectors[154][0].status, 0xE0);
  EXPECT_EQ(drive->sectors[3][25].st0, 0x44);
  EXPECT_EQ(drive->sectors[3][26].status, 0);
  EXPECT_EQ(drive->sectors[163][0].status, 0);
  EXPECT_TRUE(drive->sectors[163][0].IsEmpty());
}

TEST_F(RealDriveTest, The9xServiceIsAskedForLogicalSectors) {
  disk::RealDriveRecord record = {};
  std::strcpy(record.driveName, "b");
  record.is144 = 1;
  record.driveState = 36 * 512;  // cylinder 1, side 0, R = 1
  disk::SectorSpan span = disk::Vwin32Span(record, 1024);
  EXPECT_EQ(span.drive, 1u);
  EXPECT_EQ(span.startSector, 36u);
  EXPECT_EQ(span.sectors, 2u);
  record.is144 = 0;
  record.driveState = (153 * 8 + 7) * 1024;
  span = disk::Vwin32Span(record, 2047);
  EXPECT_EQ(span.startSector, 153u * 8 + 7);
  EXPECT_EQ(span.sectors, 1u);
}

TEST_F(RealDriveTest, ADriveWithoutADiskMountsAndReadsNothing) {
  SetVariable("DISK_RAW_DRIVE_A", scratch.File("no-such-device"));
  ASSERT_EQ(drive->LoadImage(""), 1u);
  EXPECT_EQ(ReadBack(*drive, 0, 1024), std::vector<std::uint8_t>(1024, 0x5A));
  drive->Eject();
  EXPECT_EQ(drive->file, 0u);
}

}  // namespace
