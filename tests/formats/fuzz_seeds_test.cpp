// The seed corpus of the image loader fuzzer, written into DISK_FUZZ_SEED_DIR when it is set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "formats/byte_fields.h"
#include "formats/floppy_loaders.h"
#include "support/disk_images.h"
#include "support/scratch.h"

namespace {

using namespace testing_support;

TEST(FuzzSeeds, EverySeedIsALoadableImage) {
  DiskSpec small;
  small.tracks[0].sectors = {{0, 0, 1, 1}, {0, 0, 2, 1, 0, 1}};
  small.tracks[3].sectors = {{1, 1, 1, 3}};
  DiskSpec copies = small;
  copies.blockForEveryTrack = true;
  copies.tracks[0].specials = {{6, 0, 0, 2, 1, 0xE0, 1, 64}};
  // The fuzzer also reads a seed as the start of an image whose size its last four bytes give.
  const std::pair<std::string, std::uint32_t> headerless[] = {{"headerless-fm-track0", 1021696},
                                                              {"headerless-leading", 741376}};
  std::vector<std::pair<std::string, Bytes>> seeds = {
      {"mfd-r0", BuildR0(small)}, {"mfd-r1", BuildR1(copies)}, {"d88", BuildD88(small)}};
  for (const auto& [name, size] : headerless) {
    seeds.emplace_back(name, Bytes(68, 0));
    PutLE(seeds.back().second, 64, size, 4);
  }
  const char* folder = std::getenv("DISK_FUZZ_SEED_DIR");
  for (const auto& [name, bytes] : seeds) {
    auto tables = std::make_unique<disk::FloppyTables>();
    tables->ClearTables();
    const bool sized = name.rfind("headerless", 0) == 0;
    const Bytes image = sized ? Bytes(disk::LoadU32(&bytes[64]), 0) : bytes;
    disk::MemoryImageReader reader(image.data(), static_cast<std::uint32_t>(image.size()));
    EXPECT_TRUE(disk::ParseImage(reader, *tables)) << name;
    EXPECT_GT(tables->SectorsOnTrack(0), 0u) << name;
    if (folder != nullptr && *folder != '\0') WriteAll(std::string(folder) + "/" + name, bytes);
  }
}

}  // namespace
