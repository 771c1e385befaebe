#include "support/floppy_images.h"

#include <algorithm>
#include <cstring>

namespace testing_support {
namespace {

constexpr std::uint32_t kR0HeaderSize = 68112;
constexpr std::uint32_t kR1Fixed = 960;

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutCommon(std::vector<std::uint8_t>& b, const char* signature, const DiskSpec& disk) {
  std::memcpy(b.data(), signature, std::strlen(signature) + 1);
  std::memcpy(b.data() + 0x10, disk.comment.c_str(), disk.comment.size());
  b[0x114] = disk.writeProtect;
  b[0x115] = 2;
}

void AppendData(std::vector<std::uint8_t>& b, int track, const SectorSpec& s) {
  for (std::uint32_t copy = 0; copy <= s.repeatCount; ++copy)
    for (std::uint32_t i = 0; i < SizeOf(s.N); ++i) b.push_back(SectorByte(track, s.R, i, copy));
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

std::vector<std::uint8_t> SectorData(int track, std::uint8_t r, std::uint32_t size) {
  std::vector<std::uint8_t> data(size);
  for (std::uint32_t i = 0; i < size; ++i) data[i] = SectorByte(track, r, i);
  return data;
}

std::uint32_t SizeOf(std::uint8_t n) {
  return n < 7 ? 128u << n : 8192u;
}

DiskSpec UniformDisk(int cylinders, int sectorsPerTrack, std::uint8_t n,
                     const std::vector<std::uint8_t>& slotOrder) {
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

std::vector<std::uint8_t> BuildR0(const DiskSpec& disk) {
  std::vector<std::uint8_t> b(kR0HeaderSize, 0);
  PutCommon(b, "ZEBFDDIMAGE.R0", disk);
  Put32(b, 0x110, kR0HeaderSize);
  for (int track = 0; track < 163; ++track) {
    for (int place = 0; place < 26; ++place) {
      std::uint8_t* rec = &b[0x120 + (track * 26 + place) * 16];
      const auto& sectors = disk.tracks[track].sectors;
      if (place < static_cast<int>(sectors.size())) {
        const SectorSpec& s = sectors[place];
        const std::uint8_t bytes[] = {
            s.C,   s.H, s.R,        s.N,
            s.mfm, 0,   s.status,   static_cast<std::uint8_t>(track % 2 ? 4 : 0),
            0,     0,   s.mediaType};
        std::memcpy(rec, bytes, sizeof bytes);
      } else {
        const std::uint8_t bytes[] = {
            0xFF, 0xFF, 0xFF, 0xFF,
            0xFF, 0xFF, 0xE0, static_cast<std::uint8_t>(track % 2 ? 0x44 : 0x40),
            1};
        std::memcpy(rec, bytes, sizeof bytes);
      }
    }
  }
  for (int track = 0; track < 163; ++track)
    for (const SectorSpec& s : disk.tracks[track].sectors) AppendData(b, track, s);
  return b;
}

std::vector<std::uint8_t> BuildR1(const DiskSpec& disk) {
  std::vector<std::uint8_t> b(kR1Fixed, 0);
  PutCommon(b, "ZEBFDDIMAGE.R1", disk);
  for (int track = 0; track < 164; ++track) {
    const auto& sectors = disk.tracks[track].sectors;
    const auto& specials = disk.tracks[track].specials;
    if (sectors.empty() && specials.empty()) continue;
    Put32(b, 0x120 + 4 * track, static_cast<std::uint32_t>(b.size()));
    std::vector<std::uint8_t> block(16 + 16 * (sectors.size() + specials.size()), 0);
    block[0] = static_cast<std::uint8_t>(sectors.size());
    block[1] = static_cast<std::uint8_t>(sectors.size() >> 8);
    block[2] = static_cast<std::uint8_t>(specials.size());
    block[3] = static_cast<std::uint8_t>(specials.size() >> 8);
    for (std::size_t i = 0; i < sectors.size(); ++i) {
      const SectorSpec& s = sectors[i];
      const std::uint8_t bytes[] = {
          s.C,   s.H, s.R,           s.N,
          s.mfm, 0,   s.status,      static_cast<std::uint8_t>(track % 2 ? 4 : 0),
          0,     0,   s.repeatCount, 0};
      std::memcpy(&block[16 + 16 * i], bytes, sizeof bytes);
    }
    for (std::size_t i = 0; i < specials.size(); ++i) {
      const SpecialSpec& s = specials[i];
      const std::uint8_t bytes[] = {s.command, s.C, s.H, s.R, s.N,
                                    s.status,  0,   0,   0,   s.repeatCount};
      std::uint8_t* record = &block[16 + 16 * (sectors.size() + i)];
      std::memcpy(record, bytes, sizeof bytes);
      for (int k = 0; k < 4; ++k)
        record[10 + k] = static_cast<std::uint8_t>(s.dataLength >> (8 * k));
    }
    b.insert(b.end(), block.begin(), block.end());
  }
  Put32(b, 0x110, static_cast<std::uint32_t>(b.size()));
  // Each track's sector data, then the data of its special answers.
  for (int track = 0; track < 164; ++track) {
    for (const SectorSpec& s : disk.tracks[track].sectors) AppendData(b, track, s);
    const auto& specials = disk.tracks[track].specials;
    for (std::size_t i = 0; i < specials.size(); ++i)
      for (std::uint32_t copy = 0; copy <= specials[i].repeatCount; ++copy)
        for (std::uint32_t k = 0; k < specials[i].dataLength; ++k)
          b.push_back(SpecialByte(track, i, k, copy));
  }
  return b;
}

std::vector<std::uint8_t> BuildD88(const DiskSpec& disk) {
  std::vector<std::uint8_t> b(688, 0);
  std::memcpy(b.data(), disk.comment.c_str(), std::min<std::size_t>(disk.comment.size(), 16));
  b[0x1A] = disk.writeProtect != 0 ? 0x10 : 0;
  for (int track = 0; track < 164; ++track) {
    const auto& sectors = disk.tracks[track].sectors;
    if (sectors.empty()) continue;
    Put32(b, 0x20 + 4 * track, static_cast<std::uint32_t>(b.size()));
    for (const SectorSpec& s : sectors) {
      const auto count = static_cast<std::uint16_t>(sectors.size());
      const auto size = static_cast<std::uint16_t>(SizeOf(s.N));
      const std::uint8_t head[16] = {s.C,
                                     s.H,
                                     s.R,
                                     s.N,
                                     static_cast<std::uint8_t>(count),
                                     static_cast<std::uint8_t>(count >> 8),
                                     static_cast<std::uint8_t>(s.mfm != 0 ? 0x00 : 0x40),
                                     0,
                                     s.status,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     static_cast<std::uint8_t>(size),
                                     static_cast<std::uint8_t>(size >> 8)};
      b.insert(b.end(), head, head + sizeof head);
      AppendData(b, track, s);
    }
  }
  Put32(b, 0x1C, static_cast<std::uint32_t>(b.size()));
  return b;
}

std::vector<std::uint8_t> BuildHeaderless(const DiskSpec& disk) {
  std::vector<std::uint8_t> b;
  for (int track = 0; track < 164; ++track)
    for (const SectorSpec& s : disk.tracks[track].sectors) AppendData(b, track, s);
  return b;
}

namespace {
std::uint32_t OffsetIn(const DiskSpec& disk, std::uint32_t start, int track, std::uint8_t r) {
  std::uint32_t offset = start;
  for (int t = 0; t <= track; ++t) {
    for (const SectorSpec& s : disk.tracks[t].sectors) {
      if (t == track && s.R == r) return offset;
      offset += (s.repeatCount + 1u) * SizeOf(s.N);
    }
  }
  return 0;
}
}  // namespace

std::uint32_t DataOffsetR0(const DiskSpec& disk, int track, std::uint8_t r) {
  return OffsetIn(disk, kR0HeaderSize, track, r);
}

std::uint32_t DataOffsetR1(const DiskSpec& disk, int track, std::uint8_t r) {
  std::uint32_t header = kR1Fixed;
  for (const TrackSpec& t : disk.tracks)
    if (!t.sectors.empty()) header += 16 + 16 * static_cast<std::uint32_t>(t.sectors.size());
  return OffsetIn(disk, header, track, r);
}

}  // namespace testing_support
