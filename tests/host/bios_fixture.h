// Helpers for the disk BIOS tests: image files written byte by byte, and a host booted on them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/module_fixture.h"

namespace testing_support {

// Bytes that differ from one offset to the next, so that a misplaced transfer shows.
inline std::vector<std::uint8_t> PatternBytes(std::size_t size, std::uint32_t seed = 0) {
  std::vector<std::uint8_t> bytes(size);
  std::uint32_t x = seed * 2654435761u + 12345u;
  for (auto& b : bytes) {
    x = x * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(x >> 16);
  }
  return bytes;
}

inline void PutLE(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A zeroed header of `headerSize` bytes followed by `data`.
inline std::vector<std::uint8_t> HeaderThen(std::size_t headerSize,
                                            const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> image(headerSize + data.size(), 0);
  std::copy(data.begin(), data.end(), image.begin() + static_cast<std::ptrdiff_t>(headerSize));
  return image;
}

// A ZHD image: 256-byte header holding only the cylinder count, then `data`.
inline std::vector<std::uint8_t> ZhdImage(std::uint16_t cylinders,
                                          const std::vector<std::uint8_t>& data) {
  auto image = HeaderThen(256, data);
  PutLE(image, 0, cylinders, 2);
  return image;
}

// An MHD image with its 512-byte header; `cylinderField` is the whole 32-bit field.
inline std::vector<std::uint8_t> MhdImage(std::uint32_t cylinderField, std::uint8_t heads,
                                          std::uint8_t sectors, std::uint16_t sectorSize,
                                          const std::vector<std::uint8_t>& data) {
  auto image = HeaderThen(512, data);
  std::memcpy(image.data(), "ZEBHDDIMAGE.R0", 15);
  std::memcpy(image.data() + 16, "New HD Image", 12);
  PutLE(image, 272, 512, 4);
  PutLE(image, 276, cylinderField, 4);
  PutLE(image, 280, heads, 2);
  PutLE(image, 282, sectors, 2);
  PutLE(image, 284, sectorSize, 2);
  return image;
}

// An HDI image: a 4096-byte header of which the first eight words count.
inline std::vector<std::uint8_t> HdiImage(std::uint16_t cylinders, std::uint8_t heads,
                                          std::uint8_t sectors, std::uint16_t sectorSize,
                                          const std::vector<std::uint8_t>& data) {
  auto image = HeaderThen(4096, data);
  PutLE(image, 8, 4096, 4);
  PutLE(image, 16, sectorSize, 4);
  PutLE(image, 20, sectors, 4);
  PutLE(image, 24, heads, 4);
  PutLE(image, 28, cylinders, 4);
  return image;
}

class BiosTest : public ModuleTest {
 protected:
  // Writes `image` as a file and returns its path.
  std::string ImageFile(const std::string& name, const std::vector<std::uint8_t>& image) {
    std::string path = dir.File(name);
    WriteAll(path, image);
    return path;
  }
  // `head` as a file then extended to `size` bytes without writing them, so that images of
  // gigabytes cost little time and disk (the file system keeps them sparse).
  std::string SparseFile(const std::string& name, const std::vector<std::uint8_t>& head,
                         std::uint64_t size) {
    std::string path = ImageFile(name, head);
    std::filesystem::resize_file(path, size);
    return path;
  }
  // Attaches with the four image paths (floppy 1, floppy 2, hard disk 1, hard disk 2) and
  // powers the machine on.
  void BootWith(const std::string& fd1, const std::string& fd2, const std::string& hd1,
                const std::string& hd2, const std::string& extra = "") {
    Attach("[DISK]\nDISK00=" + fd1 + "\nDISK01=" + fd2 + "\nDISK02=" + hd1 + "\nDISK03=" + hd2 +
           "\n" + extra);
    host->Boot();
  }
  // The whole call, re-runs and ticks included.
  mhwhost::BiosResult Bios(std::uint8_t al, std::uint8_t ah, std::uint16_t bx = 0,
                           std::uint16_t cx = 0, std::uint16_t dx = 0, std::uint16_t es = 0x2000,
                           std::uint16_t bp = 0) {
    return host->DiskBios(mhwhost::BiosCall::Of(al, ah, bx, cx, dx, es, bp));
  }
  // Only the first INT 1Bh of a call, as the guest's INT instruction runs it.
  std::uint32_t Start(std::uint8_t al, std::uint8_t ah, std::uint16_t bx, std::uint16_t cx = 0,
                      std::uint16_t dx = 0) {
    host->LoadCall(mhwhost::BiosCall::Of(al, ah, bx, cx, dx));
    return host->RunDiskBiosOnce();
  }
  std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t at,
                                  std::size_t size) {
    std::vector<std::uint8_t> part(size, 0);
    for (std::size_t i = 0; i < size && at + i < bytes.size(); ++i) part[i] = bytes[at + i];
    return part;
  }
};

}  // namespace testing_support
