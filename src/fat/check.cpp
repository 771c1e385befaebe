#include "fat/check.h"

#include <string>

namespace disk::fat {

namespace {

constexpr int kMaxDepth = 64;

class Checker {
 public:
  explicit Checker(Volume& volume)
      : volume_(volume), fat_(volume.Fat()), owner_(kFirstCluster + fat_.ClusterCount(), 0) {}

  CheckReport Run() {
    CompareFatCopies();
    Walk(0, "", 0);
    CountLost();
    return std::move(report_);
  }

 private:
  void Add(ProblemKind kind, const std::string& path, std::uint32_t cluster, std::string text) {
    report_.problems.push_back({kind, path, cluster, std::move(text)});
  }

  void CompareFatCopies() {
    std::vector<std::uint8_t> first;
    std::vector<std::uint8_t> other;
    if (volume_.ReadFatCopy(0, &first) != FatStatus::kOk) {
      Add(ProblemKind::kUnreadable, "", 0, "FAT 1 unreadable");
      return;
    }
    if (!first.empty() && first[0] != volume_.Layout().media) {
      Add(ProblemKind::kMediaMismatch, "", 0, "FAT starts with a media byte other than the BPB's");
    }
    for (std::uint32_t i = 1; i < volume_.Layout().fatCount; ++i) {
      const std::string which = "FAT " + std::to_string(i + 1);
      if (volume_.ReadFatCopy(i, &other) != FatStatus::kOk) {
        Add(ProblemKind::kUnreadable, "", 0, which + " unreadable");
      } else if (other != first) {
        Add(ProblemKind::kFatCopiesDiffer, "", 0, which + " differs from FAT 1");
      }
    }
  }

  // Follows a chain, claiming its clusters for `id`; the count it could follow.
  std::uint32_t Claim(std::uint32_t first, std::uint32_t id, const std::string& path) {
    std::uint32_t count = 0;
    for (std::uint32_t cluster = first;;) {
      if (!fat_.IsDataCluster(cluster)) {
        Add(ProblemKind::kBrokenChain, path, cluster,
            "chain reaches cluster " + std::to_string(cluster) + " outside the data area");
        return count;
      }
      if (owner_[cluster] != 0) {
        const bool self = owner_[cluster] == id;
        Add(self ? ProblemKind::kBrokenChain : ProblemKind::kCrossLinked, path, cluster,
            (self ? "chain loops at cluster " : "cross-linked at cluster ") +
                std::to_string(cluster));
        return count;
      }
      owner_[cluster] = id;
      ++count;
      const std::uint32_t next = fat_.Get(cluster);
      if (fat_.IsEnd(next)) return count;
      if (next == 0 || fat_.IsBad(next)) {
        Add(ProblemKind::kBrokenChain, path, cluster,
            "chain runs into a " + std::string(next == 0 ? "free" : "bad") + " cluster after " +
                std::to_string(cluster));
        return count;
      }
      cluster = next;
    }
  }

  void Walk(std::uint32_t dirCluster, const std::string& dirPath, int depth) {
    // DOS paths end long before this; only a broken tree nests deeper.
    if (depth > kMaxDepth) {
      Add(ProblemKind::kBrokenChain, dirPath, dirCluster, "directories nested too deep");
      return;
    }
    std::vector<DirEntry> entries;
    if (volume_.ListDirectory(dirCluster, &entries) != FatStatus::kOk) {
      Add(ProblemKind::kUnreadable, dirPath, dirCluster, "directory unreadable");
      return;
    }
    const std::uint32_t clusterBytes = volume_.Layout().ClusterBytes();
    for (const DirEntry& e : entries) {
      if (e.IsDotEntry()) continue;
      const std::string path = dirPath + "/" + ShortNameText(e.name);
      const std::uint32_t id = ++lastId_;
      const std::uint32_t count = e.firstCluster == 0 ? 0 : Claim(e.firstCluster, id, path);
      if (e.IsDirectory()) {
        ++report_.directories;
        if (e.firstCluster == 0) {
          Add(ProblemKind::kChainLength, path, 0, "directory without clusters");
        } else if (owner_[e.firstCluster] == id) {
          Walk(e.firstCluster, path, depth + 1);  // only a tree this walk has not met before
        }
        continue;
      }
      ++report_.files;
      const std::uint64_t needed = (std::uint64_t{e.size} + clusterBytes - 1) / clusterBytes;
      if (count != needed && (e.firstCluster == 0 || owner_[e.firstCluster] == id)) {
        Add(ProblemKind::kChainLength, path, e.firstCluster,
            std::to_string(count) + " clusters for " + std::to_string(e.size) + " bytes");
      }
    }
  }

  void CountLost() {
    std::uint32_t first = 0;
    for (std::uint32_t c = kFirstCluster; c < owner_.size(); ++c) {
      const std::uint32_t value = fat_.Get(c);
      if (owner_[c] != 0 || value == 0 || fat_.IsBad(value)) continue;
      if (report_.lostClusters++ == 0) first = c;
    }
    if (report_.lostClusters != 0) {
      Add(ProblemKind::kLostClusters, "", first,
          std::to_string(report_.lostClusters) + " lost clusters, the first at " +
              std::to_string(first));
    }
  }

  Volume& volume_;
  const FatTable& fat_;
  std::vector<std::uint32_t> owner_;  // per cluster: the entry whose chain holds it, 0 = none
  std::uint32_t lastId_ = 0;
  CheckReport report_;
};

}  // namespace

CheckReport Check(Volume& volume) {
  return Checker(volume).Run();
}

}  // namespace disk::fat
