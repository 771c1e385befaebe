// What info warns of and check reports: the soundness of an image beyond what a drive needs to
// mount it, each finding with its reason in words.
#pragma once

#include <string>
#include <vector>

#include "digest.h"
#include "image.h"

namespace diskimg {

class Progress;

struct Finding {
  bool problem;  // a drive would read something wrong or not at all; else a warning
  std::string text;
};

// The findings of an opened image: its format's structure, the data its records point at, and
// the FAT file systems on it.
std::vector<Finding> Examine(Image& image);

// Why a file no format takes is a broken image of one, when it looks like one; empty when it
// looks like none.
std::vector<Finding> Diagnose(const std::string& path);

// CRC-32 and SHA-1 of the disk as a drive reads it: a floppy's sectors (first copies) in track
// and slot order, a hard disk's sectors from its data offset (zeros past the end of the file).
Digests DataDigests(Image& image, Progress& progress);

}  // namespace diskimg
