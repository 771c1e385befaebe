#include "bench_support.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "formats/floppy_loaders.h"
#include "formats/mfd.h"

namespace bench {
namespace fs = std::filesystem;

namespace {

struct Scratch {
  Scratch() {
    path = (fs::temp_directory_path() / ("disk-bench-" + std::to_string(getpid()))).string();
    fs::create_directories(path);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  std::string path;
};

void Put16(std::uint8_t* at, std::uint32_t v) {
  at[0] = v & 0xFF;
  at[1] = (v >> 8) & 0xFF;
}
void Put32(std::uint8_t* at, std::uint32_t v) {
  Put16(at, v & 0xFFFF);
  Put16(at + 2, v >> 16);
}

std::uint8_t DataByte(std::uint32_t at) {
  return static_cast<std::uint8_t>(at * 7 + at / 1024);
}

}  // namespace

const std::string& Folder() {
  static Scratch scratch;
  return scratch.path;
}

std::string PathOf(const std::string& name) {
  return (fs::path(Folder()) / name).string();
}

void WriteFile(const std::string& name, const Bytes& bytes) {
  std::ofstream(PathOf(name), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes RawImage() {
  Bytes bytes(kFloppyData);
  for (std::uint32_t i = 0; i < bytes.size(); ++i) bytes[i] = DataByte(i);
  return bytes;
}

Bytes D88Image() {
  constexpr std::uint32_t kHeader = 688, kHead = 16;
  constexpr std::uint32_t kTrack = kSectors * (kHead + kSectorSize);
  Bytes b(kHeader + kCylinders * kHeads * kTrack, 0);
  std::memcpy(b.data(), "BENCH", 5);
  b[0x1B] = 0x20;  // 2HD
  Put32(&b[0x1C], static_cast<std::uint32_t>(b.size()));
  std::uint32_t data = 0;
  for (int track = 0; track < kCylinders * kHeads; ++track) {
    const std::uint32_t start = kHeader + track * kTrack;
    Put32(&b[0x20 + 4 * track], start);
    for (int s = 0; s < kSectors; ++s) {
      std::uint8_t* head = &b[start + s * (kHead + kSectorSize)];
      head[0] = static_cast<std::uint8_t>(track / 2);
      head[1] = static_cast<std::uint8_t>(track % 2);
      head[2] = static_cast<std::uint8_t>(s + 1);
      head[3] = 3;
      Put16(head + 4, kSectors);
      Put16(head + 14, kSectorSize);
      for (std::uint32_t i = 0; i < kSectorSize; ++i) head[kHead + i] = DataByte(data++);
    }
  }
  return b;
}

// The headerless image's tables written as an MFD header by the module's own header builders.
Bytes MfdImage(int revision) {
  const Bytes raw = RawImage();
  auto tables = std::make_unique<disk::FloppyTables>();
  disk::MemoryImageReader reader(raw.data(), static_cast<std::uint32_t>(raw.size()));
  if (!disk::ParseImage(reader, *tables)) std::abort();
  std::strcpy(tables->comment, "BENCH");
  const std::uint32_t size =
      revision == 0 ? disk::mfd::kR0HeaderSize : disk::MfdR1HeaderSize(*tables);
  Bytes b(size);
  if (revision == 0)
    disk::BuildMfdR0Header(*tables, b.data());
  else
    disk::BuildMfdR1Header(*tables, b.data());
  b.insert(b.end(), raw.begin(), raw.end());
  return b;
}

std::unique_ptr<mhwhost::ReferenceHost> HostWith(const std::string& imageName) {
  const std::string ini = PathOf(imageName + ".ini");
  std::ofstream(ini) << "[DISK]\nDISK00=" << PathOf(imageName) << "\nFDWAIT=0\n";
  auto host = std::make_unique<mhwhost::ReferenceHost>();
  if (!host->Attach(mhwhost::LinkedModule(), ini)) std::abort();
  host->Boot();
  return host;
}

void Versus::Report(benchmark::State& state, double operations, double unit,
                    const char* unitName) const {
  const std::string suffix = std::string("_") + unitName;
  state.counters["now" + suffix] = now_ / operations / unit;
  state.counters["floor" + suffix] = floor_ / operations / unit;
  state.counters["ratio"] = now_ / floor_;
}

}  // namespace bench
