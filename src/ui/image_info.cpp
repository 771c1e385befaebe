#include "ui/image_info.h"

#include "formats/image_label.h"
#include "media/file_image_reader.h"
#include "media/file_routines.h"

namespace disk {
namespace {

constexpr const char* kNoInformation = "No Information";

std::string DoubleAmpersands(const std::string& text) {
  std::string shown;
  for (char c : text) {
    shown += c;
    if (c == '&') shown += '&';
  }
  return shown;
}

}  // namespace

std::string ImageInfoText(const char* path, bool* opened) {
  FileHandle file = OpenImageRead(path);
  if (opened != nullptr) *opened = file != platform::kNoFile;
  if (file == platform::kNoFile) return {};
  FileImageReader reader(file);
  std::string text = ImageLabel(reader);
  CloseFile(file);
  return text.empty() ? kNoInformation : DoubleAmpersands(text);
}

}  // namespace disk
