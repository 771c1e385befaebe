#include "media/floppy_drive.h"

#include <algorithm>
#include <cstring>

#include "formats/floppy_loaders.h"
#include "media/backing_store.h"
#include "media/drive_settings.h"
#include "media/file_routines.h"

namespace disk {

// The tables live inside the drive (about 1.8 MB; four drives are built); keep one drive within
// 2.5 MB.
static_assert(sizeof(FloppyDrive) <= 2560 * 1024);

FloppyDrive::FloppyDrive(std::uint32_t unitNumber, DriveSettings* driveSettings)
    : unit(unitNumber), settings(driveSettings) {
  // The tables start empty (FloppyTables); the drive is usable after Reset.
  std::memset(imagePath, 0, sizeof imagePath);
  file = 0;
  dataPosition = 0;
  cylinder = 0;
  side = 0;
  rotation = 0;
  std::fill(std::begin(beyondTables_), std::end(beyondTables_), kClearedSlot);
  std::fill(std::begin(beyondSpecials_), std::end(beyondSpecials_), kEndOfList);
}

void FloppyDrive::ClearTables() {
  FloppyTables::ClearTables();
  std::fill(std::begin(beyondTables_), std::end(beyondTables_), kClearedSlot);
  std::fill(std::begin(beyondSpecials_), std::end(beyondSpecials_), kEndOfList);
}

void FloppyDrive::Reset() {
  // Power-off ejects before a reset; should the host reset without it, the image still open is
  // closed rather than leaked.
  if (file != kRealDriveFile) CloseFile(file);
  file = 0;
  ClearTables();
}

RealDriveRecord* FloppyDrive::RealDrive() const {
  return settings != nullptr ? settings->RealDrive(unit) : nullptr;
}

std::uint32_t FloppyDrive::LoadImage(const char* path, const std::uint8_t* knownStart,
                                     std::uint32_t knownSize) {
  Eject();
  if (const RealDriveRecord* record = RealDrive()) {
    MountRealDrive(*this, *record);
    return 1;
  }

  // A file that cannot be written gives a write-protected disk: better a protected disk than
  // none.
  bool readOnly = false;
  FileHandle handle = OpenImageAsMarked(path, readOnly);
  if (handle == 0) return 0;

  FileImageReader reader(handle, knownStart, knownSize);
  if (!ParseImage(reader, *this)) {
    CloseFile(handle);
    ClearTables();
    return 0;
  }
  file = handle;
  platform::CopyString(imagePath, path, sizeof imagePath);
  dataPosition = 0;
  if (readOnly) writeProtect = 1;
  return 1;
}

void FloppyDrive::Eject() {
  // A real drive holds no file. Deciding by the handle rather than by the unit's setting also
  // closes an image that was inserted before the user switched the unit to a real drive.
  if (file != kRealDriveFile) CloseFile(file);
  file = 0;
  ClearTables();
}

namespace {

// The table index of a track, or -1 for a cylinder beyond the tables.
int TableTrack(std::uint32_t cylinderNumber, std::uint32_t sideNumber) {
  return cylinderNumber < kTrackCount / 2 ? TrackIndex(cylinderNumber, sideNumber) : -1;
}

}  // namespace

int FloppyDrive::UsedSlots(std::uint32_t cylinderNumber, std::uint32_t sideNumber) const {
  int track = TableTrack(cylinderNumber, sideNumber);
  return track >= 0 ? usedSlots[track] : 0;
}

SectorRecord* FloppyDrive::Track(std::uint32_t cylinderNumber, std::uint32_t sideNumber) {
  int track = TableTrack(cylinderNumber, sideNumber);
  return track >= 0 ? sectors[track] : beyondTables_;
}

const SectorRecord* FloppyDrive::Track(std::uint32_t cylinderNumber,
                                       std::uint32_t sideNumber) const {
  int track = TableTrack(cylinderNumber, sideNumber);
  return track >= 0 ? sectors[track] : beyondTables_;
}

SpecialReadRecord* FloppyDrive::Specials(std::uint32_t cylinderNumber, std::uint32_t sideNumber) {
  int track = TableTrack(cylinderNumber, sideNumber);
  return track >= 0 ? specials[track] : beyondSpecials_;
}

void FloppyDrive::ResetRotation() {
  rotation = 0;
  if (onIndex != nullptr && controller != nullptr) onIndex(controller);
}

std::uint32_t FloppyDrive::CountSectors(std::uint32_t cylinderNumber,
                                        std::uint32_t sideNumber) const {
  const SectorRecord* track = Track(cylinderNumber, sideNumber);
  const std::uint32_t used = UsedSlots(cylinderNumber, sideNumber);
  std::uint32_t count = 0;
  while (count < used && !track[count].IsEmpty()) ++count;
  return count;
}

SectorId FloppyDrive::CurrentSectorId() {
  const SectorRecord* track = CurrentTrack();
  const SectorRecord& record = track[rotation];
  SectorId id = {record.C, record.H, record.R, record.N, rotation, false};
  int following = rotation + 1;
  if (following >= kSlotsPerTrack || track[following].IsEmpty()) {
    rotation = 0;
    id.endOfTrack = true;
  } else {
    rotation = static_cast<std::uint8_t>(following);
  }
  return id;
}

bool FloppyDrive::MoveToSectorAfter(std::uint8_t r, std::uint8_t whenAlone) {
  int next = SlotAfter(r);
  if (next < 0) {
    rotation = whenAlone;
    return true;
  }
  rotation = static_cast<std::uint8_t>(next);
  return CurrentTrack()[next].R <= r;  // the order wrapped: r was the track's last
}

int FloppyDrive::SlotAfter(std::uint8_t r) const {
  // The candidates R + 1, R + 2, ... in 8-bit arithmetic: the winner is the sector whose R lies
  // the fewest steps ahead, the first in slot order among equals. A sector with R itself is never
  // a candidate, so the first slot holding R + 1 wins outright.
  const SectorRecord* track = Track(cylinder, side);
  const int used = UsedSlots(cylinder, side);
  const std::uint8_t following = static_cast<std::uint8_t>(r + 1);
  int best = -1;
  int bestDistance = 255;
  for (int slot = 0; slot < used; ++slot) {
    if (track[slot].IsEmpty()) continue;
    if (track[slot].R == following) return slot;
    int distance = (track[slot].R - r - 1) & 0xFF;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = slot;
    }
  }
  return best;
}

