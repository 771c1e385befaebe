// The floppy media the tool makes images of (create, read-drive): their layout and the FAT
// layout PC-98 MS-DOS gives them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "fat/fat_layout.h"
#include "formats/headerless.h"
#include "image.h"
#include "targets.h"

namespace diskimg {

struct Medium {
  const char* name;  // "1.23M"
  std::uint32_t imageSize;
  disk::fat::FloppyFormat fat;
  const disk::UniformLayout* layout;
};

// By name, without regard to case; null when there is none.
const Medium* FindMedium(const std::string& name);

// The medium's sectors, `data` in track order, as an image to be written to `out`.
int BuildMediumImage(Context& c, const Medium& medium, std::vector<std::uint8_t> data,
                     const std::string& out, std::unique_ptr<Image>* image);
// Writes the image in the target format, named as new images are ("New FD Image").
int WriteMedium(Context& c, Image& image, Target target);

}  // namespace diskimg
