// What a status panel row says about an image file.
#pragma once

#include <string>

namespace disk {

// The image's label (the comment of an MFD or MHD image, the disk name of a D88 image) with every
// '&' doubled for the static control; "No Information" when the file has none. Empty when the
// file cannot be opened.
std::string ImageInfoText(const char* path, bool* opened = nullptr);

}  // namespace disk
