// What every benchmark here shares: a scratch folder with the images it mounts, the module driven
// through the reference host, and the report of a measurement against its floor. Each benchmark
// times the module's work and its floor (what the host interface itself demands) in the same
// run, sample by sample, and reports the best of each and their ratio as counters.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "linked_module.h"
#include "reference_host.h"

namespace bench {

using Bytes = std::vector<std::uint8_t>;

// 1.2 MB floppy: 77 cylinders, 2 heads, 8 sectors of 1024 bytes.
inline constexpr int kCylinders = 77, kHeads = 2, kSectors = 8;
inline constexpr std::uint32_t kSectorSize = 1024;
inline constexpr std::uint32_t kFloppyData = kCylinders * kHeads * kSectors * kSectorSize;

// The scratch folder, removed when the program ends.
const std::string& Folder();
std::string PathOf(const std::string& name);
void WriteFile(const std::string& name, const Bytes& bytes);

// The 1.2 MB floppy in each format a drive takes; the data bytes are the same in all of them.
Bytes RawImage();
Bytes D88Image();
Bytes MfdImage(int revision);

// A host attached to the module with the given image in unit 0 (and nothing else mounted), booted.
std::unique_ptr<mhwhost::ReferenceHost> HostWith(const std::string& imageName);

// Best-of timing of the module's work against its floor, per operation.
class Versus {
 public:
  template <typename F>
  static double Nanoseconds(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
        .count();
  }
  void Now(double ns) { now_ = ns < now_ ? ns : now_; }
  void Floor(double ns) { floor_ = ns < floor_ ? ns : floor_; }
  // Counters in the unit given (1 = ns, 1e6 = ms), per operation of `operations`.
  void Report(benchmark::State& state, double operations, double unit, const char* unitName) const;

 private:
  double now_ = 1e300, floor_ = 1e300;
};

}  // namespace bench
