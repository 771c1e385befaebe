#include "disk_checks.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace mhwhost {
namespace {

constexpr std::uint16_t kBufferSegment = 0x2000;
constexpr std::uint32_t kBuffer = 0x20000;

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Format(const char* format, long a = 0, long b = 0, long c = 0, long d = 0) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b, c, d);
  return text;
}

BiosResult Call(ReferenceHost& host, std::uint8_t al, std::uint8_t ah, std::uint16_t bx,
                std::uint16_t cx, std::uint16_t dx) {
  return host.DiskBios(BiosCall::Of(al, ah, bx, cx, dx, kBufferSegment));
}

// True when `disk`, the sectors in order, is the file itself or lies in it in order (images
// with headers keep their sectors in disk order between other fields).
bool FoundInOrder(const std::vector<std::uint8_t>& file,
                  const std::vector<std::vector<std::uint8_t>>& sectors) {
  auto from = file.begin();
  for (const auto& sector : sectors) {
    from = std::search(from, file.end(), sector.begin(), sector.end());
    if (from == file.end()) return false;
    from += static_cast<std::ptrdiff_t>(sector.size());
  }
  return true;
}

// The size code of a track's sectors, by READ ID (MFM, seek first); 0xFF when there is none.
std::uint8_t TrackSizeCode(ReferenceHost& host, std::uint8_t al, int cylinder, int head) {
  auto id = Call(host, al, 0x5A, 0, static_cast<std::uint16_t>(cylinder),
                 static_cast<std::uint16_t>(head << 8));
  return id.carry ? 0xFF : static_cast<std::uint8_t>(id.CX() >> 8);
}

}  // namespace

CheckResult ReadWholeFloppy(ReferenceHost& host, int unit, const std::string& path) {
  const std::uint8_t al = static_cast<std::uint8_t>(0x90 | unit);
  std::vector<std::vector<std::uint8_t>> sectors;
  std::size_t bytes = 0;
  int tracks = 0;
  for (int cylinder = 0; cylinder < 82; ++cylinder) {
    for (int head = 0; head < 2; ++head) {
      const std::uint8_t n = TrackSizeCode(host, al, cylinder, head);
      if (n == 0xFF) continue;
      const std::uint16_t size = static_cast<std::uint16_t>(128u << std::min<int>(n, 6));
      int found = 0;
      for (int r = 1; r <= 255; ++r) {
        auto read = Call(host, al, 0x56, size, static_cast<std::uint16_t>(cylinder | n << 8),
                         static_cast<std::uint16_t>(r | head << 8));
        if (read.carry) break;
        sectors.push_back(host.ReadBlock(kBuffer, size));
        bytes += size;
        ++found;
      }
      if (found > 0) ++tracks;
    }
  }
  CheckResult result;
  const auto file = FileBytes(path);
  std::vector<std::uint8_t> whole;
  for (const auto& s : sectors) whole.insert(whole.end(), s.begin(), s.end());
  result.ok = !sectors.empty() && (whole == file || FoundInOrder(file, sectors));
  result.summary =
      Format("%ld sectors on %ld tracks, %ld bytes: ", static_cast<long>(sectors.size()), tracks,
             static_cast<long>(bytes)) +
      (result.ok ? "the same as the image file" : "NOT as in the image file");
  return result;
}

CheckResult ReadWholeHardDisk(ReferenceHost& host, int unit, const std::string& path) {
  const std::uint8_t al = static_cast<std::uint8_t>(0x80 | unit);
  CheckResult result;
  auto sense = Call(host, al, 0x84, 0, 0, 0);
  if (sense.carry) {
    result.summary = Format("no disk (AH %02lX)", sense.AH());
    return result;
  }
  const long cylinders = sense.CX() + 1, heads = sense.DX() >> 8, perTrack = sense.DX() & 0xFF,
             sectorSize = sense.BX();
  const std::uint16_t trackBytes = static_cast<std::uint16_t>(perTrack * sectorSize);
  const auto file = FileBytes(path);
  const std::size_t total = static_cast<std::size_t>(cylinders * heads) * trackBytes;
  const std::size_t start = file.size() >= total ? file.size() - total : 0;
  std::size_t compared = 0, differing = 0;
  for (long c = 0; c < cylinders; ++c) {
    for (long h = 0; h < heads; ++h) {
      auto read = Call(host, al, 0x06, trackBytes, static_cast<std::uint16_t>(c),
                       static_cast<std::uint16_t>(h << 8));
      if (read.carry) ++differing;
      auto data = host.ReadBlock(kBuffer, trackBytes);
      for (std::size_t i = 0; i < data.size(); ++i, ++compared) {
        const std::size_t at = start + compared;
        differing += data[i] != (at < file.size() ? file[at] : 0);
      }
    }
  }
  result.ok = differing == 0 && file.size() >= total;
  result.summary = Format("%ld cylinders, %ld heads, %ld sectors of %ld bytes", cylinders, heads,
                          perTrack, sectorSize) +
                   Format(", %ld bytes read track by track: ", static_cast<long>(compared)) +
                   (result.ok ? "the same as the image file" : "NOT as in the image file");
  return result;
}

