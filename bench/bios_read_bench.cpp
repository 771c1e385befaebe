// Reading a whole disk through INT 1Bh, one sector per call, with the reference host's flat
// guest memory, against reading the same file with pread in the same run. Counters: the host
// calls (guest-memory accesses and charges) per sector, and the sectors read per second.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "linked_module.h"
#include "reference_host.h"

namespace {

namespace fs = std::filesystem;

// 1.2 MB floppy, headerless: 77 cylinders, 2 heads, 8 sectors of 1024 bytes.
constexpr int kFloppyCylinders = 77, kFloppyHeads = 2, kFloppySectors = 8, kFloppySector = 1024;
constexpr std::size_t kFloppySize = 1261568;
// A hard disk of the same size: ZHD, 8 heads, 33 sectors of 256 bytes, 19 cylinders.
constexpr int kDiskCylinders = 19, kDiskHeads = 8, kDiskSectors = 33, kDiskSector = 256;
constexpr std::size_t kDiskData =
    std::size_t{kDiskCylinders} * kDiskHeads * kDiskSectors * kDiskSector;

struct Images {
  Images() {
    folder = (fs::temp_directory_path() / ("disk-bench-" + std::to_string(getpid()))).string();
    fs::create_directories(folder);
    std::vector<char> bytes(kFloppySize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 1024);
    std::ofstream(Path("fd.hdm"), std::ios::binary).write(bytes.data(), kFloppySize);
    std::vector<char> zhd(256 + kDiskData);
    zhd[0] = kDiskCylinders;
    for (std::size_t i = 256; i < zhd.size(); ++i) zhd[i] = static_cast<char>(i * 13);
    std::ofstream(Path("hd.zhd"), std::ios::binary).write(zhd.data(), zhd.size());
    std::ofstream(Path("host.ini"))
        << "[DISK]\nDISK00=" << Path("fd.hdm") << "\nDISK02=" << Path("hd.zhd") << "\nFDWAIT=0\n";
  }
  ~Images() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  std::string Path(const char* name) const { return (fs::path(folder) / name).string(); }
  std::string folder;
};

Images& TheImages() {
  static Images images;
  return images;
}

std::unique_ptr<mhwhost::ReferenceHost> BootedHost() {
  auto host = std::make_unique<mhwhost::ReferenceHost>();
  host->Attach(mhwhost::LinkedModule(), TheImages().Path("host.ini"));
  host->Boot();
  return host;
}

void Report(benchmark::State& state, mhwhost::ReferenceHost& host, std::uint64_t sectors,
            std::uint32_t callsBefore, std::uint32_t chargesBefore) {
  const double calls = (host.memoryCalls() - callsBefore) + (host.chargeCalls() - chargesBefore);
  state.counters["host_calls_per_sector"] = calls / static_cast<double>(sectors);
  state.counters["sectors_per_s"] =
      benchmark::Counter(static_cast<double>(sectors), benchmark::Counter::kIsRate);
}

void BM_FloppyThroughBios(benchmark::State& state) {
  auto host = BootedHost();
  std::uint64_t sectors = 0, failures = 0;
  const std::uint32_t calls = host->memoryCalls(), charges = host->chargeCalls();
  for (auto _ : state) {
    for (int c = 0; c < kFloppyCylinders; ++c)
      for (int h = 0; h < kFloppyHeads; ++h)
        for (int r = 1; r <= kFloppySectors; ++r) {
          // Read data, MFM, seek first; CL cylinder, CH N = 3, DL record, DH head.
          const auto call = mhwhost::BiosCall::Of(0x90, 0x56, kFloppySector,
                                                  static_cast<std::uint16_t>(c | 3 << 8),
                                                  static_cast<std::uint16_t>(r | h << 8));
          failures += host->DiskBios(call, 1).carry;
          ++sectors;
        }
  }
  Report(state, *host, sectors, calls, charges);
  if (failures != 0) state.SkipWithError("a floppy read failed");
}
BENCHMARK(BM_FloppyThroughBios)->Unit(benchmark::kMillisecond);

void BM_HardDiskThroughBios(benchmark::State& state) {
  auto host = BootedHost();
  std::uint64_t sectors = 0, failures = 0;
  const std::uint32_t calls = host->memoryCalls(), charges = host->chargeCalls();
  for (auto _ : state) {
    for (int c = 0; c < kDiskCylinders; ++c)
      for (int h = 0; h < kDiskHeads; ++h)
        for (int s = 0; s < kDiskSectors; ++s) {
          const auto call =
              mhwhost::BiosCall::Of(0x80, 0x06, kDiskSector, static_cast<std::uint16_t>(c),
                                    static_cast<std::uint16_t>(s | h << 8));
          failures += host->DiskBios(call, 1).carry;
          ++sectors;
        }
  }
  Report(state, *host, sectors, calls, charges);
  if (failures != 0) state.SkipWithError("a hard-disk read failed");
}
BENCHMARK(BM_HardDiskThroughBios)->Unit(benchmark::kMillisecond);

// The floor: the same bytes in the same sector-sized pieces, straight from the file.
void PreadWhole(benchmark::State& state, const char* name, std::size_t offset, std::size_t size,
                std::size_t sector) {
  const int fd = open(TheImages().Path(name).c_str(), O_RDONLY);
  std::vector<char> buffer(sector);
  std::uint64_t sectors = 0;
  for (auto _ : state) {
    for (std::size_t at = 0; at < size; at += sector) {
      benchmark::DoNotOptimize(pread(fd, buffer.data(), sector, static_cast<off_t>(offset + at)));
      ++sectors;
    }
    benchmark::ClobberMemory();
  }
  close(fd);
  state.counters["sectors_per_s"] =
      benchmark::Counter(static_cast<double>(sectors), benchmark::Counter::kIsRate);
}

void BM_FloppyWithPread(benchmark::State& state) {
  PreadWhole(state, "fd.hdm", 0, kFloppySize, kFloppySector);
}
BENCHMARK(BM_FloppyWithPread)->Unit(benchmark::kMillisecond);

void BM_HardDiskWithPread(benchmark::State& state) {
  PreadWhole(state, "hd.zhd", 256, kDiskData, kDiskSector);
}
BENCHMARK(BM_HardDiskWithPread)->Unit(benchmark::kMillisecond);

}  // namespace
