#include "floppy_layout.h"

#include <cstdio>
#include <utility>

#include "guest_calls.h"

namespace mhwhost {
namespace {

constexpr TrackMode kModes[] = {
    {0x90, true}, {0x30, true}, {0x70, true}, {0x90, false}, {0x70, false}};
constexpr int kCylinders = 82;  // the drive model's 164 tracks
constexpr std::size_t kMaxIds = 256;
constexpr std::uint8_t kInitialize = 0x03, kReadId = 0x0A;

std::optional<SectorId> ReadId(ReferenceHost& host, const FloppyTrack& track, int unit) {
  const auto id =
      Call(host, static_cast<std::uint8_t>(track.mode.daClass | unit), track.Ah(kReadId), 0,
           static_cast<std::uint16_t>(track.cylinder), static_cast<std::uint16_t>(track.head << 8));
  if (id.carry) return std::nullopt;
  return SectorId{static_cast<std::uint8_t>(id.CX()), static_cast<std::uint8_t>(id.DX() >> 8),
                  static_cast<std::uint8_t>(id.DX()), static_cast<std::uint8_t>(id.CX() >> 8)};
}

// The IDs of the track in `mode`, from the index hole on; empty when READ ID fails.
std::vector<SectorId> TrackIds(ReferenceHost& host, const FloppyTrack& track, int unit) {
  // INITIALIZE puts the rotation back to the index, so the first ID is the track's first.
  Call(host, static_cast<std::uint8_t>(track.mode.daClass | unit), kInitialize, 0, 0, 0);
  std::vector<SectorId> ids;
  const auto first = ReadId(host, track, unit);
  if (!first) return ids;
  ids.push_back(*first);
  // Successive READ IDs give successive sectors until the first comes round again.
  while (ids.size() < kMaxIds) {
    const auto next = ReadId(host, track, unit);
    if (!next || *next == *first) break;
    ids.push_back(*next);
  }
  return ids;
}

}  // namespace

std::optional<FloppyTrack> FindTrack(ReferenceHost& host, int unit, int cylinder, int head,
                                     TrackMode& preferred) {
  FloppyTrack track;
  track.cylinder = cylinder;
  track.head = head;
  std::vector<TrackMode> modes = {preferred};
  for (const TrackMode& mode : kModes)
    if (mode.daClass != preferred.daClass || mode.mfm != preferred.mfm) modes.push_back(mode);
  for (const TrackMode& mode : modes) {
    track.mode = mode;
    track.ids = TrackIds(host, track, unit);
    if (!track.ids.empty()) {
      preferred = mode;
      return track;
    }
  }
  return std::nullopt;
}

std::vector<FloppyTrack> FindFloppyTracks(ReferenceHost& host, int unit) {
  std::vector<FloppyTrack> tracks;
  TrackMode preferred;
  for (int cylinder = 0; cylinder < kCylinders; ++cylinder)
    for (int head = 0; head < 2; ++head)
      if (auto track = FindTrack(host, unit, cylinder, head, preferred))
        tracks.push_back(std::move(*track));
  return tracks;
}

std::string DescribeLayout(const std::vector<FloppyTrack>& tracks) {
  std::vector<std::pair<std::string, int>> kinds;
  for (const FloppyTrack& track : tracks) {
    const std::uint16_t size = track.ids.front().Size();
    bool sameSize = true;
    for (const SectorId& id : track.ids) sameSize &= id.Size() == size;
    char kind[96];
    std::snprintf(kind, sizeof kind, "%zu sectors of %s%u bytes (%s, DA/UA 0x%02X)",
                  track.ids.size(), sameSize ? "" : "mixed sizes, the first ", size,
                  track.mode.mfm ? "MFM" : "FM", track.mode.daClass);
    auto same = [&kind](const auto& known) { return known.first == kind; };
    if (auto it = std::find_if(kinds.begin(), kinds.end(), same); it != kinds.end())
      ++it->second;
    else
      kinds.emplace_back(kind, 1);
  }
  std::string text;
  for (const auto& [kind, count] : kinds)
    text += (text.empty() ? "" : ", ") + std::to_string(count) +
            (count == 1 ? " track of " : " tracks of ") + kind;
  return text;
}

}  // namespace mhwhost
