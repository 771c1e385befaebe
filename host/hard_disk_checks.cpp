// The hard-disk checks: every track that lies in the image file read by cylinder, head and
// sector and compared with the file; the last such track written, read back and formatted.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "disk_checks.h"
#include "guest_calls.h"

namespace mhwhost {
namespace {

constexpr std::uint8_t kSense = 0x84, kWrite = 0x05, kRead = 0x06, kFormat = 0x0D;
constexpr std::uint32_t kMaxTransfer = 0xFFFF;  // BX

struct Geometry {
  std::uint32_t cylinders = 0, heads = 0, sectors = 0, sectorSize = 0;
  std::uint32_t TrackBytes() const { return sectors * sectorSize; }
};

std::string Text(const char* format, unsigned long long a = 0, unsigned long long b = 0,
                 unsigned long long c = 0, unsigned long long d = 0) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b, c, d);
  return text;
}

// The geometry by extended sense; empty `problem` when it is one to read.
Geometry Sense(ReferenceHost& host, int unit, std::string& problem) {
  const auto sense = Call(host, static_cast<std::uint8_t>(0x80 | unit), kSense, 0, 0, 0);
  const std::uint32_t dx = sense.DX();
  const Geometry g{sense.CX() + 1u, dx >> 8, dx & 0xFF, sense.BX()};
  if (sense.carry)
    problem = Text("no disk (sense AH %02llX)", sense.AH());
  else if (g.TrackBytes() == 0)
    problem = Text("the sense gives %llu heads, %llu sectors of %llu bytes: nothing to read",
                   g.heads, g.sectors, g.sectorSize);
  return g;
}

// Reads (AH 06) or writes (AH 05) track (c, h) in as few calls as BX allows. A write takes its
// bytes from `data`, a read replaces them. False when a call carries; `status` gets its AH.
bool TrackTransfer(ReferenceHost& host, int unit, const Geometry& g, std::uint32_t c,
                   std::uint32_t h, std::uint8_t command, std::vector<std::uint8_t>& data,
                   std::uint8_t& status) {
  const std::uint32_t perCall = std::max(1u, std::min(g.sectors, kMaxTransfer / g.sectorSize));
  std::vector<std::uint8_t> read;
  bool ok = true;
  for (std::uint32_t s = 0; s < g.sectors; s += perCall) {
    const std::uint32_t bytes = std::min(perCall, g.sectors - s) * g.sectorSize;
    if (command == kWrite)
      host.WriteBlock(kBuffer,
                      {data.begin() + s * g.sectorSize, data.begin() + s * g.sectorSize + bytes});
    const auto call = Call(host, static_cast<std::uint8_t>(0x80 | unit), command,
                           static_cast<std::uint16_t>(bytes), static_cast<std::uint16_t>(c),
                           static_cast<std::uint16_t>(h << 8 | s));
    if (call.carry && ok) status = call.AH();
    ok &= !call.carry;
    if (command == kRead) {
      auto part = host.ReadBlock(kBuffer, bytes);
      read.insert(read.end(), part.begin(), part.end());
    }
  }
  if (command == kRead) data = std::move(read);
  return ok;
}

std::uint64_t FileSize(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : size;
}

// Whole tracks from the data offset to the end of the file.
std::uint64_t TracksInFile(const std::string& path, const HardDiskShape& shape, const Geometry& g,
                           bool partLast) {
  const std::uint64_t size = FileSize(path);
  const std::uint64_t data = size > shape.dataOffset ? size - shape.dataOffset : 0;
  const std::uint64_t tracks = data / g.TrackBytes() + (partLast && data % g.TrackBytes() != 0);
  return std::min<std::uint64_t>(tracks, std::uint64_t{g.cylinders} * g.heads);
}

}  // namespace

std::vector<std::uint8_t> FileRange(const std::string& path, std::uint64_t offset,
                                    std::uint64_t size) {
  std::ifstream in(path, std::ios::binary);
  const std::uint64_t end = FileSize(path);
  if (!in || offset >= end) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(size, end - offset)));
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

