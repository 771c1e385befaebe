// info and check: what an image is, and whether it is sound.
#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "common.h"
#include "examine.h"
#include "formats/image_info.h"
#include "host_text.h"
#include "json.h"

namespace diskimg {
namespace {

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

const char* MediaClass(std::uint8_t mediaType) {
  switch (mediaType & 0xF0) {
    case 0x10:
      return "640 KB class (2DD)";
    case 0x30:
      return "1.44 MB class";
    case 0x90:
      return "1 MB class (2HD)";
    default:
      return "unknown class";
  }
}

// Each disk an argument names: all disks of a D88 file holding several, unless one is picked.
// Calls `each` with every disk opened; returns the exit code for the arguments that failed.
template <typename Each>
int ForEachDisk(Context& c, const std::string& arg, Each each) {
  std::unique_ptr<Image> image;
  ImageName named;
  if (int code = OpenImageArg(c, arg, &image, &named)) return code;
  const std::uint32_t disks = named.disk == 0 ? image->DiskCount() : 1;
  each(*image);
  for (std::uint32_t disk = 2; disk <= disks; ++disk) {
    if (int code = OpenImageArg(c, named.path + "::" + std::to_string(disk), &image)) return code;
    each(*image);
  }
  return kExitOk;
}

std::string Title(const Image& image) {
  std::string title = image.Path() + ": " + KindName(image.GetKind());
  if (image.DiskCount() > 1)
    title +=
        ", disk " + std::to_string(image.DiskNumber()) + " of " + std::to_string(image.DiskCount());
  return title;
}

// Pieces appended one by one (the i686 compiler warns falsely of a text put in front of another).
std::string Cat(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}

// One sector of the track map: its R, and what sets it apart from the track's plain sectors.
std::string SectorToken(const SectorRecord& r, int track, const SectorRecord& first) {
  std::string notes;
  auto note = [&](std::initializer_list<std::string_view> pieces) {
    if (!notes.empty()) notes += ',';
    notes += Cat(pieces);
  };
  if (r.C != track / 2) note({"C", std::to_string(r.C)});
  if (r.H != track % 2) note({"H", std::to_string(r.H)});
  if (r.N != first.N) note({"N", std::to_string(r.N)});
  if ((r.mfm != 0) != (first.mfm != 0)) note({r.mfm ? "MFM" : "FM"});
  if (r.deleted) note({"deleted"});
  if (r.status != 0) note({"AH=", Hex2(r.status)});
  if ((r.st0 & ~0x04) != 0 || r.st1 != 0 || r.st2 != 0)
    note({"ST=", Hex2(r.st0), "/", Hex2(r.st1), "/", Hex2(r.st2)});
  if (r.mediaType != first.mediaType) note({"media ", Hex2(r.mediaType)});
  if (r.repeatCount != 0) note({"x", std::to_string(r.repeatCount + 1)});
  const std::string number = std::to_string(r.R);
  return notes.empty() ? number : Cat({number, "[", notes, "]"});
}

void TrackMapText(Context& c, const Image& image) {
  const Tables& t = image.Floppy();
  for (int track = 0; track < kTracks; ++track) {
    const std::uint32_t count = t.SectorsOnTrack(track);
    const SectorRecord& first = t.sectors[track][0];
    std::string line = Cat({"  track ", std::to_string(track), ": "});
    if (count == 0) {
      bool specials = !t.specials[track][0].EndsList();
      if (!specials) continue;
      line += "no sectors";
    } else {
      line += Cat({std::to_string(count), " x ", std::to_string(SizeOfN(first.N)), " ",
                   first.mfm ? "MFM" : "FM", ", media ", Hex2(first.mediaType), ":"});
      for (std::uint32_t slot = 0; slot < count; ++slot) {
        line += ' ';
        line += SectorToken(t.sectors[track][slot], track, first);
      }
    }
    c.out << line << '\n';
    for (const SpecialReadRecord& s : t.specials[track]) {
      if (s.EndsList()) continue;
      c.out << "    special read: command " << Hex2(s.command) << ", ID " << int{s.C} << "/"
            << int{s.H} << "/" << int{s.R} << "/" << int{s.N} << ", AH=" << Hex2(s.status)
            << " ST=" << Hex2(s.st0) << "/" << Hex2(s.st1) << "/" << Hex2(s.st2) << ", "
            << s.dataLength << " bytes x" << s.repeatCount + 1 << '\n';
    }
  }
}

void TrackMapJson(Json& json, const Image& image) {
  const Tables& t = image.Floppy();
  json.Key("tracks").BeginArray();
  for (int track = 0; track < kTracks; ++track) {
    const std::uint32_t count = t.SectorsOnTrack(track);
    if (count == 0 && t.specials[track][0].EndsList()) continue;
    json.BeginObject().Field("track", track).Key("sectors").BeginArray();
    for (std::uint32_t slot = 0; slot < count; ++slot) {
      const SectorRecord& r = t.sectors[track][slot];
      json.BeginObject()
          .Field("c", r.C)
          .Field("h", r.H)
          .Field("r", r.R)
          .Field("n", r.N)
          .Field("mfm", r.mfm != 0)
          .Field("deleted", r.deleted != 0)
          .Field("status", r.status)
          .Field("st0", r.st0)
          .Field("st1", r.st1)
          .Field("st2", r.st2)
          .Field("mediaType", r.mediaType)
          .Field("copies", r.repeatCount + 1)
          .EndObject();
    }
    json.EndArray().Key("specials").BeginArray();
    for (const SpecialReadRecord& s : t.specials[track]) {
      if (s.EndsList()) continue;
      json.BeginObject()
          .Field("command", s.command)
          .Field("c", s.C)
          .Field("h", s.H)
          .Field("r", s.R)
          .Field("n", s.N)
          .Field("status", s.status)
          .Field("st0", s.st0)
          .Field("st1", s.st1)
          .Field("st2", s.st2)
          .Field("length", s.dataLength)
          .Field("copies", s.repeatCount + 1)
          .EndObject();
    }
    json.EndArray().EndObject();
  }
  json.EndArray();
}

void Info(Context& c, Json& json, Image& image) {
  const disk::ImageInfo info = disk::Describe(
      image.Reader(), image.IsFloppy() ? disk::Medium::kFloppy : disk::Medium::kHardDisk);
  const std::vector<Finding> findings = Examine(image);
  const std::string comment =
      ShowDiskText(image.IsFloppy() ? image.Floppy().comment : image.Comment());
  const std::uint8_t media = image.IsFloppy() ? image.Floppy().sectors[0][0].mediaType : 0;
  if (c.json) {
    json.BeginObject()
        .Field("image", image.Path())
        .Field("format", KindName(image.GetKind()))
        .Field("disks", image.DiskCount())
        .Field("disk", image.DiskNumber())
        .Field("fileSize", image.FileSize())
        .Field("comment", comment)
        .Field("writeProtect", image.IsFloppy() && image.Floppy().writeProtect != 0)
        .Field("mountable", info.mountable)
        .Field("cylinders", info.cylinders)
        .Field("heads", info.heads)
        .Field("sectorsPerTrack", info.sectorsPerTrack)
        .Field("sectorSize", info.sectorSize);
    if (image.IsFloppy() && info.cylinders != 0) json.Field("mediaClass", MediaClass(media));
    json.Key("warnings").BeginArray();
    for (const Finding& f : findings) json.String(f.text);
    json.EndArray();
    if (c.Has("--tracks") && image.IsFloppy()) TrackMapJson(json, image);
    json.EndObject();
    return;
  }
  c.out << Title(image) << '\n';
  c.out << "  file size      " << Grouped(image.FileSize()) << " bytes\n";
  if (image.IsFloppy() || image.CommentCapacity() != 0)
    c.out << "  comment        " << comment << '\n';
  if (image.IsFloppy())
    c.out << "  write protect  " << (image.Floppy().writeProtect ? "on" : "off") << '\n';
  c.out << "  geometry       ";
  if (info.cylinders == 0) {
    c.out << "no sectors (unformatted)\n";
  } else {
    c.out << info.cylinders << " cylinders, " << info.heads << " heads, " << info.sectorsPerTrack
          << " sectors of " << info.sectorSize << " bytes";
    if (image.IsFloppy()) c.out << ", " << MediaClass(media);
    c.out << '\n';
  }
  if (!info.mountable) c.out << "  a drive does not mount it as it is\n";
  for (const Finding& f : findings)
    c.out << "  " << (f.problem ? "problem: " : "warning: ") << f.text << '\n';
  if (c.Has("--tracks") && image.IsFloppy()) TrackMapText(c, image);
}

}  // namespace

int RunInfo(Context& c) {
  Json json(c.out);
  if (c.json) json.BeginArray();
  int worst = kExitOk;
  for (const std::string& arg : c.args)
    worst = std::max(worst, ForEachDisk(c, arg, [&](Image& image) { Info(c, json, image); }));
  if (c.json) {
    json.EndArray();
    json.Line();
  }
  return worst;
}

int RunCheck(Context& c) {
  Json json(c.out);
  if (c.json) json.BeginArray();
  int worst = kExitOk;
  const bool strict = c.Has("--strict");
  auto report = [&](const std::string& title, const std::string& path,
                    const std::vector<Finding>& findings, const Digests* digests,
                    std::uint64_t dataBytes) {
    int problems = 0;
    for (const Finding& f : findings) problems += f.problem || strict ? 1 : 0;
    worst = std::max(worst, problems != 0 ? int{kExitProblems} : int{kExitOk});
    if (c.json) {
      json.BeginObject().Field("image", path).Key("problems").BeginArray();
      for (const Finding& f : findings)
        if (f.problem) json.String(f.text);
      json.EndArray().Key("warnings").BeginArray();
      for (const Finding& f : findings)
        if (!f.problem) json.String(f.text);
      json.EndArray().Field("sound", problems == 0);
      if (digests) {
        Digests copy = *digests;
        json.Field("dataBytes", dataBytes)
            .Field("crc32", copy.crc.Hex())
            .Field("sha1", copy.sha.FinishHex());
      }
      json.EndObject();
      return;
    }
    for (const Finding& f : findings)
      if (f.problem || !c.quiet)
        c.out << title << ": " << (f.problem ? "problem: " : "warning: ") << f.text << '\n';
    if (c.quiet) return;
    if (digests) {
      Digests copy = *digests;
      c.out << title << ": " << Grouped(dataBytes) << " bytes of data, CRC-32 " << copy.crc.Hex()
            << ", SHA-1 " << copy.sha.FinishHex() << '\n';
    }
    c.out << title << ": " << (problems == 0 ? "sound" : std::to_string(problems) + " problems")
          << '\n';
  };
  for (const std::string& arg : c.args) {
    std::unique_ptr<Image> probe;
    std::string reason;
    const ImageName named = ParseImageName(arg);
    const OpenStatus status = Image::Open(named, &probe, &reason);
    if (status == OpenStatus::kUnrecognised) {
      const std::vector<Finding> findings = Diagnose(named.path);
      if (!findings.empty()) {
        report(named.path, named.path, findings, nullptr, 0);
        continue;
      }
    }
    probe.reset();
    worst = std::max(worst, ForEachDisk(c, arg, [&](Image& image) {
                       const std::vector<Finding> findings = Examine(image);
                       const Digests digests = DataDigests(image, c.progress);
                       std::uint64_t bytes = 0;
                       if (image.IsFloppy()) {
                         for (int track = 0; track < kTracks; ++track)
                           for (std::uint32_t slot = 0; slot < image.Floppy().SectorsOnTrack(track);
                                ++slot)
                             bytes += SizeOfN(image.Floppy().sectors[track][slot].N);
                       } else {
                         bytes = image.Geometry().DataBytes();
                       }
                       report(Title(image), image.Path(), findings, &digests, bytes);
                     }));
  }
  if (c.json) {
    json.EndArray();
    json.Line();
  }
  return worst;
}

}  // namespace diskimg
