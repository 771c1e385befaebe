// Start-up of a machine with a 1.2 MB floppy image mounted in unit 0 (power off, reset, BIOS
// start-up), against reading the image file once, for each image format.
#include <fcntl.h>
#include <unistd.h>

#include "bench_support.h"

namespace {

void StartupVersusRead(benchmark::State& state, const char* name, const bench::Bytes& image) {
  bench::WriteFile(name, image);
  auto host = bench::HostWith(name);
  const std::string path = bench::PathOf(name);
  std::vector<std::uint8_t> buffer(image.size());
  bench::Versus versus;
  for (auto _ : state) {
    versus.Now(bench::Versus::Nanoseconds([&] {
      host->PowerOff();
      host->Boot();
    }));
    versus.Floor(bench::Versus::Nanoseconds([&] {
      const int fd = open(path.c_str(), O_RDONLY);
      benchmark::DoNotOptimize(read(fd, buffer.data(), buffer.size()));
      close(fd);
    }));
  }
  // The image must be in the drive: a start-up that mounted nothing measures nothing.
  const auto probe = host->DiskBios(mhwhost::BiosCall::Of(0x90, 0x4A, 0, 0, 0), 1);  // read ID
  if (probe.carry) state.SkipWithError("the image was not mounted");
  versus.Report(state, 1, 1e6, "ms");
}

void BM_StartupD88(benchmark::State& state) {
  StartupVersusRead(state, "boot.d88", bench::D88Image());
}
void BM_StartupMfdR0(benchmark::State& state) {
  StartupVersusRead(state, "boot-r0.mfd", bench::MfdImage(0));
}
void BM_StartupMfdR1(benchmark::State& state) {
  StartupVersusRead(state, "boot-r1.mfd", bench::MfdImage(1));
}
void BM_StartupRaw(benchmark::State& state) {
  StartupVersusRead(state, "boot.hdm", bench::RawImage());
}
BENCHMARK(BM_StartupD88)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupMfdR0)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupMfdR1)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupRaw)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
