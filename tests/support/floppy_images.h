// Floppy images built byte by byte for the controller and format tests: MFD R0 and R1 and
// headerless dumps, with sector data that tell which sector they belong to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct SectorSpec {
  std::uint8_t C, H, R, N;
  std::uint8_t mfm = 1;
  std::uint8_t repeatCount = 0;   // R1 only
  std::uint8_t status = 0;        // the BIOS result a read of it gives
  std::uint8_t mediaType = 0x90;  // R0 only (R1 derives it)
};

// A special read answer (R1 only): a BIOS read of this ID with this command gets these bytes
// and this status instead of the sector's.
struct SpecialSpec {
  std::uint8_t command, C, H, R, N;
  std::uint8_t status = 0;
  std::uint8_t repeatCount = 0;
  std::uint32_t dataLength = 0;
};

struct TrackSpec {
  std::vector<SectorSpec> sectors;
  std::vector<SpecialSpec> specials;
};

// 164 tracks, indexed by cylinder * 2 + side; tracks left empty hold no sector.
struct DiskSpec {
  std::vector<TrackSpec> tracks = std::vector<TrackSpec>(164);
  std::uint8_t writeProtect = 0;
  std::string comment = "TEST DISK";
};

// Byte i of the data of sector R on track `track`, copy `copy` (repeat copies differ).
std::uint8_t SectorByte(int track, std::uint8_t r, std::uint32_t i, std::uint32_t copy = 0);
std::vector<std::uint8_t> SectorData(int track, std::uint8_t r, std::uint32_t size);

// Byte i of copy `copy` of the data of special answer `index` on `track`.
std::uint8_t SpecialByte(int track, std::size_t index, std::uint32_t i, std::uint32_t copy = 0);

std::uint32_t SizeOf(std::uint8_t n);

// A uniform disk: `cylinders` x 2 sides, sectors R = 1..count in slot order given by
// `interleave` (empty: ascending).
DiskSpec UniformDisk(int cylinders, int sectorsPerTrack, std::uint8_t n,
                     const std::vector<std::uint8_t>& slotOrder = {});

std::vector<std::uint8_t> BuildR0(const DiskSpec& disk);
std::vector<std::uint8_t> BuildR1(const DiskSpec& disk);
// A D88 image: the sectors as BuildR0 fills them, FM ones marked by their density byte.
std::vector<std::uint8_t> BuildD88(const DiskSpec& disk);
// A headerless dump of a uniform disk, data only.
std::vector<std::uint8_t> BuildHeaderless(const DiskSpec& disk);

// Where the data of sector R of a track begin in an image built above.
std::uint32_t DataOffsetR0(const DiskSpec& disk, int track, std::uint8_t r);
std::uint32_t DataOffsetR1(const DiskSpec& disk, int track, std::uint8_t r);

}  // namespace testing_support