CheckResult ReadWholeHardDisk(ReferenceHost& host, int unit, const std::string& path,
                              const HardDiskShape& shape) {
  CheckResult result;
  const Geometry g = Sense(host, unit, result.summary);
  if (!result.summary.empty()) return result;
  const std::uint64_t tracks = TracksInFile(path, shape, g, true);
  std::ifstream file(path, std::ios::binary);
  file.seekg(static_cast<std::streamoff>(shape.dataOffset));
  std::uint64_t compared = 0, differing = 0, failed = 0;
  std::vector<std::uint8_t> expected(g.TrackBytes());
  for (std::uint64_t t = 0; t < tracks; ++t) {
    std::vector<std::uint8_t> data;
    std::uint8_t status = 0;
    failed += !TrackTransfer(host, unit, g, static_cast<std::uint32_t>(t / g.heads),
                             static_cast<std::uint32_t>(t % g.heads), kRead, data, status);
    file.read(reinterpret_cast<char*>(expected.data()), g.TrackBytes());
    // Past the end of the file the disk holds nothing to compare with.
    const auto inFile = static_cast<std::size_t>(file.gcount());
    differing += !std::equal(expected.begin(), expected.begin() + inFile, data.begin());
    compared += inFile;
  }
  const std::uint64_t total = std::uint64_t{g.cylinders} * g.heads;
  result.ok = differing == 0 && failed == 0 && tracks > 0;
  result.summary =
      std::string(shape.format) +
      Text(", %llu cylinders, %llu heads, %llu sectors of %llu bytes", g.cylinders, g.heads,
           g.sectors, g.sectorSize) +
      Text("; %llu bytes read track by track", compared) +
      (tracks < total
           ? Text(" (the file ends before track %llu of %llu: the rest not read)", tracks, total)
           : "") +
      (failed > 0 ? Text(", %llu track reads FAILED", failed) : "") +
      (differing == 0 && tracks > 0 ? ": the same as the image file"
                                    : Text(": %llu tracks NOT as in the image file", differing));
  return result;
}

CheckResult WriteAndFormatHardDiskTrack(ReferenceHost& host, int unit, const std::string& path,
                                        const HardDiskShape& shape, bool readOnly) {
  CheckResult result;
  const Geometry g = Sense(host, unit, result.summary);
  if (!result.summary.empty()) return result;
  const std::uint64_t tracks = TracksInFile(path, shape, g, false);
  if (tracks == 0) {
    result.summary = "no whole track lies in the file";
    return result;
  }
  const auto c = static_cast<std::uint32_t>((tracks - 1) / g.heads);
  const auto h = static_cast<std::uint32_t>((tracks - 1) % g.heads);
  const std::uint64_t at = shape.dataOffset + (tracks - 1) * g.TrackBytes();
  const std::string where = Text("last track in the file (cylinder %llu, head %llu): ", c, h);
  const auto before = FileRange(path, at, g.TrackBytes());
  std::vector<std::uint8_t> pattern(g.TrackBytes());
  for (std::size_t i = 0; i < pattern.size(); ++i)
    pattern[i] = static_cast<std::uint8_t>(i * 3 + 1);
  std::uint8_t status = 0;
  auto data = pattern;
  const bool written = TrackTransfer(host, unit, g, c, h, kWrite, data, status);
  if (readOnly) {
    const bool untouched = FileRange(path, at, g.TrackBytes()) == before;
    result.ok = !written && untouched;
    result.summary =
        where + (written ? std::string("write TAKEN") : Text("write refused (AH %02llX)", status)) +
        " on a read-only image file" +
        (untouched ? "; the file is untouched" : "; the file CHANGED");
    return result;
  }
  TrackTransfer(host, unit, g, c, h, kRead, data, status);
  const bool same = data == pattern;
  const auto format = Call(host, static_cast<std::uint8_t>(0x80 | unit), kFormat, 0,
                           static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(h << 8));
  TrackTransfer(host, unit, g, c, h, kRead, data, status);
  const bool filled = data == std::vector<std::uint8_t>(g.TrackBytes(), 0xE5);
  result.ok = written && same && !format.carry && filled;
  result.summary = where + Text("write AH %02llX ", written ? 0 : status) +
                   (same ? "(read back the same)" : "(read back DIFFERENT)") +
                   Text(", format AH %02llX ", format.AH()) +
                   (filled ? "(filled with E5)" : "(NOT filled)");
  return result;
}

}  // namespace mhwhost
