// Steps most commands share: opening the image an argument names, and writing it back.
#pragma once

#include <memory>
#include <string>

#include "cli.h"
#include "image.h"

namespace diskimg {

// Opens IMAGE[::DISK][:PART]; on failure says why and returns the exit code (0 = opened).
int OpenImageArg(Context& c, const std::string& arg, std::unique_ptr<Image>* image,
                 ImageName* named = nullptr);

// Writes the image's changes back (nothing with --dry-run or without changes); 0 or the exit
// code after saying why not.
int CommitImage(Context& c, Image& image);

// Writes `bytes` as the whole file at `path` through the safe replace.
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    Progress& progress);

// "1,261,568" for people.
std::string Grouped(std::uint64_t value);

}  // namespace diskimg
