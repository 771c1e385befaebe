#include "support/disk_images.h"

#include <algorithm>
#include <cstring>

namespace testing_support {
namespace {

constexpr std::uint32_t kR0HeaderSize = 68112;
constexpr std::uint32_t kR1Fixed = 960;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  PutLE(b, at, v, 4);
}

void PutCommon(Bytes& b, const char* signature, const DiskSpec& disk) {
  std::memcpy(b.data(), signature, std::strlen(signature) + 1);
  std::memcpy(b.data() + 0x10, disk.comment.c_str(), disk.comment.size());
  b[0x114] = disk.writeProtect;
  b[0x115] = 2;
}

void AppendData(Bytes& b, int track, const SectorSpec& s) {
  if (s.C == 0xFF) return;
  for (std::uint32_t copy = 0; copy <= s.repeatCount; ++copy)
    for (std::uint32_t i = 0; i < SizeOf(s.N); ++i) b.push_back(SectorByte(track, s.R, i, copy));
}

Bytes HeaderThen(std::size_t headerSize, const Bytes& data) {
  Bytes image(headerSize, 0);
  image.insert(image.end(), data.begin(), data.end());
  return image;
}

}  // namespace

std::uint8_t SectorByte(int track, std::uint8_t r, std::uint32_t i, std::uint32_t copy) {
  // The first two bytes name the sector; the rest vary with the position.
  if (i == 0) return static_cast<std::uint8_t>(track);
  if (i == 1) return r;
  return static_cast<std::uint8_t>(i * 7 + track * 3 + r * 11 + copy * 101);
}

std::uint8_t SpecialByte(int track, std::size_t index, std::uint32_t i, std::uint32_t copy) {
  return static_cast<std::uint8_t>(0xE0 ^ (i * 5 + index * 17 + copy * 59 + track));
}

Bytes SectorData(int track, std::uint8_t r, std::uint32_t size) {
  Bytes data(size);
  for (std::uint32_t i = 0; i < size; ++i) data[i] = SectorByte(track, r, i);
  return data;
}

