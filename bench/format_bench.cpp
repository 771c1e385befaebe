// A full-disk format (154 tracks) of a 1.2 MB MFD image through the controller's FORMAT TRACK
// command, against copying the same number of bytes with the platform's file calls. Every
// format rewrites the whole image once, so the copy is the floor the format works against.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"
#include "platform/file.h"

namespace {

constexpr int kCylinders = 77;
constexpr int kSectors = 8;
constexpr std::uint32_t kSectorSize = 1024;
constexpr std::uint32_t kR0Header = 68112;
constexpr std::uint32_t kIds = 0x1000;
constexpr std::uint32_t kChunk = 64 * 1024;

std::vector<std::uint8_t> gMemory(1u << 20);
std::uint8_t ReadByte(void*, std::uint32_t linear) {
  return gMemory[linear % gMemory.size()];
}
void WriteByte(void*, std::uint32_t linear, std::uint8_t value) {
  gMemory[linear % gMemory.size()] = value;
}

std::vector<std::uint8_t> BuildImage() {
  std::vector<std::uint8_t> b(kR0Header, 0);
  std::memcpy(b.data(), "ZEBFDDIMAGE.R0", 15);
  b[0x110] = kR0Header & 0xFF;
  b[0x111] = (kR0Header >> 8) & 0xFF;
  b[0x112] = kR0Header >> 16;
  b[0x115] = 2;
  for (int track = 0; track < 163; ++track) {
    for (int place = 0; place < 26; ++place) {
      std::uint8_t* rec = &b[0x120 + (track * 26 + place) * 16];
      if (track < kCylinders * 2 && place < kSectors) {
        const std::uint8_t bytes[] = {static_cast<std::uint8_t>(track / 2),
                                      static_cast<std::uint8_t>(track % 2),
                                      static_cast<std::uint8_t>(place + 1),
                                      3,
                                      1,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0x90};
        std::memcpy(rec, bytes, sizeof bytes);
      } else {
        std::memset(rec, 0xFF, 6);
      }
    }
  }
  b.resize(kR0Header + kCylinders * 2 * kSectors * kSectorSize, 0xE5);
  return b;
}

std::string ScratchFile(const char* prefix) {
  char path[260];
  if (!platform::CreateUniqueFile(nullptr, prefix, path)) std::abort();
  return path;
}

void WriteWhole(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const platform::FileHandle file = platform::CreateFileTruncate(path.c_str());
  platform::WriteFile(file, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  platform::CloseFile(file);
}

struct Machine {
  Machine() : drive(0) {
    dma.Connect({nullptr, &ReadByte, &WriteByte});
    dma.Reset();
    drive.Reset();
    disk::FloppyController::Wiring wiring;
    wiring.drives[0] = &drive;
    wiring.dma = &dma;
    fdc.Connect(wiring);
    fdc.Reset();
  }
  void Out(std::uint16_t port, std::uint8_t value) {
    if (port >= 0x90)
      fdc.WritePort(port, value);
    else
      dma.WritePort(port, value);
  }
  // Seek, then FORMAT TRACK with eight 1024-byte IDs, as a guest's format program does it.
  void FormatTrack(int cylinder, int head) {
    for (std::uint8_t byte : {0x0F, 0x00, static_cast<int>(cylinder)}) Out(0x92, byte);
    for (int t = 0; t < 3; ++t) fdc.Tick();
    Out(0x92, 0x08);
    fdc.ReadPort(0x92);
    fdc.ReadPort(0x92);
    for (int i = 0; i < kSectors; ++i) {
      std::uint8_t* id = &gMemory[kIds + 4 * i];
      id[0] = static_cast<std::uint8_t>(cylinder);
      id[1] = static_cast<std::uint8_t>(head);
      id[2] = static_cast<std::uint8_t>(i + 1);
      id[3] = 3;
    }
    Out(0x19, 0);
    Out(0x09, kIds & 0xFF);
    Out(0x09, kIds >> 8);
    Out(0x23, 0);
    Out(0x0B, kSectors * 4 - 1);
    Out(0x0B, 0);
    Out(0x15, 0x02);
    for (int byte : {0x4D, head << 2, 3, kSectors, 0x74, 0xE5})
      Out(0x92, static_cast<std::uint8_t>(byte));
    for (int t = 0; t < 3; ++t) fdc.Tick();
    for (int i = 0; i < 7; ++i) fdc.ReadPort(0x92);
  }

  disk::DmaController dma;
  disk::FloppyController fdc;
  disk::FloppyDrive drive;
};

void BM_FullDiskFormat(benchmark::State& state) {
  const std::vector<std::uint8_t> pristine = BuildImage();
  const std::string path = ScratchFile("fmt");
  auto* machine = new Machine();
  std::int64_t written = 0;
  for (auto _ : state) {
    state.PauseTiming();
    WriteWhole(path, pristine);
    if (machine->drive.LoadImage(path.c_str()) == 0) state.SkipWithError("image did not load");
    state.ResumeTiming();
    for (int cylinder = 0; cylinder < kCylinders; ++cylinder)
      for (int head = 0; head < 2; ++head) machine->FormatTrack(cylinder, head);
    if (machine->fdc.st0 & 0xC0) state.SkipWithError("format failed");
    written += static_cast<std::int64_t>(pristine.size()) * kCylinders * 2;
  }
  machine->drive.Eject();
  delete machine;
  platform::RemoveFile(path.c_str());
  state.SetBytesProcessed(written);
  state.counters["bytes_written"] =
      benchmark::Counter(static_cast<double>(written), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FullDiskFormat)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bytes moved the plain way: 154 times, the whole image copied into a new file,
// flushed, and put in place with one rename.
void BM_CopySameBytes(benchmark::State& state) {
  const std::vector<std::uint8_t> pristine = BuildImage();
  const std::string source = ScratchFile("src");
  WriteWhole(source, pristine);
  std::vector<std::uint8_t> chunk(kChunk);
  std::int64_t written = 0;
  for (auto _ : state) {
    for (int track = 0; track < kCylinders * 2; ++track) {
      const platform::FileHandle in = platform::OpenFileRead(source.c_str());
      platform::ReplaceFileContents(source.c_str(), [&](platform::FileHandle out) {
        for (std::uint32_t done = 0; done < pristine.size();) {
          const std::uint32_t n = platform::ReadFile(in, chunk.data(), kChunk);
          if (n == 0) break;
          platform::WriteFile(out, chunk.data(), n);
          done += n;
        }
        platform::CloseFile(in);
        return true;
      });
      written += static_cast<std::int64_t>(pristine.size());
    }
  }
  platform::RemoveFile(source.c_str());
  state.SetBytesProcessed(written);
  state.counters["bytes_written"] =
      benchmark::Counter(static_cast<double>(written), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CopySameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
