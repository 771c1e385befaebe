// A consistency check of a mounted volume, reading only: every chain followed from the
// directory tree, the FAT copies compared, clusters in use that nothing reaches counted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fat/volume.h"

namespace disk::fat {

enum class ProblemKind {
  kUnreadable,  // a directory or FAT copy could not be read
  kFatCopiesDiffer,
  kMediaMismatch,  // the FAT's first byte is not the BPB's media byte
  kBrokenChain,    // a chain leaves the data area, meets a free or bad cluster, or loops
  kCrossLinked,    // a cluster in two chains
  kChainLength,    // a file's chain does not match its size, or a directory has none
  kLostClusters,   // clusters marked in use that no chain reaches
};

struct Problem {
  ProblemKind kind;
  std::string path;       // '/'-separated stored names; empty for the volume itself
  std::uint32_t cluster;  // the cluster concerned, 0 when none
  std::string text;       // one line for people, e.g. "3 clusters for 10000 bytes"
};

struct CheckReport {
  std::vector<Problem> problems;
  std::uint32_t files = 0;
  std::uint32_t directories = 0;
  std::uint32_t lostClusters = 0;
};

CheckReport Check(Volume& volume);

}  // namespace disk::fat
