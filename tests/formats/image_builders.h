// Floppy images built in memory, byte by byte, in every format the drive reads. Each sector's
// data are filled with Marker(track, R) (+ the copy number for repeated copies), so a test can
// tell from the byte at a record's data offset whether the offset is right.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "formats/floppy_tables.h"

namespace fdd_testing {

using Bytes = std::vector<std::uint8_t>;

inline std::uint8_t Marker(int track, int r) {
  return static_cast<std::uint8_t>(track * 31 + r);
}

struct TestSector {
  std::uint8_t c, h, r, n;
  std::uint8_t mfm = 1;
  std::uint8_t deleted = 0;
  std::uint8_t status = 0;
  std::uint8_t st0 = 0, st1 = 0, st2 = 0;
  std::uint8_t mediaType = 0;
  std::uint8_t repeat = 0;  // extra copies (R1)
};

struct TestSpecial {
  std::uint8_t command, c, h, r, n;
  std::uint32_t length;
  std::uint8_t repeat = 0;
  std::uint8_t status = 0;
  std::uint8_t st0 = 0, st1 = 0, st2 = 0;
};

struct TestTrack {
  std::vector<TestSector> sectors;
  std::vector<TestSpecial> specials;
};

using TrackMap = std::map<int, TestTrack>;

// Sectors R = 1..count of size code n on the given cylinder and side.
std::vector<TestSector> SectorRun(int cylinder, int side, int count, int n, int mfm = 1);

Bytes BuildMfdR0(const std::string& comment, std::uint8_t writeProtect, const TrackMap& tracks);
// blockForEveryTrack: also write (empty) blocks for tracks without sectors, as the module's own
// writer does, leaving their offsets 0.
Bytes BuildMfdR1(const std::string& comment, std::uint8_t writeProtect, const TrackMap& tracks,
                 bool blockForEveryTrack = false);

struct D88Sector {
  std::uint8_t c, h, r, n;
  std::uint16_t dataSize;
  std::uint8_t density = 0x00;  // 0x00 = MFM
  std::uint8_t deleted = 0;
  std::uint8_t status = 0;
};
using D88Tracks = std::map<int, std::vector<D88Sector>>;
Bytes BuildD88(const std::string& name, std::uint8_t writeProtect, const D88Tracks& tracks);

// A headerless dump of `size` bytes (plus the leading block when asked), every byte its own
// 128-byte block number.
Bytes BuildHeaderless(std::uint32_t size, bool leadingBlock);

// Emptied tables on the heap (they are too big for a stack), ready for a loader.
std::unique_ptr<disk::FloppyTables> EmptyTables();

void PutU16(Bytes& bytes, std::size_t at, std::uint32_t value);
void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value);

}  // namespace fdd_testing
