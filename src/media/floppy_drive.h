// One emulated floppy drive with the disk inserted in it. The drive keeps the disk's address
// fields in memory (the FloppyTables an image loader fills); the sector data stay in the backing
// store (the image file or the real drive), reached through the data offsets.
#pragma once

#include <cstdint>

#include "formats/floppy_tables.h"

namespace disk {

struct DriveSettings;
struct RealDriveRecord;

// The result of CurrentSectorId and NextSectorId: the ID of the slot under the cursor.
struct SectorId {
  std::uint8_t C;
  std::uint8_t H;
  std::uint8_t R;
  std::uint8_t N;
  std::uint8_t slot;
  // CurrentSectorId: the cursor went back to slot 0. NextSectorId: the R order wrapped (the
  // sector returned was the track's last) or no other sector exists.
  bool endOfTrack;
};

struct SectorMatch {
  bool found;
  std::uint8_t slot;
  bool endOfTrack;  // the sector found has the highest R of the track
};

inline constexpr std::uint32_t kNoSectorData = 0xFFFFFFFF;  // FindSectorData: no such sector
inline constexpr std::uint32_t kRealDriveFile = 1;          // `file` of a mounted real drive

class FloppyDrive : public FloppyTables {
 public:
  // `settings` say whether units 0 and 1 are real drives and how those are reached; without them
  // the drive takes image files only.
  explicit FloppyDrive(std::uint32_t unitNumber, DriveSettings* settings = nullptr);
  virtual ~FloppyDrive() = default;
  FloppyDrive(const FloppyDrive&) = delete;
  FloppyDrive& operator=(const FloppyDrive&) = delete;

  // Closes a file still open, sets `file` to 0 and empties every table.
  void Reset();
  // Takes the disk out: closes the image file (a real drive holds none) and empties every table.
  // The head position and the rotation cursor stay.
  void Eject();
  // Inserts the image at path, or the real drive when the unit is set to one; 1 when the drive
  // holds a disk afterwards, 0 (and empty) otherwise. The file's first bytes may be handed over
  // when they are known already (an image just written), and are then not read again.
  std::uint32_t LoadImage(const char* path, const std::uint8_t* knownStart = nullptr,
                          std::uint32_t knownSize = 0);

  // The unit's real-drive record, or null when the drive takes image files.
  RealDriveRecord* RealDrive() const;

  // Operations on the tables of the current track (cylinder * 2 + side).
  void SelectSide(std::uint8_t newSide) { side = newSide; }
  void ResetRotation();
  std::uint32_t CountSectors(std::uint32_t cylinderNumber, std::uint32_t sideNumber) const;
  SectorId CurrentSectorId();
  SectorId NextSectorId();
  // `command` is the BIOS command the lookup serves: READ DIAGNOSTIC does not compare N.
  SectorMatch FindSector(std::uint8_t command, std::uint8_t c, std::uint8_t h, std::uint8_t r,
                         std::uint8_t n);
  std::uint32_t FindSectorData(std::uint32_t cylinderNumber, std::uint32_t sideNumber,
                               std::uint8_t r, std::uint8_t n) const;

  // Empties every sector slot and ends every special list of every track, those of cylinders
  // beyond the tables included.
  void ClearTables();
  // The 256 slots of a track, and its special read list. A cylinder beyond the tables (a guest
  // may seek anywhere) reads as a track without sectors and without special records.
  SectorRecord* Track(std::uint32_t cylinderNumber, std::uint32_t sideNumber);
  const SectorRecord* Track(std::uint32_t cylinderNumber, std::uint32_t sideNumber) const;
  SpecialReadRecord* Specials(std::uint32_t cylinderNumber, std::uint32_t sideNumber);
  SectorRecord* CurrentTrack() { return Track(cylinder, side); }
  bool Inserted() const { return file != 0; }

  // comment, reformattable, revision, writeProtect, sectors and specials: FloppyTables.
  char imagePath[260];
  std::uint32_t file;          // backing file; 0 = no disk; kRealDriveFile for a real drive
  std::uint32_t dataPosition;  // data offset of the sector a BIOS call located last
  std::uint8_t cylinder;
  std::uint8_t side;
  std::uint8_t rotation;              // the slot that passes under the head next
  std::uint8_t* registers = nullptr;  // the register block of the BIOS call being served
  std::uint32_t unit;
  // The floppy controller the drive is wired to, handed to onIndex, which is called whenever the
  // cursor returns to the index position so that the controller can set its R register to 1 at
  // the same time; both installed by whoever wires the controller.
  void* controller = nullptr;
  void (*onIndex)(void* controller) = nullptr;
  DriveSettings* settings;

 private:
  // What a cylinder beyond the tables holds: kept empty by ClearTables (only repeat cursors and
  // the like can change, and no read ever finds a sector there).
  SectorRecord beyondTables_[kSlotsPerTrack];
  SpecialReadRecord beyondSpecials_[kSpecialsPerTrack];

  // Moves the cursor to the sector that follows R in ascending record order, or to whenAlone
  // when there is none; true when the order wrapped or there was none.
  // The slots of a track that may hold a record (FloppyTables::usedSlots); 0 beyond the tables.
  int UsedSlots(std::uint32_t cylinderNumber, std::uint32_t sideNumber) const;
  bool MoveToSectorAfter(std::uint8_t r, std::uint8_t whenAlone);
  // The slot of the sector that follows R in ascending record order, or -1 when there is none.
  int SlotAfter(std::uint8_t r) const;
};

}  // namespace disk
