// A full-disk format (154 tracks) of a 1.2 MB MFD image through the controller's FORMAT TRACK
// command, the guest's way through the ports, against a durable copy of the image per track:
// written to a new file, flushed and renamed over the old one, as every format of an MFD track
// must do at the least.
#include <cstring>

#include "bench_support.h"
#include "platform/file.h"

namespace {

using bench::kCylinders, bench::kHeads, bench::kSectors;
constexpr std::uint32_t kIds = 0x1000;  // where the guest keeps the IDs the DMA reads
constexpr std::uint32_t kChunk = 64 * 1024;

// Seek, then FORMAT TRACK with eight 1024-byte IDs, as a guest's format program does it.
bool FormatTrack(mhwhost::ReferenceHost& host, int cylinder, int head) {
  for (int byte : {0x0F, 0x00, cylinder}) host.Out(0x92, static_cast<std::uint8_t>(byte));
  host.Tick(3);
  host.Out(0x92, 0x08);  // sense interrupt status
  host.In(0x92);
  host.In(0x92);
  std::vector<std::uint8_t> ids;
  for (int i = 0; i < kSectors; ++i)
    ids.insert(ids.end(), {static_cast<std::uint8_t>(cylinder), static_cast<std::uint8_t>(head),
                           static_cast<std::uint8_t>(i + 1), 3});
  host.WriteBlock(kIds, ids);
  host.Out(0x19, 0);
  host.Out(0x09, kIds & 0xFF);
  host.Out(0x09, kIds >> 8);
  host.Out(0x23, 0);
  host.Out(0x0B, kSectors * 4 - 1);
  host.Out(0x0B, 0);
  host.Out(0x15, 0x02);
  for (int byte : {0x4D, head << 2, 3, kSectors, 0x74, 0xE5})
    host.Out(0x92, static_cast<std::uint8_t>(byte));
  host.Tick(3);
  const std::uint8_t st0 = host.In(0x92);
  for (int i = 0; i < 6; ++i) host.In(0x92);
  return (st0 & 0xC0) == 0;
}

void BM_FullDiskFormat(benchmark::State& state) {
  const bench::Bytes pristine = bench::MfdImage(0);
  bench::WriteFile("format.mfd", pristine);
  auto host = bench::HostWith("format.mfd");
  const std::string copy = bench::PathOf("copy.mfd");
  bench::WriteFile("copy.mfd", pristine);
  std::vector<std::uint8_t> chunk(kChunk);
  bench::Versus versus;
  bool failed = false;
  for (auto _ : state) {
    state.PauseTiming();
    bench::WriteFile("format.mfd", pristine);
    host->PowerOff();
    host->Boot();
    state.ResumeTiming();
    // Track by track, the format and its floor take turns, so that both meet the same load of
    // the machine's disk.
    double now = 0, floor = 0;
    for (int cylinder = 0; cylinder < kCylinders; ++cylinder)
      for (int head = 0; head < kHeads; ++head) {
        now += bench::Versus::Nanoseconds([&] { failed |= !FormatTrack(*host, cylinder, head); });
        floor += bench::Versus::Nanoseconds([&] {
          const platform::FileHandle in = platform::OpenFileRead(copy.c_str());
          platform::ReplaceFileContents(copy.c_str(), [&](platform::FileHandle out) {
            for (std::uint32_t n; (n = platform::ReadFile(in, chunk.data(), kChunk)) != 0;)
              if (platform::WriteFile(out, chunk.data(), n) != n) return false;
            return true;
          });
          platform::CloseFile(in);
        });
      }
    versus.Now(now);
    versus.Floor(floor);
  }
  versus.Report(state, 1, 1e6, "ms");
  if (failed) state.SkipWithError("a track format failed");
}
BENCHMARK(BM_FullDiskFormat)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
