// What a conversion loses: the disk written in the target format is read back and compared with
// the source, record by record and byte by byte, so that whatever a format cannot hold shows up
// without a list of rules per format.
#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace diskimg {

struct Losses {
  std::vector<std::string> data;    // what a drive would read differently: refuses a conversion
  std::vector<std::string> labels;  // comment and write protection: listed only
};

// Floppies: tables, sector data (every copy) and special reads.
Losses CompareFloppies(const Image& source, const Image& target);

}  // namespace diskimg
