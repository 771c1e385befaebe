// A floppy disk's address fields as the image formats describe them: per track the sector
// records as they pass under the head and the special read answers, plus what the image says of
// itself (comment, write protection, whether and how a track format rewrites it).
#pragma once

#include <cstdint>

namespace disk {

inline constexpr int kTrackCount = 164;               // track = cylinder * 2 + side
inline constexpr int kSlotsPerTrack = 256;            // sector records of one track
inline constexpr int kSpecialsPerTrack = 256;         // special read records of one track
inline constexpr std::uint8_t kEmptySlot = 0xFF;      // C of a slot that holds no sector
inline constexpr std::uint8_t kEndOfSpecials = 0xFF;  // command that ends a special list

// Command codes of the disk BIOS's floppy calls (AH & 0x0F); a special read record answers one.
namespace bios_command {
inline constexpr std::uint8_t kSeek = 0x0;
inline constexpr std::uint8_t kVerify = 0x1;
inline constexpr std::uint8_t kReadDiagnostic = 0x2;
inline constexpr std::uint8_t kInitialize = 0x3;
inline constexpr std::uint8_t kSense = 0x4;
inline constexpr std::uint8_t kWriteData = 0x5;
inline constexpr std::uint8_t kReadData = 0x6;
inline constexpr std::uint8_t kRecalibrate = 0x7;
inline constexpr std::uint8_t kWriteDeletedData = 0x9;
inline constexpr std::uint8_t kReadId = 0xA;
inline constexpr std::uint8_t kReadDeletedData = 0xC;
inline constexpr std::uint8_t kFormatTrack = 0xD;
inline constexpr std::uint8_t kSetMode = 0xE;
}  // namespace bios_command

constexpr int TrackIndex(std::uint32_t cylinder, std::uint32_t side) {
  return static_cast<int>(cylinder * 2 + (side & 1));
}

struct SectorRecord {
  std::uint8_t C;
  std::uint8_t H;
  std::uint8_t R;
  std::uint8_t N;
  std::uint8_t mfm;      // nonzero = MFM (double density)
  std::uint8_t deleted;  // nonzero = deleted-data address mark
  std::uint8_t status;   // BIOS result (AH) of reading it
  std::uint8_t st0;      // without the head and unit bits, which the reader adds
  std::uint8_t st1;
  std::uint8_t st2;
  std::uint8_t mediaType;
  std::uint32_t dataOffset;   // where its data lie in the backing store
  std::uint8_t repeatCursor;  // which stored copy the next read returns
  std::uint8_t repeatCount;   // extra stored copies; 0 = one copy

  bool IsEmpty() const { return C == kEmptySlot; }
};

struct SpecialReadRecord {
  std::uint8_t command;  // BIOS command code it answers; 0xFF ends the list
  std::uint8_t C;
  std::uint8_t H;
  std::uint8_t R;
  std::uint8_t N;
  std::uint8_t status;
  std::uint8_t st0;
  std::uint8_t st1;
  std::uint8_t st2;
  std::uint32_t dataOffset;
  std::uint32_t dataLength;
  std::uint8_t repeatCursor;
  std::uint8_t repeatCount;

  bool EndsList() const { return command == kEndOfSpecials; }
};

// What an emptied table holds: no sector, with ID bytes that match no real request.
inline constexpr SectorRecord kClearedSlot = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0,
                                              0,    0,    0,    0,    0,    0,    0};
inline constexpr SpecialReadRecord kEndOfList = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0,
                                                 0,    0,    0,    0,    0,    0};

// The ST0 a record of side 1 keeps: the HD bit (the reader adds the unit).
inline constexpr std::uint8_t kSide1St0 = 0x04;

// The record the image loaders write into a place without a sector: it reads as a missing
// address mark (abnormal end, ST1 0x01, AH 0xE0), and its dataOffset is the running data offset
// at that place.
constexpr SectorRecord EmptyRecord(std::uint32_t side, std::uint32_t dataOffset) {
  const auto st0 = static_cast<std::uint8_t>(0x40 | (side != 0 ? kSide1St0 : 0));
  return {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xE0, st0, 0x01, 0x00, 0, dataOffset, 0, 0};
}

// What an image loader fills: a drive holds these tables for the disk inserted in it.
// Each track keeps how far its slots and its special list were ever written since they were last
// emptied: everything from there on is known to be empty, so emptying and searching a table cost
// what it holds rather than its full size (a start-up empties the tables of every drive).
// Records are added through SetSector and SetSpecial only; a record below the mark may be changed
// in place.
struct FloppyTables {
  FloppyTables();

  char comment[256];            // the image's name, NUL-terminated
  std::uint32_t reformattable;  // 1 for MFD images: a track format rewrites the image
  std::uint32_t revision;       // MFD revision: 0 = R0, 1 = R1
  std::uint8_t writeProtect;
  SectorRecord sectors[kTrackCount][kSlotsPerTrack];
  SpecialReadRecord specials[kTrackCount][kSpecialsPerTrack];
  // Slots (special records) of each track that may hold something other than kClearedSlot
  // (kEndOfList): those before the mark.
  std::uint16_t usedSlots[kTrackCount];
  std::uint16_t usedSpecials[kTrackCount];

  void SetSector(int track, int slot, const SectorRecord& record) {
    sectors[track][slot] = record;
    if (slot >= usedSlots[track]) usedSlots[track] = static_cast<std::uint16_t>(slot + 1);
  }
  // Puts the same record into slots [from, to) of a track.
  void FillSlots(int track, int from, int to, const SectorRecord& record);
  void SetSpecial(int track, int entry, const SpecialReadRecord& record) {
    specials[track][entry] = record;
    if (entry >= usedSpecials[track]) usedSpecials[track] = static_cast<std::uint16_t>(entry + 1);
  }
  // Empties every sector slot and ends every special list of every track.
  void ClearTables();
  // Ends the special list of one track.
  void ClearSpecials(int track);
  // The sectors of a track: the slots before its first empty one.
  std::uint32_t SectorsOnTrack(int track) const;
};

}  // namespace disk
