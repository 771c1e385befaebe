#include "formats/image_builders.h"

#include <algorithm>
#include <cstring>

#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"

namespace fdd_testing {
namespace {

void PutText(Bytes& bytes, std::size_t at, const std::string& text, std::size_t field) {
  std::memcpy(bytes.data() + at, text.data(), std::min(text.size(), field));
}

void AppendFill(Bytes& bytes, std::size_t count, std::uint8_t value) {
  bytes.insert(bytes.end(), count, value);
}

}  // namespace

void PutU16(Bytes& bytes, std::size_t at, std::uint32_t value) {
  disk::StoreU16(bytes.data() + at, value);
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  disk::StoreU32(bytes.data() + at, value);
}

std::vector<TestSector> SectorRun(int cylinder, int side, int count, int n, int mfm) {
  std::vector<TestSector> run;
  for (int r = 1; r <= count; ++r) {
    TestSector s{static_cast<std::uint8_t>(cylinder), static_cast<std::uint8_t>(side),
                 static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(n)};
    s.mfm = static_cast<std::uint8_t>(mfm);
    run.push_back(s);
  }
  return run;
}

Bytes BuildMfdR0(const std::string& comment, std::uint8_t writeProtect, const TrackMap& tracks) {
  Bytes image(68112, 0);
  PutText(image, 0, "ZEBFDDIMAGE.R0", 16);
  PutText(image, 0x10, comment, 256);
  PutU32(image, 0x110, 68112);
  image[0x114] = writeProtect;
  image[0x115] = 2;
  for (int track = 0; track < 163; ++track) {
    auto found = tracks.find(track);
    for (int place = 0; place < 26; ++place) {
      std::uint8_t* record = image.data() + 0x120 + (track * 26 + place) * 16;
      if (found == tracks.end() || place >= static_cast<int>(found->second.sectors.size())) {
        record[0] = 0xFF;
        continue;
      }
      const TestSector& s = found->second.sectors[place];
      const std::uint8_t fields[] = {s.c,      s.h,   s.r,   s.n,   s.mfm,      s.deleted,
                                     s.status, s.st0, s.st1, s.st2, s.mediaType};
      std::memcpy(record, fields, sizeof fields);
      if (s.c != 0xFF) AppendFill(image, disk::SectorSize(s.n), Marker(track, s.r));
    }
  }
  return image;
}

Bytes BuildMfdR1(const std::string& comment, std::uint8_t writeProtect, const TrackMap& tracks,
                 bool blockForEveryTrack) {
  Bytes image(960, 0);
  PutText(image, 0, "ZEBFDDIMAGE.R1", 16);
  PutText(image, 0x10, comment, 256);
  image[0x114] = writeProtect;
  image[0x115] = 2;
  for (int track = 0; track < 164; ++track) {
    auto found = tracks.find(track);
    bool hasBlock = found != tracks.end();
    if (!hasBlock && !blockForEveryTrack) continue;
    std::size_t block = image.size();
    image.resize(block + 16, 0);
    if (!hasBlock) continue;
    const TestTrack& t = found->second;
    PutU32(image, 0x120 + 4 * track, static_cast<std::uint32_t>(block));
    PutU16(image, block, static_cast<std::uint32_t>(t.sectors.size()));
    PutU16(image, block + 2, static_cast<std::uint32_t>(t.specials.size()));
    for (const TestSector& s : t.sectors) {
      const std::uint8_t fields[] = {s.c,      s.h,   s.r,   s.n,   s.mfm,    s.deleted,
                                     s.status, s.st0, s.st1, s.st2, s.repeat, s.mediaType};
      image.insert(image.end(), std::begin(fields), std::end(fields));
      AppendFill(image, 4, 0);
    }
    for (const TestSpecial& s : t.specials) {
      std::size_t at = image.size();
      image.resize(at + 16, 0);
      const std::uint8_t fields[] = {s.command, s.c,   s.h,   s.r,   s.n,
                                     s.status,  s.st0, s.st1, s.st2, s.repeat};
      std::memcpy(image.data() + at, fields, sizeof fields);
      PutU32(image, at + 10, s.length);
    }
  }
  PutU32(image, 0x110, static_cast<std::uint32_t>(image.size()));
  for (const auto& [track, t] : tracks) {
    for (const TestSector& s : t.sectors) {
      if (s.c == 0xFF) continue;
      for (int copy = 0; copy <= s.repeat; ++copy)
        AppendFill(image, disk::SectorSize(s.n),
                   static_cast<std::uint8_t>(Marker(track, s.r) + copy));
    }
    int index = 0;
    for (const TestSpecial& s : t.specials) {
      if (s.command == 0xFF) continue;
      for (int copy = 0; copy <= s.repeat; ++copy)
        AppendFill(image, s.length, static_cast<std::uint8_t>(0xA0 + index * 8 + copy));
      ++index;
    }
  }
  return image;
}

Bytes BuildD88(const std::string& name, std::uint8_t writeProtect, const D88Tracks& tracks) {
  Bytes image(688, 0);
  PutText(image, 0, name, 17);
  image[0x1A] = writeProtect;
  for (const auto& [track, sectors] : tracks) {
    PutU32(image, 0x20 + 4 * track, static_cast<std::uint32_t>(image.size()));
    for (const D88Sector& s : sectors) {
      std::size_t at = image.size();
      image.resize(at + 16, 0);
      image[at] = s.c;
      image[at + 1] = s.h;
      image[at + 2] = s.r;
      image[at + 3] = s.n;
      PutU16(image, at + 4, static_cast<std::uint32_t>(sectors.size()));
      image[at + 6] = s.density;
      image[at + 7] = s.deleted;
      image[at + 8] = s.status;
      PutU16(image, at + 14, s.dataSize);
      AppendFill(image, s.dataSize, Marker(track, s.r));
    }
  }
  PutU32(image, 0x1C, static_cast<std::uint32_t>(image.size()));
  return image;
}

Bytes BuildHeaderless(std::uint32_t size, bool leadingBlock) {
  std::uint32_t start = leadingBlock ? 4096 : 0;
  Bytes image(start + size, 0xEE);
  for (std::uint32_t i = 0; i < size; ++i) image[start + i] = static_cast<std::uint8_t>(i / 128);
  return image;
}

std::unique_ptr<disk::FloppyTables> EmptyTables() {
  auto tables = std::make_unique<disk::FloppyTables>();
  tables->ClearTables();
  return tables;
}

}  // namespace fdd_testing
