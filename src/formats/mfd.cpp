#include "formats/mfd.h"

#include "formats/byte_fields.h"

namespace disk {

void ApplyMfdHeader(FloppyTables& tables, const std::uint8_t* header, std::uint32_t revision) {
  CopyTextField(tables.comment, sizeof tables.comment, header + mfd::kCommentOffset,
                mfd::kCommentSize);
  tables.writeProtect = header[mfd::kWriteProtectOffset] != 0 ? 1 : 0;
  tables.reformattable = 1;
  tables.revision = revision;
}

}  // namespace disk
