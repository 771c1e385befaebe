// read-drive: a floppy in a real drive copied into an image, track by track, from the same
// source the NEW FD IMAGE dialog reads (the raw volume of a drive letter, a block device, or
// what DISK_RAW_DRIVE_x names) or from a device path given as it is.
#include <cctype>

#include "common.h"
#include "media.h"
#include "platform/raw_volume.h"

namespace diskimg {

int RunReadDrive(Context& c) {
  const std::string& drive = c.args[0];
  const std::string& out = c.args[1];
  const Medium* medium = FindMedium(c.Value("--media", "1.23M"));
  if (medium == nullptr || medium->fat == disk::fat::FloppyFormat::k640K ||
      medium->fat == disk::fat::FloppyFormat::k720K)
    return c.Usage("--media takes 1.23M or 1.44M");
  const auto target = ParseTarget(c.Value("--to", "mfd-r0"));
  if (!target || !IsFloppyTarget(*target))
    return c.Usage("no floppy format '" + c.Value("--to") + "'");

  const bool letter = (drive.size() == 1 || (drive.size() == 2 && drive[1] == ':')) &&
                      std::isalpha(static_cast<unsigned char>(drive[0]));
  PatchedFile device;
  if (!letter && !device.OpenFile(drive)) return c.Fail(kExitInput, drive, "cannot be opened");
  const std::uint32_t trackBytes = medium->layout->sectorsPerTrack * SizeOfN(medium->layout->n);
  const std::uint32_t tracks = medium->layout->cylinders * 2u;
  std::vector<std::uint8_t> data(medium->imageSize);
  c.progress.Begin("reading " + drive);
  for (std::uint32_t track = 0; track < tracks; ++track) {
    std::uint8_t* at = data.data() + std::size_t{track} * trackBytes;
    const bool read = letter ? platform::ReadRawVolume(static_cast<char>(std::toupper(drive[0])),
                                                       track * trackBytes, at, trackBytes)
                             : track * trackBytes + trackBytes <= device.Size() &&
                                   device.Read(std::uint64_t{track} * trackBytes, {at, trackBytes});
    if (!read)
      return c.Fail(kExitInput, drive,
                    "cylinder " + std::to_string(track / 2) + " side " + std::to_string(track % 2) +
                        " cannot be read");
    c.progress.Update(track + 1, tracks);
  }
  c.progress.Done();
  std::unique_ptr<Image> image;
  if (int code = BuildMediumImage(c, *medium, std::move(data), out, &image)) return code;
  if (int code = WriteMedium(c, *image, *target)) return code;
  c.Say(drive + " -> " + out + " (" + medium->name + ", " + TargetName(*target) + ")" +
        (c.dryRun ? ": not written (--dry-run)" : ""));
  return kExitOk;
}

}  // namespace diskimg
