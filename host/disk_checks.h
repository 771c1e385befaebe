// What mhwhost does with the mounted disks through INT 1Bh, as a guest would: read every
// sector and compare it with the image file, write and format a track and read it back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "floppy_layout.h"
#include "image_look.h"
#include "reference_host.h"

namespace mhwhost {

struct CheckResult {
  bool ok = false;
  std::string summary;
};

// Floppy drive `unit` (0, 1): every sector of `tracks` compared with `medium`, the image file or
// the real drive's medium; and, for an image, that the reads waited as the FDWAIT setting asks.
CheckResult ReadWholeFloppy(ReferenceHost& host, int unit, const std::vector<FloppyTrack>& tracks,
                            const std::string& medium, std::optional<bool> fdWait);
// Writes a pattern over the disk's last track, reads it back, formats the track with its own IDs
// and reads it again. A disk expected to be write-protected must refuse the write and leave
// `medium` as it was. These change the image file.
CheckResult WriteAndFormatFloppyTrack(ReferenceHost& host, int unit,
                                      const std::vector<FloppyTrack>& tracks,
                                      const std::string& medium, bool expectProtected);

// Hard disk `unit` (0, 1): every track that lies in the image file, geometry from the extended
// sense, compared with the file from the header's data offset on.
CheckResult ReadWholeHardDisk(ReferenceHost& host, int unit, const std::string& path,
                              const HardDiskShape& shape);
// The same write, read-back and format on the last whole track that lies in the file, so that
// the file does not grow. A read-only file must refuse the write and stay as it was.
CheckResult WriteAndFormatHardDiskTrack(ReferenceHost& host, int unit, const std::string& path,
                                        const HardDiskShape& shape, bool readOnly);

// Bytes [offset, offset + size) of a file, fewer where it ends.
std::vector<std::uint8_t> FileRange(const std::string& path, std::uint64_t offset,
                                    std::uint64_t size);

}  // namespace mhwhost
