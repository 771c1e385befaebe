// A floppy disk's layout as a guest finds it through INT 1Bh: for every track, the DA/UA class
// and density with which READ ID answers, and the IDs of its sectors in the order they pass
// the head.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reference_host.h"

namespace mhwhost {

struct SectorId {
  std::uint8_t c = 0, h = 0, r = 0, n = 0;
  bool operator==(const SectorId&) const = default;
  std::uint16_t Size() const { return static_cast<std::uint16_t>(128u << std::min<int>(n, 6)); }
};

struct TrackMode {
  std::uint8_t daClass = 0x90;  // 0x90 1 MB, 0x30 1.44 MB, 0x70 640 KB
  bool mfm = true;
};

struct FloppyTrack {
  int cylinder = 0, head = 0;
  TrackMode mode;
  std::vector<SectorId> ids;  // from the index hole on

  // DA/UA of a call for sector `id` of this track: the side bit inverted when the ID's head
  // number is not the side the sector lies on.
  std::uint8_t Al(int unit, const SectorId& id) const {
    return static_cast<std::uint8_t>(mode.daClass | unit | ((id.h & 1) != head ? 4 : 0));
  }
  // AH of a call: the command with the implied seek and the track's density.
  std::uint8_t Ah(std::uint8_t command) const {
    return static_cast<std::uint8_t>(command | 0x10 | (mode.mfm ? 0x40 : 0));
  }
};

// The track at (cylinder, head), trying `preferred` first and every other mode after it;
// `preferred` becomes the mode that answered. None when no mode gets an ID.
std::optional<FloppyTrack> FindTrack(ReferenceHost& host, int unit, int cylinder, int head,
                                     TrackMode& preferred);
// Every track of the disk in drive `unit` that holds sectors, in track order.
std::vector<FloppyTrack> FindFloppyTracks(ReferenceHost& host, int unit);
// "154 tracks of 8 sectors of 1024 bytes (MFM, DA/UA 0x90)", a group for each kind of track.
std::string DescribeLayout(const std::vector<FloppyTrack>& tracks);

}  // namespace mhwhost
