// The floppy checks: every sector read in the disk's own layout, and a track written, read back
// and formatted with the track's own IDs.
#include <algorithm>
#include <cstdio>
#include <limits>

#include "disk_checks.h"
#include "guest_calls.h"

namespace mhwhost {
namespace {

constexpr std::uint8_t kWrite = 0x05, kRead = 0x06, kFormat = 0x0D;
constexpr std::uint8_t kWriteProtected = 0x70;
constexpr std::uint8_t kFill = 0xE5;  // what a format with another layout would fill in
// Where the checks place a disk parameter table of their own, and the BIOS's far pointers to
// the tables of 1 MB (and 1.44 MB) drives and of 640 KB drives.
constexpr std::uint16_t kTableSegment = 0x1800;
constexpr std::uint32_t kPointer1M = 0x5F8, kPointer640K = 0x5CC;

std::string Text(const char* format, long a = 0, long b = 0, long c = 0, long d = 0) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b, c, d);
  return text;
}

// True when `sectors`, in order, are the file itself or lie in it in order (images with headers
// keep their sectors in disk order between other fields).
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

BiosResult Transfer(ReferenceHost& host, int unit, const FloppyTrack& track, const SectorId& id,
                    std::uint8_t command) {
  return Call(host, track.Al(unit, id), track.Ah(command), id.Size(),
              static_cast<std::uint16_t>(track.cylinder | id.n << 8),
              static_cast<std::uint16_t>(id.r | id.h << 8));
}

// What the reads of a check saw.
struct ReadCount {
  int failures = 0;  // reads that carried
  std::string firstFailure;
  long ticks = 0;        // ticks the host ran before the calls were done
  long longestWait = 0;  // ticks the FDWAIT wait asks for: one for each whole 512 bytes
  long calls = 0;
};

// Every sector of `track`, read.
std::vector<std::vector<std::uint8_t>> ReadTrack(ReferenceHost& host, int unit,
                                                 const FloppyTrack& track, ReadCount& count) {
  std::vector<std::vector<std::uint8_t>> sectors;
  for (const SectorId& id : track.ids) {
    const auto read = Transfer(host, unit, track, id, kRead);
    count.ticks += read.ticks;
    count.longestWait += id.Size() >> 9;
    ++count.calls;
    if (read.carry && count.failures++ == 0)
      count.firstFailure = Text("cylinder %ld head %ld R %ld: AH %02lX", track.cylinder, track.head,
                                id.r, read.AH());
    sectors.push_back(host.ReadBlock(kBuffer, id.Size()));
  }
  return sectors;
}

// The BIOS takes a format's sector count from the parameter table of the drive's class; like a
// guest's format program, point it at one that gives the track's own count, and put the
// pointer back afterwards.
class OwnFormatTable {
 public:
  OwnFormatTable(ReferenceHost& host, const FloppyTrack& track)
      : host_(host), pointer_(track.mode.daClass == 0x70 ? kPointer640K : kPointer1M) {
    saved_ = host.ReadBlock(pointer_, 4);
    const std::uint32_t table = kTableSegment * 16u;
    constexpr std::uint16_t kUnitTable = 0x10;  // both units' words point here
    host.WriteBlock(table, std::vector<std::uint8_t>(kUnitTable + 8 * 256 + 8, 0));
    host.WriteBlock(table, {kUnitTable, 0, kUnitTable, 0});
    const std::uint32_t count = kUnitTable + (track.mode.mfm ? 0 : 4) + 8u * track.ids[0].n + 2;
    host.WriteByte(table + count, static_cast<std::uint8_t>(track.ids.size()));
    host.WriteBlock(pointer_, {0, 0, kTableSegment & 0xFF, kTableSegment >> 8});
  }
  ~OwnFormatTable() { host_.WriteBlock(pointer_, saved_); }
  OwnFormatTable(const OwnFormatTable&) = delete;
  OwnFormatTable& operator=(const OwnFormatTable&) = delete;

 private:
  ReferenceHost& host_;
  std::uint32_t pointer_;
  std::vector<std::uint8_t> saved_;
};

BiosResult FormatTrack(ReferenceHost& host, int unit, const FloppyTrack& track) {
  OwnFormatTable table(host, track);
  std::vector<std::uint8_t> ids;
  for (const SectorId& id : track.ids) ids.insert(ids.end(), {id.c, id.h, id.r, id.n});
  host.WriteBlock(kBuffer, ids);
  return Call(host, static_cast<std::uint8_t>(track.mode.daClass | unit), track.Ah(kFormat),
              static_cast<std::uint16_t>(ids.size()),
              static_cast<std::uint16_t>(track.cylinder | track.ids[0].n << 8),
              static_cast<std::uint16_t>(kFill | track.head << 8));
}

