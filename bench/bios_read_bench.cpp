// Every sector of a 1.2 MB floppy read through INT 1Bh, one call per track, against reading the
// same tracks with pread and making the guest-memory calls the host interface demands for them:
// one charge and 256 dword writes per 1024-byte sector.
#include <fcntl.h>
#include <unistd.h>

#include "bench_support.h"

namespace {

using bench::kCylinders, bench::kHeads, bench::kSectors, bench::kSectorSize;
constexpr std::uint16_t kBufferSegment = 0x2000;

void BM_FloppyByTrackThroughBios(benchmark::State& state) {
  bench::WriteFile("read.hdm", bench::RawImage());
  auto host = bench::HostWith("read.hdm");
  const int fd = open(bench::PathOf("read.hdm").c_str(), O_RDONLY);
  const auto writeDword =
      reinterpret_cast<MhwWriteDwordSeg>(host->table()[mhw::kSlotWriteDwordSeg]);
  const auto charge = reinterpret_cast<MhwCharge>(
      reinterpret_cast<const MhwWord*>(host->table()[mhw::kSlotChargeTable])[mhw::kChargeWord]);
  std::vector<std::uint8_t> track(kSectors * kSectorSize);
  bench::Versus versus;
  std::uint64_t failures = 0;
  for (auto _ : state) {
    versus.Now(bench::Versus::Nanoseconds([&] {
      for (int c = 0; c < kCylinders; ++c)
        for (int h = 0; h < kHeads; ++h) {
          // Read data, MFM, seek first; CL cylinder, CH N = 3, DL record 1, DH head.
          const auto call = mhwhost::BiosCall::Of(
              0x90, 0x56, kSectors * kSectorSize, static_cast<std::uint16_t>(c | 3 << 8),
              static_cast<std::uint16_t>(1 | h << 8), kBufferSegment);
          failures += host->DiskBios(call, 1).carry;
        }
    }));
    versus.Floor(bench::Versus::Nanoseconds([&] {
      for (int t = 0; t < kCylinders * kHeads; ++t) {
        const auto got = pread(fd, track.data(), track.size(), off_t{t} * track.size());
        benchmark::DoNotOptimize(got);
        for (int s = 0; s < kSectors; ++s) {
          charge(-1);
          const std::uint8_t* bytes = track.data() + s * kSectorSize;
          for (std::uint32_t at = 0; at < kSectorSize; at += 4)
            writeDword(kBufferSegment, s * kSectorSize + at,
                       bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                           static_cast<std::uint32_t>(bytes[at + 3]) << 24);
        }
      }
    }));
  }
  close(fd);
  versus.Report(state, 1, 1e6, "ms");
  if (failures != 0) state.SkipWithError("a floppy read failed");
}
BENCHMARK(BM_FloppyByTrackThroughBios)->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace
