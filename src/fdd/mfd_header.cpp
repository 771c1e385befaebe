#include "fdd/mfd_header.h"

#include "fdd/floppy_drive.h"
#include "fdd/image_bytes.h"

namespace disk {

void ApplyMfdHeader(FloppyDrive& drive, const std::uint8_t* header, std::uint32_t revision) {
  CopyTextField(drive.comment, sizeof drive.comment, header + mfd::kCommentOffset,
                mfd::kCommentSize);
  drive.writeProtect = header[mfd::kWriteProtectOffset] != 0 ? 1 : 0;
  drive.reformattable = 1;
  drive.revision = revision;
}

}  // namespace disk
