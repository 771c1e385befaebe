// PC-98 hard disks: the partition table against libparted's pc98 label and the file system made
// in the partition against fsck.fat; 256-byte-sector disks in memory.
#include <gtest/gtest.h>

#include "fat/format.h"
#include "fat/volume.h"
#include "fat_tools.h"

namespace {

using namespace disk::fat;
using fat_test::Shell;

TEST(HardDiskTest, TablesAgreeWithPartedBothWaysAndTheFileSystemPassesFsck) {
  SKIP_WITHOUT("parted");
  SKIP_WITHOUT("fsck.fat");
  constexpr DiskGeometry kPartedGeometry{4, 32};  // what libparted gives image files
  constexpr std::uint64_t kDiskSectors = 81920;   // 40 MB of 512-byte sectors
  testing_support::ScratchDir dir;
  const std::string image = dir.File("hd.img");
  ASSERT_TRUE(Shell("truncate -s 40M " + image));
  ASSERT_TRUE(Shell("parted -s " + image + " mklabel pc98 mkpart primary fat16 1MiB 100%"));
  MemoryDevice device(512, testing_support::ReadAll(image));
  std::vector<Pc98Partition> partitions;
  ASSERT_EQ(ReadPc98Partitions(device, kPartedGeometry, &partitions), TableStatus::kFound);
  ASSERT_EQ(partitions.size(), 1u);
  EXPECT_EQ(partitions[0].firstSector, 2048u);
  EXPECT_EQ(partitions[0].sectorCount, kDiskSectors - 2048);
  EXPECT_EQ(partitions[0].sid, kPc98Active | kPc98SidFatLarge);

  ASSERT_EQ(FormatHardDisk(device, kPartedGeometry, 1), FatStatus::kOk);
  testing_support::WriteAll(image, device.Bytes());
  std::string output;
  ASSERT_TRUE(Shell("parted -s -m " + image + " unit s print", &output));
  EXPECT_NE(output.find("\n1:128s:81919s:81792s:"), std::string::npos) << output;
  // fsck.fat takes the partition alone.
  const std::string part = dir.File("part.img");
  ASSERT_TRUE(Shell("dd status=none bs=512 skip=128 if=" + image + " of=" + part));
  EXPECT_TRUE(Shell("fsck.fat -n " + part, &output));
}

// A 5 MB SASI disk: 153 cylinders of 4 heads and 33 sectors of 256 bytes.
TEST(HardDiskTest, DiskOf256ByteSectorsKeepsTableAtItsSectorSizeAndHoldsFat12) {
  constexpr DiskGeometry kSasi{4, 33};
  MemoryDevice device(256, 153 * 4 * 33);
  ASSERT_EQ(FormatHardDisk(device, kSasi, 1), FatStatus::kOk);
  const std::vector<std::uint8_t>& bytes = device.Bytes();
  EXPECT_EQ(bytes[0xFE] << 8 | bytes[0xFF], 0x55AA);
  EXPECT_EQ(bytes[0x100], kPc98Bootable | kPc98MidDos);  // slot 0 in sector 1
  std::vector<Pc98Partition> partitions;
  ASSERT_EQ(ReadPc98Partitions(device, kSasi, &partitions), TableStatus::kFound);
  ASSERT_EQ(partitions.size(), 1u);
  EXPECT_EQ(partitions[0].firstSector, 132u);
  EXPECT_EQ(partitions[0].sectorCount, 152u * 132);
  EXPECT_EQ(partitions[0].sid, kPc98Active | kPc98SidFatSmall);

  DeviceWindow window(device, partitions[0].firstSector, partitions[0].sectorCount);
  std::unique_ptr<Volume> volume;
  ASSERT_EQ(Volume::Mount(window, &volume), FatStatus::kOk);
  EXPECT_EQ(volume->Layout().Type(), FatType::kFat12);
  EXPECT_EQ(volume->Layout().bytesPerSector, 1024u);
  EXPECT_EQ(volume->Layout().hiddenSectors, 132u);
}

}  // namespace
