// What a status panel row says about an image file.
#pragma once

#include <string>

namespace disk {

// The comment of an MFD or MHD image or the disk name of a D88 image, with every '&' doubled
// for the static control; "No Information" when the file has neither. Empty when the file cannot
// be opened.
std::string ImageInfoText(const char* path, bool* opened = nullptr);

// True when `header` (at least 15 bytes) begins with `signature` and its NUL.
bool HasSignature(const unsigned char* header, const char* signature);

}  // namespace disk
