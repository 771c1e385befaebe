// FormatTrack: compares the new layout with the track's, builds the rewritten image beside the
// old one and puts it in place with one rename, then loads it again.
#include "media/mfd_rewrite.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "formats/floppy_geometry.h"
#include "formats/mfd.h"
#include "media/file_routines.h"
#include "media/floppy_drive.h"
#include "media/mfd_rewrite_file.h"

namespace disk {
namespace {

// Data bytes a track occupies in an MFD data area: every copy of every sector and special.
std::uint64_t TrackDataSize(const FloppyDrive& drive, int track) {
  std::uint64_t size = 0;
  for (int slot = 0; slot < drive.usedSlots[track]; ++slot) {
    const SectorRecord& r = drive.sectors[track][slot];
    if (!r.IsEmpty()) size += std::uint64_t{r.repeatCount + 1u} * SectorSize(r.N);
  }
  for (int entry = 0; entry < drive.usedSpecials[track]; ++entry) {
    const SpecialReadRecord& s = drive.specials[track][entry];
    if (!s.EndsList()) size += std::uint64_t{s.repeatCount + 1u} * s.dataLength;
  }
  return size;
}

bool HasCopiesOrSpecials(const FloppyDrive& drive, int track) {
  for (int slot = 0; slot < drive.usedSlots[track]; ++slot) {
    const SectorRecord& r = drive.sectors[track][slot];
    if (!r.IsEmpty() && r.repeatCount != 0) return true;
  }
  for (int entry = 0; entry < drive.usedSpecials[track]; ++entry)
    if (!drive.specials[track][entry].EndsList()) return true;
  return false;
}

// The layout stays when every sector keeps its size and the track keeps its number of sectors.
bool SameLayout(const SectorRecord* track, const FormatId* ids, std::uint32_t count) {
  for (std::uint32_t slot = 0; slot < kSlotsPerTrack; ++slot) {
    if (track[slot].IsEmpty()) return slot == count;
    if (slot >= count || track[slot].N != ids[slot].N) return false;
  }
  return count == kSlotsPerTrack;
}

void ReplaceRecords(FloppyDrive& drive, int track, std::uint8_t side, const FormatId* ids,
                    std::uint32_t count, bool mfm, std::uint8_t mediaType) {
  const SectorRecord* slots = drive.sectors[track];
  const std::uint8_t mfmFlag = mfm ? 1 : 0;
  const std::uint8_t st0 = side != 0 ? kSide1St0 : 0;
  for (std::uint32_t i = 0; i < kSlotsPerTrack; ++i) {
    // Data offsets are left for the reload to set. A new sector has one copy of its data: the
    // header is written with the tables' repeat counts, and the track's data hold one copy each.
    const SectorRecord old = slots[i];
    SectorRecord r;
    if (i < count) {
      const FormatId& id = ids[i];
      r = {id.C,
           id.H,
           id.R,
           id.N,
           mfmFlag,
           0,
           0,
           st0,
           0,
           0,
           mediaType != 0 ? mediaType : MediaTypeFor(id.N, count, mfmFlag),
           old.dataOffset,
           0,
           0};
    } else {
      r = EmptyRecord(side, old.dataOffset);
      r.repeatCursor = old.repeatCursor;
      r.repeatCount = old.repeatCount;
    }
    drive.SetSector(track, static_cast<int>(i), r);
  }
  drive.ClearSpecials(track);
}

// The track's tables as they were, put back when the rewrite fails before the image changed.
struct TrackBackup {
  SectorRecord sectors[kSlotsPerTrack];
  SpecialReadRecord specials[kSpecialsPerTrack];
  std::uint16_t usedSlots;
  std::uint16_t usedSpecials;
  std::uint32_t revision;
};

}  // namespace

FormatOutcome FormatTrack(FloppyDrive& drive, std::uint8_t side, const FormatId* ids,
                          std::uint32_t count, bool mfm, std::uint8_t fillByte,
                          std::uint8_t mediaType) {
  // An empty drive keeps the kind of its last disk: it is not ready, whatever that was.
  if (drive.unit >= 2 || !drive.Inserted()) return FormatOutcome::kNotReady;
  if (drive.reformattable == 0) return FormatOutcome::kDoneUnchanged;
  if (drive.writeProtect != 0) return FormatOutcome::kWriteProtected;
  side &= 1;
  drive.SelectSide(side);
  const int track = TrackIndex(drive.cylinder, side);
  // A cylinder beyond the tables cannot be kept in any MFD header.
  if (track >= kTrackCount || (count > 0 && ids == nullptr)) return FormatOutcome::kNotReady;
  count = std::min<std::uint32_t>(count, kSlotsPerTrack);

  // Where the track's data lie, by the rule the loaders give every record its data offset: the
  // tracks' data follow one another in track order from the start of the data area. A track
  // without sectors (an R1 track without a block) holds none and sits where the one before ends.
  std::uint32_t dataStart = 0;
  FileImageReader image(drive.file);
  if (!MfdDataStart(image, drive.revision, dataStart)) return FormatOutcome::kNotReady;
  std::uint64_t trackStart = dataStart;
  for (int t = 0; t < track; ++t) trackStart += TrackDataSize(drive, t);
  const std::uint64_t trackEnd = trackStart + TrackDataSize(drive, track);

  // A track whose stored copies or special answers would not survive the new records gets
  // fresh data, as a changed layout does.
  const bool keepData =
      SameLayout(drive.sectors[track], ids, count) && !HasCopiesOrSpecials(drive, track);
  std::uint64_t newTrackSize = trackEnd - trackStart;
  if (!keepData) {
    newTrackSize = 0;
    for (std::uint32_t i = 0; i < count; ++i) newTrackSize += SectorSize(ids[i].N);
  }
  const RewritePlan plan = {dataStart, trackStart, trackEnd, newTrackSize, fillByte, keepData};

  std::unique_ptr<TrackBackup> backup(new (std::nothrow) TrackBackup);
  if (backup == nullptr) return FormatOutcome::kNotReady;
  std::memcpy(backup->sectors, drive.sectors[track], sizeof backup->sectors);
  std::memcpy(backup->specials, drive.specials[track], sizeof backup->specials);
  backup->usedSlots = drive.usedSlots[track];
  backup->usedSpecials = drive.usedSpecials[track];
  backup->revision = drive.revision;

  ReplaceRecords(drive, track, side, ids, count, mfm, mediaType);
  // R0 keeps 26 sectors on tracks 0 to 162 only; rather than lose what it cannot hold, the
  // image becomes R1, whose data area is laid out the same way.
  if (drive.revision == 0 && (count > mfd::kR0Places || track >= mfd::kR0Tracks))
    drive.revision = 1;

  const RewriteResult result = RewriteImage(drive, plan);
  if (result == RewriteResult::kImageUntouched) {
    std::memcpy(drive.sectors[track], backup->sectors, sizeof backup->sectors);
    std::memcpy(drive.specials[track], backup->specials, sizeof backup->specials);
    drive.usedSlots[track] = backup->usedSlots;
    drive.usedSpecials[track] = backup->usedSpecials;
    drive.revision = backup->revision;
  }
  return result == RewriteResult::kReloaded ? FormatOutcome::kDone : FormatOutcome::kNotReady;
}

}  // namespace disk
