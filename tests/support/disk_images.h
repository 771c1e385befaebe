// Disk images built byte by byte for the tests: MFD R0 and R1, D88 and headerless floppies, whose
// sector data tell which sector they belong to, and ZHD, MHD and HDI hard disks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

struct SectorSpec {
  std::uint8_t C, H, R, N;  // C = 0xFF: an empty place, which holds no data
  std::uint8_t mfm = 1;
  std::uint8_t repeatCount = 0;  // R1 only
  std::uint8_t status = 0;       // the BIOS result a read of it gives
  std::uint8_t mediaType = 0;    // as stored; R0 stores 0x90 for 0, R1 derives it
  std::uint8_t deleted = 0, st1 = 0;
};

// A special read answer (R1 only): a BIOS read of this ID with this command gets these bytes
// and this status instead of the sector's. Command 0xFF: an unused entry, without data.
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
  bool blockForEveryTrack =
      false;  // R1: empty blocks for tracks without sectors, as a format writes
};

// Byte i of the data of sector R on track `track`, copy `copy` (repeat copies differ).
std::uint8_t SectorByte(int track, std::uint8_t r, std::uint32_t i, std::uint32_t copy = 0);
Bytes SectorData(int track, std::uint8_t r, std::uint32_t size);
// The data of sectors `rs` of a track, one after the other; parts joined into one.
Bytes Sectors(int track, std::initializer_list<std::uint8_t> rs, std::uint32_t size);
Bytes Join(std::initializer_list<Bytes> parts);
// Byte i of copy `copy` of the data of special answer `index` on `track`.
std::uint8_t SpecialByte(int track, std::size_t index, std::uint32_t i, std::uint32_t copy = 0);
std::uint32_t SizeOf(std::uint8_t n);

// A uniform disk: `cylinders` x 2 sides, sectors R = 1..count in the slot order given (empty:
// ascending).
DiskSpec UniformDisk(int cylinders, int sectorsPerTrack, std::uint8_t n,
                     const std::vector<std::uint8_t>& slotOrder = {});

Bytes BuildR0(const DiskSpec& disk);
Bytes BuildR1(const DiskSpec& disk);
// A D88 image: the sectors as BuildR0 fills them, FM ones marked by their density byte.
Bytes BuildD88(const DiskSpec& disk);
// A headerless dump: the sector data only.
Bytes BuildHeaderless(const DiskSpec& disk);

// Where the data of sector R (of `size` bytes) of a track lie in an image built above.
std::uint32_t DataOffset(const Bytes& image, int track, std::uint8_t r, std::uint32_t size);

// Bytes that differ from one offset to the next, so that a misplaced transfer shows.
Bytes PatternBytes(std::size_t size, std::uint32_t seed = 0);
void PutLE(Bytes& bytes, std::size_t at, std::uint32_t value, int size);
// A ZHD image: a 256-byte header holding only the cylinder count, then `data`.
Bytes ZhdImage(std::uint16_t cylinders, const Bytes& data);
// An MHD image with its 512-byte header; `cylinderField` is the whole 32-bit field.
Bytes MhdImage(std::uint32_t cylinderField, std::uint8_t heads, std::uint8_t sectors,
               std::uint16_t sectorSize, const Bytes& data,
               const std::string& comment = "New HD Image");
// An HDI image: a 4096-byte header of which the first eight words count.
Bytes HdiImage(std::uint16_t cylinders, std::uint8_t heads, std::uint8_t sectors,
               std::uint16_t sectorSize, const Bytes& data);

}  // namespace testing_support
