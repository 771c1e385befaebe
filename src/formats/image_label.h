// The label of an image as the user sees and edits it: the comment of an MFD or MHD header, the
// disk name of a D88 image, and the write-protect byte of an MFD header, edited in place.
#pragma once

#include <cstdint>
#include <string>

#include "formats/image_reader.h"

namespace disk {

// The text a drive row shows for an image: the comment of an MFD or MHD image when it is not
// empty, otherwise the disk name of a D88 image whose stated size is the file's. Each ends at its
// NUL or at the end of the first 288 bytes. Empty when the image has neither or is shorter.
std::string ImageLabel(ImageReader& reader);

// Headers whose label can be edited in place: MFD (comment and write protection) and MHD
// (comment). Both keep the comment at the same place.
enum class EditableHeader { kNone, kMfd, kMhd };
inline constexpr std::uint32_t kLabelSize = 256;  // comment field, NUL included

// By the signature at the start of `count` bytes of a header.
EditableHeader EditableHeaderOf(const std::uint8_t* header, std::uint32_t count);
// The comment of an editable header, at most 255 characters.
void ReadHeaderLabel(const std::uint8_t* header, char (&label)[kLabelSize]);
bool ReadHeaderWriteProtect(const std::uint8_t* header);  // MFD only
// Puts label and its NUL over the comment; the bytes after the NUL keep their old values.
void WriteHeaderLabel(std::uint8_t* header, const char* label);
void WriteHeaderWriteProtect(std::uint8_t* header, bool protect);  // MFD only

}  // namespace disk