SectorId FloppyDrive::NextSectorId() {
  const SectorRecord& record = CurrentTrack()[rotation];
  SectorId id = {record.C, record.H, record.R, record.N, rotation, false};
  id.endOfTrack = MoveToSectorAfter(record.R, 0);
  return id;
}

SectorMatch FloppyDrive::FindSector(std::uint8_t command, std::uint8_t c, std::uint8_t h,
                                    std::uint8_t r, std::uint8_t n) {
  (void)c;  // the cylinder of the ID field is not compared
  ResetRotation();
  const SectorRecord* track = CurrentTrack();
  const int used = UsedSlots(cylinder, side);
  for (int slot = 0; slot < used && !track[slot].IsEmpty(); ++slot) {
    const SectorRecord& record = track[slot];
    if (((record.H ^ h) & 1) != 0 || record.R != r) continue;
    if (command != bios_command::kReadDiagnostic && record.N != n) continue;
    // A lone sector leaves the cursor past the end of the track.
    return {true, static_cast<std::uint8_t>(slot), MoveToSectorAfter(record.R, 0xFF)};
  }
  return {false, 0, false};
}

std::uint32_t FloppyDrive::FindSectorData(std::uint32_t cylinderNumber, std::uint32_t sideNumber,
                                          std::uint8_t r, std::uint8_t n) const {
  const SectorRecord* track = Track(cylinderNumber, sideNumber);
  const int used = UsedSlots(cylinderNumber, sideNumber);
  for (int slot = 0; slot < used; ++slot) {
    if (track[slot].R == r && track[slot].N == n) return track[slot].dataOffset;
  }
  return kNoSectorData;
}

}  // namespace disk