CheckResult WriteAndFormatFloppyTrack(ReferenceHost& host, int unit) {
  const std::uint8_t al = static_cast<std::uint8_t>(0x90 | unit);
  CheckResult result;
  // The last track of a 1 MB disk: cylinder 76, head 1, eight sectors of 1024 bytes.
  const std::uint16_t cx = 76 | 3 << 8, dx = 1 | 1 << 8;
  std::vector<std::uint8_t> pattern(8 * 1024);
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<std::uint8_t>(i ^ 0x5A);
  host.WriteBlock(kBuffer, pattern);
  auto write = Call(host, al, 0x55, 8 * 1024, cx, dx);
  host.WriteBlock(kBuffer, std::vector<std::uint8_t>(pattern.size(), 0));
  auto read = Call(host, al, 0x56, 8 * 1024, cx, dx);
  const bool same = host.ReadBlock(kBuffer, 8 * 1024) == pattern;
  // The format's ID list: C, H, R, N of each sector, in the buffer.
  std::vector<std::uint8_t> ids;
  for (std::uint8_t r = 1; r <= 8; ++r) ids.insert(ids.end(), {76, 1, r, 3});
  host.WriteBlock(kBuffer, ids);
  auto format = Call(host, al, 0x5D, static_cast<std::uint16_t>(ids.size()), cx, 0xE5 | 1 << 8);
  result.ok = !write.carry && !read.carry && same && !format.carry;
  result.summary = Format("write AH %02lX, read back AH %02lX ", write.AH(), read.AH()) +
                   (same ? "(same data)" : "(DIFFERENT data)") +
                   Format(", format AH %02lX", format.AH());
  return result;
}

CheckResult WriteAndFormatHardDiskTrack(ReferenceHost& host, int unit) {
  const std::uint8_t al = static_cast<std::uint8_t>(0x80 | unit);
  CheckResult result;
  auto sense = Call(host, al, 0x84, 0, 0, 0);
  const std::uint16_t cylinder = sense.CX(),
                      head = static_cast<std::uint16_t>((sense.DX() >> 8) - 1);
  const std::uint16_t trackBytes = static_cast<std::uint16_t>((sense.DX() & 0xFF) * sense.BX());
  const std::uint16_t dx = static_cast<std::uint16_t>(head << 8);
  std::vector<std::uint8_t> pattern(trackBytes);
  for (std::size_t i = 0; i < pattern.size(); ++i)
    pattern[i] = static_cast<std::uint8_t>(i * 3 + 1);
  host.WriteBlock(kBuffer, pattern);
  auto write = Call(host, al, 0x05, trackBytes, cylinder, dx);
  host.WriteBlock(kBuffer, std::vector<std::uint8_t>(trackBytes, 0));
  Call(host, al, 0x06, trackBytes, cylinder, dx);
  const bool same = host.ReadBlock(kBuffer, trackBytes) == pattern;
  auto format = Call(host, al, 0x0D, 0, cylinder, dx);
  Call(host, al, 0x06, trackBytes, cylinder, dx);
  const bool filled =
      host.ReadBlock(kBuffer, trackBytes) == std::vector<std::uint8_t>(trackBytes, 0xE5);
  result.ok = !sense.carry && !write.carry && same && !format.carry && filled;
  result.summary =
      Format("last track (cylinder %ld, head %ld): write AH %02lX ", cylinder, head, write.AH()) +
      (same ? "(read back the same)" : "(read back DIFFERENT)") +
      Format(", format AH %02lX ", format.AH()) + (filled ? "(filled with E5)" : "(NOT filled)");
  return result;
}

}  // namespace mhwhost
