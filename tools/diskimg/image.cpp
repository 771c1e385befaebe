// The one place that knows the image formats: it asks the formats library which format an image
// is and reads the tables and headers through it.
#include "image.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "disk_sectors.h"
#include "formats/byte_fields.h"
#include "formats/d88.h"
#include "formats/floppy_geometry.h"
#include "formats/floppy_loaders.h"
#include "formats/hard_disk_formats.h"
#include "formats/headerless.h"
#include "formats/image_label.h"
#include "formats/mfd.h"
#include "formats/mhd.h"

namespace diskimg {
namespace {

constexpr std::uint64_t kZhdHeader = 256;
constexpr std::uint64_t kZhdCylinderBytes = 8 * 33 * 256;

// A run of the file, seen by the formats as an image of its own.
class DiskReader final : public disk::ImageReader {
 public:
  DiskReader(const PatchedFile& file, std::uint64_t start, std::uint64_t size)
      : file_(file), start_(start), size_(size) {}
  std::uint64_t Size() override { return size_; }
  std::uint32_t Read(std::uint32_t offset, void* buffer, std::uint32_t count) override {
    if (offset >= size_) return 0;
    count = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, size_ - offset));
    if (!file_.Read(start_ + offset, {static_cast<std::uint8_t*>(buffer), count})) return 0;
    return count;
  }

 private:
  const PatchedFile& file_;
  std::uint64_t start_;
  std::uint64_t size_;
};

bool HasExtension(const std::string& path, const char* extension) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == extension;
}

// A leading block that is an HDI header of more than two heads: a hard disk whose size happens
// to be a headerless floppy's plus 4096.
bool HardDiskHeaderInFront(const std::uint8_t* probe) {
  return disk::IsHdi(probe) && disk::LoadU32(probe + disk::headerless::kFdiHeadsOffset) > 2;
}

}  // namespace

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::kMfdR0:
      return "MFD R0";
    case Kind::kMfdR1:
      return "MFD R1";
    case Kind::kHeaderless:
      return "headerless";
    case Kind::kFdi:
      return "FDI";
    case Kind::kD88:
      return "D88";
    case Kind::kMhd:
      return "MHD";
    case Kind::kHdi:
      return "HDI";
    case Kind::kZhd:
      return "ZHD";
  }
  return "?";
}

std::uint32_t SizeOfN(std::uint8_t n) {
  return disk::SectorSize(n);
}