Bytes Sectors(int track, std::initializer_list<std::uint8_t> rs, std::uint32_t size) {
  Bytes data;
  for (std::uint8_t r : rs) {
    const Bytes one = SectorData(track, r, size);
    data.insert(data.end(), one.begin(), one.end());
  }
  return data;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::uint32_t SizeOf(std::uint8_t n) {
  return n < 7 ? 128u << n : 8192u;
}

DiskSpec UniformDisk(int cylinders, int sectorsPerTrack, std::uint8_t n, const Bytes& slotOrder) {
  DiskSpec disk;
  for (int track = 0; track < cylinders * 2; ++track) {
    for (int slot = 0; slot < sectorsPerTrack; ++slot) {
      const std::uint8_t r =
          slotOrder.empty() ? static_cast<std::uint8_t>(slot + 1) : slotOrder[slot];
      disk.tracks[track].sectors.push_back(
          {static_cast<std::uint8_t>(track / 2), static_cast<std::uint8_t>(track % 2), r, n});
    }
  }
  return disk;
}

// The 16-byte record of a sector in an MFD header: R0 stores its media type at byte 10, R1 its
// repeat count there and its media type at byte 11.
void PutRecord(Bytes& b, std::size_t at, int track, const SectorSpec& s, bool r1) {
  const std::uint8_t side = track % 2 ? 4 : 0, type = s.mediaType ? s.mediaType : 0x90;
  const std::uint8_t byte10 = r1 ? s.repeatCount : type, byte11 = r1 ? s.mediaType : 0;
  const std::uint8_t bytes[] = {s.C,      s.H,  s.R,   s.N, s.mfm,  s.deleted,
                                s.status, side, s.st1, 0,   byte10, byte11};
  std::memcpy(&b[at], bytes, sizeof bytes);
}

Bytes BuildR0(const DiskSpec& disk) {
  Bytes b(kR0HeaderSize, 0);
  PutCommon(b, "ZEBFDDIMAGE.R0", disk);
  Put32(b, 0x110, kR0HeaderSize);
  for (int track = 0; track < 163; ++track) {
    const auto& sectors = disk.tracks[track].sectors;
    for (std::size_t place = 0; place < 26; ++place) {
      const std::size_t at = 0x120 + (track * 26 + place) * 16;
      if (place < sectors.size()) {
        PutRecord(b, at, track, sectors[place], false);
        continue;
      }
      const std::uint8_t empty[] = {
          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xE0, std::uint8_t(track % 2 ? 0x44 : 0x40), 1};
      std::memcpy(&b[at], empty, sizeof empty);
    }
  }
  for (int track = 0; track < 163; ++track)
    for (const SectorSpec& s : disk.tracks[track].sectors) AppendData(b, track, s);
  return b;
}

Bytes BuildR1(const DiskSpec& disk) {
  Bytes b(kR1Fixed, 0);
  PutCommon(b, "ZEBFDDIMAGE.R1", disk);
  for (int track = 0; track < 164; ++track) {
    const auto& sectors = disk.tracks[track].sectors;
    const auto& specials = disk.tracks[track].specials;
    if (sectors.empty() && specials.empty() && !disk.blockForEveryTrack) continue;
    if (!sectors.empty() || !specials.empty()) Put32(b, 0x120 + 4 * track, std::uint32_t(b.size()));
    std::size_t at = b.size();
    b.resize(at + 16 + 16 * (sectors.size() + specials.size()), 0);
    PutLE(b, at, std::uint32_t(sectors.size() | specials.size() << 16), 4);
    for (const SectorSpec& s : sectors) PutRecord(b, at += 16, track, s, true);
    for (const SpecialSpec& s : specials) {
      const std::uint8_t bytes[] = {s.command, s.C, s.H, s.R, s.N,
                                    s.status,  0,   0,   0,   s.repeatCount};
      std::memcpy(&b[at += 16], bytes, sizeof bytes);
      Put32(b, at + 10, s.dataLength);
    }
  }
  Put32(b, 0x110, static_cast<std::uint32_t>(b.size()));
  // Each track's sector data, then the data of its special answers.
  for (int track = 0; track < 164; ++track) {
    for (const SectorSpec& s : disk.tracks[track].sectors) AppendData(b, track, s);
    const auto& specials = disk.tracks[track].specials;
    for (std::size_t i = 0; i < specials.size(); ++i)
      for (std::uint32_t copy = 0; specials[i].command != 0xFF && copy <= specials[i].repeatCount;
           ++copy)
        for (std::uint32_t k = 0; k < specials[i].dataLength; ++k)
          b.push_back(SpecialByte(track, i, k, copy));
  }
  return b;
}

Bytes BuildD88(const DiskSpec& disk) {
  Bytes b(688, 0);
  std::memcpy(b.data(), disk.comment.c_str(), std::min<std::size_t>(disk.comment.size(), 17));
  b[0x1A] = disk.writeProtect != 0 ? 0x10 : 0;
  for (int track = 0; track < 164; ++track) {
    const auto& sectors = disk.tracks[track].sectors;
    if (sectors.empty()) continue;
    Put32(b, 0x20 + 4 * track, static_cast<std::uint32_t>(b.size()));
    for (const SectorSpec& s : sectors) {
      const std::size_t at = b.size();
      b.resize(at + 16, 0);
      const std::uint8_t id[] = {s.C, s.H, s.R, s.N};
      std::memcpy(&b[at], id, sizeof id);
      PutLE(b, at + 4, static_cast<std::uint32_t>(sectors.size()), 2);
      b[at + 6] = s.mfm != 0 ? 0x00 : 0x40;
      b[at + 7] = s.deleted;
      b[at + 8] = s.status;
      PutLE(b, at + 14, SizeOf(s.N), 2);
      AppendData(b, track, s);
    }
  }
  Put32(b, 0x1C, static_cast<std::uint32_t>(b.size()));
  return b;
}

Bytes BuildHeaderless(const DiskSpec& disk) {
  Bytes b;
  for (int track = 0; track < 164; ++track)
    for (const SectorSpec& s : disk.tracks[track].sectors) AppendData(b, track, s);
  return b;
}

std::uint32_t DataOffset(const Bytes& image, int track, std::uint8_t r, std::uint32_t size) {
  const Bytes data = SectorData(track, r, size);
  return static_cast<std::uint32_t>(
      std::search(image.begin(), image.end(), data.begin(), data.end()) - image.begin());
}

Bytes PatternBytes(std::size_t size, std::uint32_t seed) {
  Bytes bytes(size);
  std::uint32_t x = seed * 2654435761u + 12345u;
  for (auto& b : bytes) {
    x = x * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(x >> 16);
  }
  return bytes;
}

void PutLE(Bytes& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes ZhdImage(std::uint16_t cylinders, const Bytes& data) {
  Bytes image = HeaderThen(256, data);
  PutLE(image, 0, cylinders, 2);
  return image;
}

Bytes MhdImage(std::uint32_t cylinderField, std::uint8_t heads, std::uint8_t sectors,
               std::uint16_t sectorSize, const Bytes& data, const std::string& comment) {
  Bytes image = HeaderThen(512, data);
  std::memcpy(image.data(), "ZEBHDDIMAGE.R0", 15);
  std::memcpy(image.data() + 16, comment.c_str(), comment.size());
  PutLE(image, 272, 512, 4);
  PutLE(image, 276, cylinderField, 4);
  PutLE(image, 280, heads, 2);
  PutLE(image, 282, sectors, 2);
  PutLE(image, 284, sectorSize, 2);
  return image;
}

Bytes HdiImage(std::uint16_t cylinders, std::uint8_t heads, std::uint8_t sectors,
               std::uint16_t sectorSize, const Bytes& data) {
  Bytes image = HeaderThen(4096, data);
  PutLE(image, 8, 4096, 4);
  PutLE(image, 16, sectorSize, 4);
  PutLE(image, 20, sectors, 4);
  PutLE(image, 24, heads, 4);
  PutLE(image, 28, cylinders, 4);
  return image;
}

}  // namespace testing_support
