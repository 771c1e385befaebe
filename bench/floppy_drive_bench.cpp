// The floppy drive's table lookups (run for every sector a guest reads) and the loading of
// images (run at every mount and after every track format of an MFD image).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "formats/floppy_loaders.h"
#include "media/floppy_drive.h"

namespace {

std::unique_ptr<disk::FloppyDrive> DriveWith(std::uint32_t imageSize) {
  auto drive = std::make_unique<disk::FloppyDrive>(2);
  drive->Reset();
  std::vector<std::uint8_t> image(imageSize, 0);
  disk::MemoryImageReader reader(image.data(), imageSize);
  disk::ParseImage(reader, *drive);
  return drive;
}

// Walks a 1.44 MB track of 18 sectors in record order, as a multi-sector read does.
void BM_NextSectorIdAcrossATrack(benchmark::State& state) {
  auto drive = DriveWith(1474560);
  for (auto _ : state) {
    drive->ResetRotation();
    for (int i = 0; i < 18; ++i) benchmark::DoNotOptimize(drive->NextSectorId());
  }
  state.SetItemsProcessed(state.iterations() * 18);
}
BENCHMARK(BM_NextSectorIdAcrossATrack);

// Locating the last sector of a 26-sector track and its data, as a BIOS read does.
void BM_FindSectorAndData(benchmark::State& state) {
  auto drive = DriveWith(1025024);
  drive->cylinder = 40;
  for (auto _ : state) {
    benchmark::DoNotOptimize(drive->FindSector(6, 40, 0, 26, 1));
    benchmark::DoNotOptimize(drive->FindSectorData(40, 0, 26, 1));
  }
}
BENCHMARK(BM_FindSectorAndData);

// Mounting a headerless 1.44 MB dump: emptying the tables and filling all of them.
void BM_LoadHeaderlessImage(benchmark::State& state) {
  std::vector<std::uint8_t> image(1474560, 0);
  auto drive = std::make_unique<disk::FloppyDrive>(2);
  for (auto _ : state) {
    drive->ClearTables();
    disk::MemoryImageReader reader(image.data(), static_cast<std::uint32_t>(image.size()));
    benchmark::DoNotOptimize(disk::ParseImage(reader, *drive));
  }
}
BENCHMARK(BM_LoadHeaderlessImage)->Unit(benchmark::kMicrosecond);

}  // namespace
