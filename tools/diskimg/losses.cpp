#include "losses.h"

#include <map>
#include <set>

#include "host_text.h"

namespace diskimg {
namespace {

// Tracks where each kind of difference was found, and how often.
class Tally {
 public:
  void Add(const std::string& what, int track, int count = 1) {
    auto& entry = found_[what];
    entry.count += count;
    entry.tracks.insert(track);
  }
  void AppendTo(std::vector<std::string>& lines) const {
    for (const auto& [what, entry] : found_) {
      std::string line = what + ": " + std::to_string(entry.count) + " on track";
      line += entry.tracks.size() > 1 ? "s " : " ";
      int shown = 0;
      for (int track : entry.tracks) {
        if (shown++ == 8) {
          line += ", ...";
          break;
        }
        line += (shown > 1 ? ", " : "") + std::to_string(track);
      }
      lines.push_back(line);
    }
  }

 private:
  struct Entry {
    int count = 0;
    std::set<int> tracks;
  };
  std::map<std::string, Entry> found_;
};

int SpecialsOn(const Tables& tables, int track) {
  int count = 0;
  for (const SpecialReadRecord& s : tables.specials[track]) count += s.EndsList() ? 0 : 1;
  return count;
}

void CompareSector(const Image& source, const Image& target, int track, const SectorRecord& a,
                   const SectorRecord& b, Tally& tally) {
  if (a.C != b.C || a.H != b.H || a.R != b.R || a.N != b.N) {
    tally.Add("sector IDs or their order", track);
    return;
  }
  if ((a.mfm != 0) != (b.mfm != 0)) tally.Add("density", track);
  if ((a.deleted != 0) != (b.deleted != 0)) tally.Add("deleted-data marks", track);
  if (a.status != b.status || a.st0 != b.st0 || a.st1 != b.st1 || a.st2 != b.st2)
    tally.Add("read results (status, ST0-ST2)", track);
  if (a.mediaType != b.mediaType) tally.Add("media type bytes", track);
  if (a.repeatCount > b.repeatCount)
    tally.Add("repeat copies", track, a.repeatCount - b.repeatCount);
  for (std::uint32_t copy = 0; copy <= std::min(a.repeatCount, b.repeatCount); ++copy) {
    if (source.SectorData(a, copy) != target.SectorData(b, copy)) {
      tally.Add("sector data", track);
      break;
    }
  }
}

void CompareSpecials(const Image& source, const Image& target, int track, Tally& tally) {
  const Tables& from = source.Floppy();
  const Tables& to = target.Floppy();
  const int count = SpecialsOn(from, track);
  const int kept = SpecialsOn(to, track);
  if (kept < count) tally.Add("special reads", track, count - kept);
  for (int i = 0; i < std::min(count, kept); ++i) {
    const SpecialReadRecord& a = from.specials[track][i];
    const SpecialReadRecord& b = to.specials[track][i];
    if (a.command != b.command || a.C != b.C || a.H != b.H || a.R != b.R || a.N != b.N ||
        a.status != b.status || a.st0 != b.st0 || a.st1 != b.st1 || a.st2 != b.st2 ||
        a.dataLength != b.dataLength || a.repeatCount != b.repeatCount ||
        source.SpecialData(a, 0) != target.SpecialData(b, 0))
      tally.Add("special reads", track);
  }
}

}  // namespace

Losses CompareFloppies(const Image& source, const Image& target) {
  const Tables& from = source.Floppy();
  const Tables& to = target.Floppy();
  Tally tally;
  for (int track = 0; track < kTracks; ++track) {
    const std::uint32_t count = from.SectorsOnTrack(track);
    const std::uint32_t kept = to.SectorsOnTrack(track);
    if (kept < count) tally.Add("sectors", track, static_cast<int>(count - kept));
    if (kept > count)
      tally.Add("sectors added (unformatted places filled)", track, static_cast<int>(kept - count));
    for (std::uint32_t slot = 0; slot < std::min(count, kept); ++slot)
      CompareSector(source, target, track, from.sectors[track][slot], to.sectors[track][slot],
                    tally);
    CompareSpecials(source, target, track, tally);
  }
  Losses losses;
  tally.AppendTo(losses.data);
  if (source.Comment() != target.Comment() && !source.Comment().empty())
    losses.labels.push_back("comment \"" + ShowDiskText(source.Comment()) + "\"" +
                            (target.CommentCapacity() == 0
                                 ? " (no place for one)"
                                 : " becomes \"" + ShowDiskText(target.Comment()) + "\""));
  if (source.Floppy().writeProtect != target.Floppy().writeProtect)
    losses.labels.push_back("write protection");
  return losses;
}

}  // namespace diskimg
