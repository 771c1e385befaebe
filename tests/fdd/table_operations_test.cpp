#include <gtest/gtest.h>

#include <vector>

#include "drive_fixture.h"
#include "formats/floppy_geometry.h"
#include "media/floppy_drive.h"

namespace {

using disk::FloppyDrive;
using fdd_testing::LayTrack;
using fdd_testing::ResetDrive;
using fdd_testing::Sector;

// Follows NextSectorId from the cursor `steps` times and collects the R values.
std::vector<int> WalkByR(FloppyDrive& drive, int steps) {
  std::vector<int> seen;
  for (int i = 0; i < steps; ++i) seen.push_back(drive.NextSectorId().R);
  return seen;
}

TEST(SectorSize, CodesAboveSixCountAsTheLargestSector) {
  EXPECT_EQ(disk::SectorSize(0), 128u);
  EXPECT_EQ(disk::SectorSize(3), 1024u);
  EXPECT_EQ(disk::SectorSize(6), 8192u);
  EXPECT_EQ(disk::SectorSize(7), 8192u);
  EXPECT_EQ(disk::SectorSize(0xFF), 8192u);
}

TEST(MediaTypeFor, FollowsSizeDensityAndSectorCount) {
  using disk::MediaTypeFor;
  EXPECT_EQ(MediaTypeFor(0, 25, 0), 0x10);
  EXPECT_EQ(MediaTypeFor(0, 26, 0), 0x90);
  EXPECT_EQ(MediaTypeFor(1, 16, 1), 0x10);  // MFM 256-byte sectors: the limit is 26
  EXPECT_EQ(MediaTypeFor(1, 26, 1), 0x90);
  EXPECT_EQ(MediaTypeFor(1, 14, 0), 0x10);  // FM 256-byte sectors: the limit is 15
  EXPECT_EQ(MediaTypeFor(1, 15, 0), 0x90);
  EXPECT_EQ(MediaTypeFor(2, 18, 1), 0x30);
  EXPECT_EQ(MediaTypeFor(2, 17, 1), 0x90);
  EXPECT_EQ(MediaTypeFor(2, 9, 1), 0x10);
  EXPECT_EQ(MediaTypeFor(2, 18, 0), 0x90);  // only MFM reaches the 1.44 MB class
  EXPECT_EQ(MediaTypeFor(2, 14, 0), 0x10);
  EXPECT_EQ(MediaTypeFor(3, 7, 1), 0x10);
  EXPECT_EQ(MediaTypeFor(3, 8, 1), 0x90);
  EXPECT_EQ(MediaTypeFor(4, 1, 1), 0x90);
  EXPECT_EQ(MediaTypeFor(0xFF, 1, 0), 0x90);
}

TEST(FloppyDriveTables, ResetAndEjectLeaveEveryTrackEmpty) {
  auto drive = ResetDrive();
  for (int track = 0; track < disk::kTrackCount; ++track) {
    EXPECT_TRUE(drive->sectors[track][0].IsEmpty());
    EXPECT_TRUE(drive->sectors[track][255].IsEmpty());
    EXPECT_TRUE(drive->specials[track][0].EndsList());
  }
  LayTrack(*drive, 3, 1, {1, 2, 3});
  disk::SpecialReadRecord special = disk::kEndOfList;
  special.command = 6;
  special.C = 3;
  drive->SetSpecial(7, 0, special);
  drive->cylinder = 3;
  drive->side = 1;
  drive->rotation = 2;
  drive->Eject();
  EXPECT_EQ(drive->file, 0u);
  EXPECT_EQ(drive->CountSectors(3, 1), 0u);
  EXPECT_EQ(drive->specials[7][0].command, 0xFF);
  EXPECT_EQ(drive->specials[7][0].C, 0xFF);
  // The head and the cursor stay where they were.
  EXPECT_EQ(drive->cylinder, 3);
  EXPECT_EQ(drive->side, 1);
  EXPECT_EQ(drive->rotation, 2);
}

TEST(FloppyDriveTables, EmptyTrackHasNoSectors) {
  auto drive = ResetDrive();
  EXPECT_EQ(drive->CountSectors(0, 0), 0u);
  EXPECT_FALSE(drive->FindSector(6, 0, 0, 1, 2).found);
  EXPECT_EQ(drive->FindSectorData(0, 0, 1, 2), disk::kNoSectorData);
  disk::SectorId id = drive->NextSectorId();
  EXPECT_TRUE(id.endOfTrack);
  EXPECT_EQ(drive->rotation, 0);
}

TEST(FloppyDriveTables, CountStopsAtTheFirstEmptySlot) {
  auto drive = ResetDrive();
  LayTrack(*drive, 2, 0, {1, 2, 3, 4});
  drive->Track(2, 0)[2].C = disk::kEmptySlot;
  EXPECT_EQ(drive->CountSectors(2, 0), 2u);
  EXPECT_EQ(drive->CountSectors(2, 1), 0u);
  // A full track counts 256 and the cursor wraps past the last slot.
  for (int slot = 0; slot < disk::kSlotsPerTrack; ++slot)
    drive->SetSector(disk::TrackIndex(5, 1), slot, Sector(5, 1, 1, 0));
  EXPECT_EQ(drive->CountSectors(5, 1), 256u);
  drive->cylinder = 5;
  drive->side = 1;
  drive->rotation = 255;
  EXPECT_TRUE(drive->CurrentSectorId().endOfTrack);
  EXPECT_EQ(drive->rotation, 0);
}

TEST(FloppyDriveTables, NextSectorIdFollowsRecordNumbers) {
  auto drive = ResetDrive();
  LayTrack(*drive, 0, 0, {1, 2, 3});
  disk::SectorId id = drive->NextSectorId();
  EXPECT_EQ(id.R, 1);
  EXPECT_EQ(id.slot, 0);
  EXPECT_FALSE(id.endOfTrack);
  EXPECT_EQ(drive->rotation, 1);
  drive->rotation = 2;
  id = drive->NextSectorId();
  EXPECT_EQ(id.R, 3);
  EXPECT_TRUE(id.endOfTrack);
  EXPECT_EQ(drive->rotation, 0);
}

TEST(FloppyDriveTables, InterleavedTrackReadsInROrderButIdsComeInSlotOrder) {
  auto drive = ResetDrive();
  LayTrack(*drive, 0, 0, {1, 4, 2, 5, 3});
  EXPECT_EQ(WalkByR(*drive, 6), (std::vector<int>{1, 2, 3, 4, 5, 1}));

  drive->ResetRotation();
  std::vector<int> seen;
  std::vector<bool> wrapped;
  for (int i = 0; i < 6; ++i) {
    disk::SectorId id = drive->CurrentSectorId();
    seen.push_back(id.R);
    wrapped.push_back(id.endOfTrack);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 4, 2, 5, 3, 1}));
  EXPECT_EQ(wrapped, (std::vector<bool>{false, false, false, false, true, false}));
}