ImageName ParseImageName(const std::string& text) {
  ImageName named{text};
  if (std::filesystem::exists(text)) return named;
  auto number = [](const std::string& digits) -> std::uint32_t {
    if (digits.empty() || digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return 0;
    return static_cast<std::uint32_t>(std::stoul(digits));
  };
  std::string rest = text;
  std::size_t colon = rest.rfind(':');
  // A trailing ":N" that is not part of "::N" names a partition.
  if (colon != std::string::npos && colon > 0 && rest[colon - 1] != ':' &&
      number(rest.substr(colon + 1)) != 0) {
    named.partition = number(rest.substr(colon + 1));
    rest.resize(colon);
  }
  colon = rest.rfind("::");
  if (colon != std::string::npos && colon > 0 && number(rest.substr(colon + 2)) != 0) {
    named.disk = number(rest.substr(colon + 2));
    rest.resize(colon);
  }
  named.path = rest;
  return named;
}

Image::~Image() = default;

OpenStatus Image::Open(const ImageName& named, std::unique_ptr<Image>* image, std::string* reason) {
  std::unique_ptr<Image> opened(new Image);
  opened->path_ = named.path;
  if (!opened->file_.OpenFile(named.path)) {
    *reason = "cannot be opened";
    return OpenStatus::kUnreadable;
  }
  const OpenStatus status = opened->Identify(named.disk, reason);
  if (status == OpenStatus::kOk) *image = std::move(opened);
  return status;
}

OpenStatus Image::Build(std::vector<std::uint8_t> bytes, std::uint64_t size,
                        const std::string& path, std::unique_ptr<Image>* image,
                        std::string* reason) {
  std::unique_ptr<Image> built(new Image);
  built->path_ = path;
  built->file_.OpenMemory(std::move(bytes), size);
  const OpenStatus status = built->Identify(0, reason);
  if (status == OpenStatus::kOk) *image = std::move(built);
  return status;
}

OpenStatus Image::Identify(std::uint32_t disk, std::string* reason) {
  fileSize_ = file_.Size();
  diskSize_ = fileSize_;
  std::uint8_t probe[disk::kHardDiskHeaderRead] = {};
  if (!file_.Read(0, probe)) {
    *reason = "cannot be read";
    return OpenStatus::kUnreadable;
  }
  DiskReader whole(file_, 0, fileSize_);
  const disk::FloppyFormat* floppy = disk::IdentifyFloppyImage(whole);
  if (floppy != nullptr && floppy->format == disk::ImageFormat::kHeaderless &&
      HardDiskHeaderInFront(probe))
    floppy = nullptr;
  const std::vector<std::uint32_t> disks =
      floppy ? std::vector<std::uint32_t>{} : disk::D88DiskStarts(whole);
  if (disk > 1 && disks.size() < 2) {
    *reason = "holds one disk only";
    return OpenStatus::kNoSuchDisk;
  }
  if (floppy != nullptr) {
    switch (floppy->format) {
      case disk::ImageFormat::kMfdR0:
        kind_ = Kind::kMfdR0;
        break;
      case disk::ImageFormat::kMfdR1:
        kind_ = Kind::kMfdR1;
        break;
      case disk::ImageFormat::kD88:
        kind_ = Kind::kD88;
        break;
      default:
        kind_ = disk::FindHeaderlessLayout(fileSize_)->imageSize == fileSize_ ? Kind::kHeaderless
                                                                              : Kind::kFdi;
    }
    return LoadFloppy(*floppy, reason);
  }
  if (disks.size() > 1) {
    kind_ = Kind::kD88;
    diskCount_ = static_cast<std::uint32_t>(disks.size());
    diskNumber_ = disk == 0 ? 1 : disk;
    if (diskNumber_ > diskCount_) {
      *reason = "holds " + std::to_string(diskCount_) + " disks";
      return OpenStatus::kNoSuchDisk;
    }
    diskStart_ = disks[diskNumber_ - 1];
    diskSize_ = (diskNumber_ < diskCount_ ? disks[diskNumber_] : fileSize_) - diskStart_;
    for (const disk::FloppyFormat& format : disk::FloppyFormats())
      if (format.format == disk::ImageFormat::kD88) return LoadFloppy(format, reason);
  }
  if (fileSize_ < disk::kHardDiskHeaderRead) {
    *reason = "too short for any image format (" + std::to_string(fileSize_) + " bytes)";
    return OpenStatus::kUnrecognised;
  }
  if (disk::IsMhd(probe)) {
    kind_ = Kind::kMhd;
  } else if (disk::IsHdi(probe)) {
    kind_ = Kind::kHdi;
  } else {
    // ZHD carries no signature: taken when named so, or when its cylinders fill the file.
    const std::uint64_t cylinders = disk::LoadU16(probe);
    if (!HasExtension(path_, ".zhd") &&
        (cylinders == 0 || kZhdHeader + cylinders * kZhdCylinderBytes != fileSize_)) {
      *reason = "not a disk image: no header is recognised and the size " +
                std::to_string(fileSize_) + " is no headerless floppy's";
      return OpenStatus::kUnrecognised;
    }
    kind_ = Kind::kZhd;
  }
  return LoadHardDisk(probe, reason);
}

OpenStatus Image::LoadFloppy(const disk::FloppyFormat& format, std::string* reason) {
  tables_ = std::make_unique<Tables>();
  tables_->ClearTables();
  reader_ = std::make_unique<DiskReader>(file_, diskStart_, diskSize_);
  if (!format.load(*reader_, *tables_)) {
    *reason = std::string("its ") + KindName(kind_) + " tables cannot be read";
    return OpenStatus::kUnrecognised;
  }
  device_ = FloppySectors::Build(*tables_, file_, diskStart_);
  return OpenStatus::kOk;
}

OpenStatus Image::LoadHardDisk(const std::uint8_t* header, std::string*) {
  std::uint8_t bytes[disk::kHardDiskHeaderRead];
  std::memcpy(bytes, header, sizeof bytes);
  reader_ = std::make_unique<DiskReader>(file_, 0, fileSize_);
  const disk::HardDiskGeometry g = header_ = disk::RecognizeHardDiskImage(bytes);
  geometry_ = {g.dataOffset, g.cylinders, g.heads, g.sectors, g.sectorSize};
  if (disk::fat::IsSupportedSectorSize(geometry_.sectorSize) && geometry_.DataBytes() != 0)
    device_ = std::make_unique<HardDiskSectors>(file_, geometry_);
  return OpenStatus::kOk;
}

std::vector<std::uint8_t> Image::SectorData(const SectorRecord& record, std::uint32_t copy) const {
  const std::uint32_t size = SizeOfN(record.N);
  std::vector<std::uint8_t> data(size);
  if (!file_.Read(FileOffset(record.dataOffset) + std::uint64_t{copy} * size, data)) data.clear();
  return data;
}

std::vector<std::uint8_t> Image::SpecialData(const SpecialReadRecord& record,
                                             std::uint32_t copy) const {
  std::vector<std::uint8_t> data(record.dataLength);
  if (!file_.Read(FileOffset(record.dataOffset) + std::uint64_t{copy} * record.dataLength, data))
    data.clear();
  return data;
}

std::uint64_t Image::CommentOffset() const {
  return kind_ == Kind::kD88 ? diskStart_ : disk::mfd::kCommentOffset;
}

std::uint32_t Image::CommentCapacity() const {
  switch (kind_) {
    case Kind::kMfdR0:
    case Kind::kMfdR1:
    case Kind::kMhd:
      return disk::kLabelSize - 1;
    case Kind::kD88:
      return disk::d88::kNameSize - 1;
    default:
      return 0;
  }
}

std::string Image::Comment() const {
  const std::uint32_t capacity = CommentCapacity();
  if (capacity == 0) return {};
  std::vector<std::uint8_t> field(capacity + 1);
  file_.Read(CommentOffset(), field);
  const auto end = std::find(field.begin(), field.end() - 1, 0);
  return std::string(field.begin(), end);
}

void Image::SetComment(std::string_view text) {
  std::vector<std::uint8_t> field(text.begin(), text.end());
  field.resize(std::min<std::size_t>(field.size(), CommentCapacity()));
  field.push_back(0);  // the bytes behind the NUL keep what they held
  file_.Write(CommentOffset(), field);
}

bool Image::HasWriteProtectFlag() const {
  return kind_ == Kind::kMfdR0 || kind_ == Kind::kMfdR1 || kind_ == Kind::kD88;
}

std::uint64_t Image::WriteProtectOffset() const {
  return kind_ == Kind::kD88 ? diskStart_ + disk::d88::kWriteProtectOffset
                             : disk::mfd::kWriteProtectOffset;
}

bool Image::WriteProtected() const {
  std::uint8_t flag[1] = {};
  if (!HasWriteProtectFlag() || !file_.Read(WriteProtectOffset(), flag)) return false;
  return kind_ == Kind::kD88 ? flag[0] == disk::d88::kProtected : flag[0] != 0;
}

void Image::SetWriteProtect(bool protect) {
  const std::uint8_t on = kind_ == Kind::kD88 ? disk::d88::kProtected : 1;
  const std::uint8_t flag[1] = {static_cast<std::uint8_t>(protect ? on : 0)};
  file_.Write(WriteProtectOffset(), flag);
}

}  // namespace diskimg
