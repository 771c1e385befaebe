// A reset drive on the heap (its tables are too big for a stack) and a quick way to lay out a
// track's sectors.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "media/drive_settings.h"
#include "media/floppy_drive.h"

namespace fdd_testing {

inline std::unique_ptr<disk::FloppyDrive> ResetDrive(std::uint32_t unit = 2,
                                                     disk::DriveSettings* settings = nullptr) {
  auto drive = std::make_unique<disk::FloppyDrive>(unit, settings);
  drive->Reset();
  return drive;
}

// An MFM sector of the 1 MB class with the given ID and data offset.
inline disk::SectorRecord Sector(int c, int h, int r, int n, std::uint32_t dataOffset = 0) {
  return {static_cast<std::uint8_t>(c),
          static_cast<std::uint8_t>(h),
          static_cast<std::uint8_t>(r),
          static_cast<std::uint8_t>(n),
          1,
          0,
          0,
          0,
          0,
          0,
          0x90,
          dataOffset,
          0,
          0};
}

// Puts sectors with the given record numbers into slots 0, 1, ... of a track, in that order;
// each sector's data offset is 1000 * R so that tests can tell them apart.
inline void LayTrack(disk::FloppyDrive& drive, std::uint32_t cylinder, std::uint32_t side,
                     std::initializer_list<int> records, std::uint8_t n = 2) {
  const int track = disk::TrackIndex(cylinder, side);
  int slot = 0;
  for (int r : records) {
    drive.SetSector(track, slot++,
                    Sector(static_cast<int>(cylinder), static_cast<int>(side), r, n,
                           static_cast<std::uint32_t>(1000 * r)));
  }
}

}  // namespace fdd_testing