TEST(FloppyDriveTables, RecordNumbersWrapInEightBits) {
  auto drive = ResetDrive();
  // R after 0xFE is 0xFF, then 0x00 (a wrap: end of track), then 0x01.
  LayTrack(*drive, 0, 0, {0x01, 0xFE, 0x00, 0xFF});
  drive->rotation = 1;
  disk::SectorId id = drive->NextSectorId();
  EXPECT_EQ(id.R, 0xFE);
  EXPECT_FALSE(id.endOfTrack);
  EXPECT_EQ(drive->rotation, 3);
  id = drive->NextSectorId();
  EXPECT_EQ(id.R, 0xFF);
  EXPECT_TRUE(id.endOfTrack);
  EXPECT_EQ(drive->rotation, 2);
}

TEST(FloppyDriveTables, NextSectorIdSkipsEmptySlotsButLooksAtAllOfThem) {
  auto drive = ResetDrive();
  LayTrack(*drive, 0, 0, {1, 9, 2});
  drive->Track(0, 0)[1].C = disk::kEmptySlot;   // R = 9 is gone
  drive->SetSector(0, 40, Sector(0, 0, 3, 2));  // beyond the first empty slot
  EXPECT_EQ(WalkByR(*drive, 4), (std::vector<int>{1, 2, 3, 1}));
}

TEST(FloppyDriveTables, DuplicateRecordNumbersGoToTheFirstSlot) {
  auto drive = ResetDrive();
  LayTrack(*drive, 0, 0, {1, 2, 2, 3});
  drive->rotation = 0;
  drive->NextSectorId();
  EXPECT_EQ(drive->rotation, 1);
  // From either copy of R = 2 the next is R = 3; a copy of R = 2 never follows the other.
  drive->rotation = 2;
  drive->NextSectorId();
  EXPECT_EQ(drive->rotation, 3);
}