std::vector<std::uint8_t> Pattern(std::uint16_t size, std::size_t index) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>((i ^ 0x5A) + index * 13);
  return bytes;
}

}  // namespace

CheckResult ReadWholeFloppy(ReferenceHost& host, int unit, const std::vector<FloppyTrack>& tracks,
                            const std::string& medium, std::optional<bool> fdWait) {
  CheckResult result;
  if (tracks.empty()) {
    result.summary = "no track answers READ ID with DA/UA 0x90, 0x30 or 0x70, in MFM or FM";
    return result;
  }
  std::vector<std::vector<std::uint8_t>> sectors;
  ReadCount count;
  for (const FloppyTrack& track : tracks) {
    auto read = ReadTrack(host, unit, track, count);
    sectors.insert(sectors.end(), read.begin(), read.end());
  }
  std::vector<std::uint8_t> whole;
  for (const auto& s : sectors) whole.insert(whole.end(), s.begin(), s.end());
  const auto file = FileRange(medium, 0, std::numeric_limits<std::uint64_t>::max());
  const bool same = whole == file || FoundInOrder(file, sectors);
  // With the wait on, each read waits a tick for every whole 512 bytes; without it, a read is
  // done at its first re-run at the latest.
  const bool waited =
      !fdWait || (*fdWait ? count.ticks >= count.longestWait : count.ticks <= count.calls);
  result.ok = count.failures == 0 && same && waited;
  result.summary = DescribeLayout(tracks) +
                   Text("; %ld sectors, %ld bytes read", static_cast<long>(sectors.size()),
                        static_cast<long>(whole.size())) +
                   (count.failures == 0 ? ""
                                        : Text(", %ld FAILED (first: ", count.failures) +
                                              count.firstFailure + ")") +
                   (same ? ": the same as the image file" : ": NOT as in the image file") +
                   (!fdWait ? ""
                            : Text("; %ld ticks waited, FDWAIT ", count.ticks) +
                                  (*fdWait ? "on" : "off") + (waited ? "" : " NOT heeded"));
  return result;
}

CheckResult WriteAndFormatFloppyTrack(ReferenceHost& host, int unit,
                                      const std::vector<FloppyTrack>& tracks,
                                      const std::string& medium, bool expectProtected) {
  CheckResult result;
  if (tracks.empty()) {
    result.summary = "no track to write";
    return result;
  }
  const FloppyTrack& track = tracks.back();
  const std::string where = Text("cylinder %ld head %ld, %ld sectors: ", track.cylinder, track.head,
                                 static_cast<long>(track.ids.size()));
  const auto before = FileRange(medium, 0, std::numeric_limits<std::uint64_t>::max());
  std::vector<std::vector<std::uint8_t>> written;
  int refused = 0;
  std::uint8_t status = 0;
  for (const SectorId& id : track.ids) {
    written.push_back(Pattern(id.Size(), written.size()));
    host.WriteBlock(kBuffer, written.back());
    const auto write = Transfer(host, unit, track, id, kWrite);
    if (write.carry && refused++ == 0) status = write.AH();
  }
  if (refused > 0 || expectProtected) {
    // A protected disk must refuse and keep its file; any other disk must take the write.
    const bool untouched =
        FileRange(medium, 0, std::numeric_limits<std::uint64_t>::max()) == before;
    result.ok = expectProtected && refused > 0 && status == kWriteProtected && untouched;
    result.summary =
        where + (refused > 0 ? Text("write refused (AH %02lX)", status) : "write TAKEN") +
        (expectProtected ? " on a write-protected image" : " on an image NOT write-protected") +
        (untouched ? "; the file is untouched" : "; the file CHANGED");
    return result;
  }
  ReadCount count;
  const bool same = ReadTrack(host, unit, track, count) == written;
  const auto format = FormatTrack(host, unit, track);
  // A format with the track's own layout keeps the sectors' data, on every kind of image.
  TrackMode mode = track.mode;
  const auto after = FindTrack(host, unit, track.cylinder, track.head, mode);
  const bool kept = after.has_value() && after->ids == track.ids &&
                    ReadTrack(host, unit, *after, count) == written;
  result.ok = same && count.failures == 0 && !format.carry && kept;
  result.summary =
      where + (same ? "written and read back the same" : "read back DIFFERENT") +
      Text(", formatted with its own IDs (AH %02lX): ", format.AH()) +
      (kept ? "the same sectors, their data kept" : "NOT the same sectors afterwards") +
      (count.failures == 0 ? "" : "; a read FAILED: " + count.firstFailure);
  return result;
}

}  // namespace mhwhost
