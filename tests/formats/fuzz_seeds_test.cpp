// Small images of every format, each of which must load. They are also the seed corpus of the
// image loader fuzzer: with DISK_FUZZ_SEED_DIR set, the test writes them into that folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "formats/byte_fields.h"
#include "formats/floppy_loaders.h"
#include "formats/image_builders.h"
#include "support/scratch.h"

namespace {

using namespace fdd_testing;

// The fuzzer also reads the bytes as the start of an image whose size the last four bytes give.
Bytes Declaring(Bytes bytes, std::uint32_t size) {
  bytes.resize(bytes.size() + 4);
  PutU32(bytes, bytes.size() - 4, size);
  return bytes;
}

std::uint32_t DeclaredSize(const Bytes& bytes) {
  return disk::LoadU32(bytes.data() + bytes.size() - 4);
}

std::vector<std::pair<std::string, Bytes>> Seeds() {
  TrackMap r0;
  r0[0].sectors = SectorRun(0, 0, 2, 1);
  r0[1].sectors = SectorRun(0, 1, 1, 3);
  TrackMap r1;
  r1[0].sectors = SectorRun(0, 0, 3, 0);
  r1[0].sectors[1].repeat = 1;
  r1[0].specials = {{6, 0, 0, 3, 0, 64, 1, 0xE0}};
  r1[2].sectors = SectorRun(1, 0, 2, 1);
  D88Tracks d88;
  d88[0] = {{0, 0, 1, 0, 128, 0x40}, {0, 0, 2, 0, 128, 0x40}};
  d88[3] = {{1, 1, 1, 1, 256}};
  return {
      {"mfd-r0", BuildMfdR0("seed", 0, r0)},
      {"mfd-r1", BuildMfdR1("seed", 1, r1, true)},
      {"d88", BuildD88("seed", 0x10, d88)},
      {"headerless-fm-track0", Declaring(Bytes(64, 0), 1021696)},
      {"headerless-leading-block", Declaring(Bytes(64, 0), 737280 + 4096)},
  };
}

TEST(FuzzSeeds, EverySeedIsALoadableImage) {
  const char* folder = std::getenv("DISK_FUZZ_SEED_DIR");
  for (auto& [name, bytes] : Seeds()) {
    auto tables = EmptyTables();
    bool declared = name.rfind("headerless", 0) == 0;
    std::uint32_t size = declared ? DeclaredSize(bytes) : static_cast<std::uint32_t>(bytes.size());
    Bytes image = bytes;
    if (declared) image.assign(size, 0);
    disk::MemoryImageReader reader(image.data(), size);
    EXPECT_TRUE(disk::ParseImage(reader, *tables)) << name;
    EXPECT_GT(tables->SectorsOnTrack(0), 0u) << name;
    if (folder != nullptr && *folder != '\0')
      testing_support::WriteAll(std::string(folder) + "/" + name, bytes);
  }
}

}  // namespace