TEST(FloppyDriveTables, FindSectorComparesHeadBitRecordAndSize) {
  auto drive = ResetDrive();
  LayTrack(*drive, 7, 0, {1, 2, 3}, 2);  // recorded with C = 7, H = 0
  drive->cylinder = 7;
  drive->rotation = 2;
  // C is not compared, only bit 0 of H.
  disk::SectorMatch match = drive->FindSector(6, 5, 2, 2, 2);
  EXPECT_TRUE(match.found);
  EXPECT_EQ(match.slot, 1);
  EXPECT_FALSE(match.endOfTrack);
  EXPECT_EQ(drive->rotation, 2);
  EXPECT_FALSE(drive->FindSector(6, 7, 1, 2, 2).found);  // other head
  EXPECT_FALSE(drive->FindSector(6, 7, 0, 2, 3).found);  // other size
  EXPECT_EQ(drive->rotation, 0);
  // Read diagnostic does not compare N.
  EXPECT_TRUE(drive->FindSector(disk::bios_command::kReadDiagnostic, 7, 0, 2, 3).found);

  match = drive->FindSector(6, 7, 0, 3, 2);
  EXPECT_TRUE(match.endOfTrack);
  EXPECT_EQ(drive->rotation, 0);
}

TEST(FloppyDriveTables, FindSectorStopsAtTheFirstEmptySlot) {
  auto drive = ResetDrive();
  LayTrack(*drive, 0, 0, {1, 2, 3});
  drive->Track(0, 0)[1].C = disk::kEmptySlot;
  EXPECT_FALSE(drive->FindSector(6, 0, 0, 3, 2).found);
}

TEST(FloppyDriveTables, SingleSectorTrackLeavesTheCursorPastTheEnd) {
  auto drive = ResetDrive();
  LayTrack(*drive, 0, 0, {1});
  disk::SectorMatch match = drive->FindSector(6, 0, 0, 1, 2);
  EXPECT_TRUE(match.found);
  EXPECT_TRUE(match.endOfTrack);
  EXPECT_EQ(drive->rotation, 0xFF);
}

TEST(FloppyDriveTables, FindSectorDataTakesTheFirstMatchInSlotOrder) {
  auto drive = ResetDrive();
  LayTrack(*drive, 1, 1, {4, 5, 6});
  drive->SetSector(3, 2, Sector(1, 1, 5, 2, 77777));
  EXPECT_EQ(drive->FindSectorData(1, 1, 5, 2), 5000u);
  EXPECT_EQ(drive->FindSectorData(1, 1, 5, 3), disk::kNoSectorData);
  EXPECT_EQ(drive->FindSectorData(1, 0, 5, 2), disk::kNoSectorData);
  // Even an empty slot counts when R and N agree.
  drive->Track(1, 1)[0].C = disk::kEmptySlot;
  EXPECT_EQ(drive->FindSectorData(1, 1, 4, 2), 4000u);
}

TEST(FloppyDriveTables, CylindersBeyondTheTablesHaveNoSectors) {
  auto drive = ResetDrive();
  drive->cylinder = 200;
  drive->side = 1;
  EXPECT_EQ(drive->CountSectors(200, 1), 0u);
  EXPECT_FALSE(drive->FindSector(6, 200, 1, 1, 2).found);
  EXPECT_TRUE(drive->CurrentSectorId().endOfTrack);
  EXPECT_EQ(drive->FindSectorData(255, 1, 1, 2), disk::kNoSectorData);
  EXPECT_TRUE(drive->Specials(255, 1)[0].EndsList());
  EXPECT_EQ(drive->CountSectors(0x40000000, 0), 0u);  // no wrap back into the tables
  EXPECT_EQ(drive->CountSectors(82, 0), 0u);
}

TEST(FloppyDriveTables, ResetRotationTellsTheController) {
  auto drive = ResetDrive();
  static int calls;
  calls = 0;
  drive->controller = drive.get();
  drive->onIndex = [](void*) { ++calls; };
  drive->rotation = 9;
  drive->ResetRotation();
  EXPECT_EQ(drive->rotation, 0);
  drive->FindSector(6, 0, 0, 1, 2);
  EXPECT_EQ(calls, 2);
}

}  // namespace
