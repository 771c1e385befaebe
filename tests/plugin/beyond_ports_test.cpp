// What the module's ports cannot reach: file calls failing midway (FailFileCallAfter), and the
// sector numbers Windows 9x is asked for.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "media/backing_store.h"
#include "media/drive_settings.h"
#include "media/file_routines.h"
#include "media/floppy_drive.h"
#include "media/hard_disk_drive.h"
#include "media/mfd_rewrite.h"
#include "media/new_floppy_image.h"
#include "media/new_hard_disk_image.h"
#include "support/disk_images.h"
#include "support/scratch.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

class FileFailureTest : public ::testing::Test {
 protected:
  void SetUp() override { drive->Reset(); }
  void TearDown() override {
    disk::FailFileCallAfter(0);
    drive->Eject();
  }
  ScratchDir dir;
  std::string image = dir.File("disk.mfd");
  std::unique_ptr<disk::FloppyDrive> drive = std::make_unique<disk::FloppyDrive>(0);
};

TEST_F(FileFailureTest, AFloppyLoadIsGivenUpAndAFailedOpenForWritingProtectsTheDisk) {
  WriteAll(image, BuildR0(UniformDisk(1, 26, 1)));
  disk::FailFileCallAfter(1);
  ASSERT_EQ(drive->LoadImage(image.c_str()), 1u);
  EXPECT_EQ(drive->writeProtect, 1);
  int calls = 0;  // the first call whose failure no longer fails the load
  for (int failing = 2; failing < 1000 && calls == 0; ++failing) {
    disk::FailFileCallAfter(failing);
    if (drive->LoadImage(image.c_str()) == 1) {
      calls = failing;
      EXPECT_EQ(drive->writeProtect, 0);
    } else {
      EXPECT_EQ(drive->file, 0u);
      EXPECT_EQ(drive->CountSectors(0, 0), 0u);
    }
    disk::FailFileCallAfter(0);
  }
  EXPECT_GT(calls, 3);

  disk::HardDiskDrive hardDisk(1);
  disk::FailFileCallAfter(2);  // the open succeeds, the header read fails
  EXPECT_FALSE(hardDisk.OpenImage(image.c_str()));
  EXPECT_EQ(hardDisk.file, platform::kNoFile);
}

TEST_F(FileFailureTest, ATrackFormatLeavesTheOldImageOrTheWholeNewOneAndNoTemporaryFile) {
  const Bytes before = BuildR1(UniformDisk(3, 9, 2));
  disk::FormatId ids[8];
  for (std::uint8_t r = 0; r < 8; ++r) ids[r] = {1, 0, static_cast<std::uint8_t>(r + 1), 3};
  Bytes formatted;
  bool succeeded = false;
  int failures = 0;
  for (int call = 0; call < 500 && !succeeded; ++call) {
    WriteAll(image, before);
    ASSERT_EQ(drive->LoadImage(image.c_str()), 1u);
    drive->cylinder = 1;
    disk::FailFileCallAfter(call);
    const disk::FormatOutcome outcome = disk::FormatTrack(*drive, 0, ids, 8, true, 0x5A, 0);
    disk::FailFileCallAfter(0);
    const Bytes now = ReadAll(image);
    if (call == 0) formatted = now;
    succeeded = call > 0 && outcome == disk::FormatOutcome::kDone;
    failures += outcome == disk::FormatOutcome::kNotReady;
    EXPECT_TRUE(now == before || now == formatted) << "call " << call;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "call " << call;
    // Whatever happened, the image loads and its other tracks hold their data.
    ASSERT_EQ(drive->LoadImage(image.c_str()), 1u) << "call " << call;
    const std::uint32_t at = drive->FindSectorData(2, 1, 4, 2);
    EXPECT_EQ(Bytes(now.begin() + at, now.begin() + at + 512), SectorData(5, 4, 512)) << call;
  }
  EXPECT_NE(formatted, before);
  EXPECT_TRUE(succeeded);
  EXPECT_GT(failures, 5);
}

TEST_F(FileFailureTest, NewImagesReportTheStepThatFailed) {
  using disk::ImageResult;
  EXPECT_EQ(disk::CreateBlankFloppyImage(dir.File("none/X.MFD").c_str(), {}),
            ImageResult::kCreateFailed);
  disk::FailFileCallAfter(2);  // creation succeeds, the header write falls short
  EXPECT_EQ(disk::CreateBlankFloppyImage(image.c_str(), {}), ImageResult::kWriteFailed);
  // Marked read-only, it is not overwritten, whoever asks.
  const Bytes cut = ReadAll(image);
  fs::permissions(image, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(disk::CreateBlankFloppyImage(image.c_str(), {}), ImageResult::kCreateFailed);
  EXPECT_EQ(ReadAll(image), cut);
  fs::permissions(image, fs::perms::owner_write, fs::perm_options::add);

  disk::FailFileCallAfter(4);  // the second cylinder's write fails: the file keeps what was written
  EXPECT_EQ(disk::CreateHardDiskImage(dir.File("CUT.MHD").c_str(), 1, {}),
            ImageResult::kWriteFailed);
  EXPECT_EQ(ReadAll(dir.File("CUT.MHD")).size(), 512u + 131072u);
}

TEST(Vwin32, TheServiceIsAskedForLogicalSectors) {
  disk::RealDriveRecord record = {};
  std::strcpy(record.driveName, "b");
  record.is144 = 1;
  record.driveState = 36 * 512;  // cylinder 1, side 0, R = 1
  disk::SectorSpan span = disk::Vwin32Span(record, 1024);
  EXPECT_EQ(std::vector<std::uint32_t>({span.drive, span.startSector, span.sectors}),
            std::vector<std::uint32_t>({1, 36, 2}));
  record.is144 = 0;
  record.driveState = (153 * 8 + 7) * 1024;
  span = disk::Vwin32Span(record, 2047);  // not a whole number of sectors: one
  EXPECT_EQ(span.startSector * 10 + span.sectors, (153u * 8 + 7) * 10 + 1);
}

}  // namespace
