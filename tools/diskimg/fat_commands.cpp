// ls, get, put, rm, mkdir: files on the FAT12/FAT16 file system of a floppy, or of a partition
// of a hard disk's PC-98 partition table.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common.h"
#include "fat/pc98_partition_table.h"
#include "fat/volume.h"
#include "host_text.h"
#include "json.h"

namespace diskimg {
namespace {

using disk::fat::DirEntry;
using disk::fat::FatStatus;

struct Mounted {
  std::unique_ptr<Image> image;
  std::unique_ptr<disk::fat::DeviceWindow> partition;
  std::unique_ptr<disk::fat::Volume> volume;
};

int ExitFor(FatStatus status) {
  switch (status) {
    case FatStatus::kOk:
      return kExitOk;
    case FatStatus::kDiskFull:
    case FatStatus::kRootFull:
    case FatStatus::kTooLarge:
      return kExitOutput;
    case FatStatus::kIoError:
    case FatStatus::kCorrupt:
    case FatStatus::kNotFat:
    case FatStatus::kBadLayout:
      return kExitInput;
    default:
      return kExitProblems;
  }
}

// The partition a hard disk's file system is on: the one asked for, else the first.
int SelectPartition(Context& c, Mounted& m, const ImageName& named,
                    disk::fat::SectorDevice** device) {
  const HardDiskGeometry& g = m.image->Geometry();
  std::vector<disk::fat::Pc98Partition> partitions;
  const auto status = disk::fat::ReadPc98Partitions(**device, {g.heads, g.sectors}, &partitions);
  if (status == disk::fat::TableStatus::kNoTable) {
    if (named.partition != 0) return c.Fail(kExitUsage, named.path, "has no partition table");
    return kExitOk;  // a file system over the whole disk
  }
  if (status != disk::fat::TableStatus::kFound)
    return c.Fail(kExitInput, named.path, "its partition table cannot be read");
  if (partitions.empty()) return c.Fail(kExitInput, named.path, "its partition table is empty");
  const std::uint32_t index = named.partition == 0 ? 1 : named.partition;
  if (index > partitions.size())
    return c.Fail(kExitUsage, named.path,
                  "has " + std::to_string(partitions.size()) + " partitions");
  const auto& p = partitions[index - 1];
  m.partition = std::make_unique<disk::fat::DeviceWindow>(**device, p.firstSector, p.sectorCount);
  *device = m.partition.get();
  return kExitOk;
}

int Mount(Context& c, const std::string& arg, Mounted& m) {
  ImageName named;
  if (int code = OpenImageArg(c, arg, &m.image, &named)) return code;
  disk::fat::SectorDevice* device = m.image->Device();
  if (device == nullptr)
    return c.Fail(kExitInput, named.path, "holds no run of equal sectors for a file system");
  if (m.image->IsFloppy()) {
    if (named.partition != 0) return c.Fail(kExitUsage, named.path, "a floppy has no partitions");
  } else if (int code = SelectPartition(c, m, named, &device)) {
    return code;
  }
  const FatStatus status = disk::fat::Volume::Mount(*device, &m.volume);
  if (status != FatStatus::kOk)
    return c.Fail(kExitInput, named.path, disk::fat::FatStatusText(status));
  return kExitOk;
}

std::string NameOf(const DirEntry& entry) {
  return ShowDiskText(disk::fat::ShortNameText(entry.name));
}

// The disk's form of a path typed on the host.
bool DiskPath(Context& c, const std::string& host, std::string* disk) {
  auto converted = DiskTextOf(host);
  if (!converted) {
    c.Fail(kExitProblems, host, "has characters a PC-98 disk cannot store");
    return false;
  }
  *disk = *converted;
  return true;
}

std::string Joined(const std::string& directory, const std::string& name) {
  if (directory.empty() || directory.back() == '/' || directory.back() == '\\')
    return directory + name;
  return directory + "/" + name;
}

int Report(Context& c, const std::string& what, FatStatus status) {
  return c.Fail(ExitFor(status), what, disk::fat::FatStatusText(status));
}

// Writes the changes back once every operation has succeeded; otherwise nothing is written.
int Finish(Context& c, Mounted& m, int code) {
  if (code != kExitOk) {
    if (m.image->Changed()) c.err << "diskimg: nothing was written to " << m.image->Path() << '\n';
    return code;
  }
  return CommitImage(c, *m.image);
}

void ListJson(Context& c, const std::string& path, const std::vector<DirEntry>& entries,
              std::uint64_t freeBytes) {
  Json json(c.out);
  json.BeginObject().Field("path", path).Key("entries").BeginArray();
  for (const DirEntry& e : entries) {
    json.BeginObject()
        .Field("name", NameOf(e))
        .Field("directory", e.IsDirectory())
        .Field("size", e.size)
        .Field("attributes", e.attributes)
        .Field("written", DateText(e.written, true))
        .EndObject();
  }
  json.EndArray().Field("free", freeBytes).EndObject().Line();
}

}  // namespace

int RunList(Context& c) {
  Mounted m;
  if (int code = Mount(c, c.args[0], m)) return code;
  std::string path;
  if (!DiskPath(c, c.args.size() > 1 ? c.args[1] : "/", &path)) return kExitProblems;
  DirEntry entry;
  FatStatus status = m.volume->Stat(path, &entry);
  std::vector<DirEntry> entries;
  if (status == FatStatus::kOk && entry.IsDirectory()) {
    status = m.volume->List(path, &entries);
  } else if (status == FatStatus::kOk) {
    entries.push_back(entry);
  }
  if (status != FatStatus::kOk) return Report(c, c.args.size() > 1 ? c.args[1] : "/", status);

  if (c.json) {
    ListJson(c, ShowDiskText(path), entries, m.volume->FreeBytes());
    return kExitOk;
  }
  std::uint64_t bytes = 0;
  int files = 0;
  char line[64];
  for (const DirEntry& e : entries) {
    if (e.IsDirectory()) {
      std::snprintf(line, sizeof line, "%s  %10s  ", DateText(e.written, false).c_str(), "<DIR>");
    } else {
      std::snprintf(line, sizeof line, "%s  %10u  ", DateText(e.written, false).c_str(), e.size);
      bytes += e.size;
      ++files;
    }
    c.out << line << NameOf(e) << '\n';
  }
  c.Say(std::to_string(files) + " files, " + Grouped(bytes) + " bytes; " +
        Grouped(m.volume->FreeBytes()) + " bytes free");
  return kExitOk;
}

int RunGet(Context& c) {
  Mounted m;
  if (int code = Mount(c, c.args[0], m)) return code;
  const std::string dest = c.args.back();
  const std::size_t count = c.args.size() - 2;
  const bool intoFolder = std::filesystem::is_directory(dest);
  if (!intoFolder && count > 1) return c.Usage(dest + " is not a folder");
  for (std::size_t i = 1; i <= count; ++i) {
    std::string path;
    if (!DiskPath(c, c.args[i], &path)) return kExitProblems;
    DirEntry entry;
    std::vector<std::uint8_t> data;
    FatStatus status = m.volume->Stat(path, &entry);
    if (status == FatStatus::kOk) status = m.volume->ReadFile(path, &data);
    if (status != FatStatus::kOk) return Report(c, c.args[i], status);
    const std::string target = intoFolder ? Joined(dest, NameOf(entry)) : dest;
    if (!WriteWholeFile(target, data, c.progress))
      return c.Fail(kExitOutput, target, "cannot be written");
    SetHostFileTime(target, entry.written);
    c.Say(c.args[i] + " -> " + target + " (" + Grouped(data.size()) + " bytes)");
  }
  return kExitOk;
}

int RunPut(Context& c) {
  Mounted m;
  if (int code = Mount(c, c.args[0], m)) return code;
  // The last argument names the place in the image, unless it is a host file to put as well.
  const bool targetGiven = c.args.size() > 2 && !std::filesystem::is_regular_file(c.args.back());
  const std::size_t count = c.args.size() - (targetGiven ? 2 : 1);
  std::string target;
  if (!DiskPath(c, targetGiven ? c.args.back() : "/", &target)) return kExitProblems;
  DirEntry entry;
  const bool intoDirectory =
      m.volume->Stat(target, &entry) == FatStatus::kOk && entry.IsDirectory();
  if (!intoDirectory && count > 1)
    return c.Usage(c.args.back() + " is not a directory in the image");
  int code = kExitOk;
  for (std::size_t i = 1; i <= count && code == kExitOk; ++i) {
    const std::string& host = c.args[i];
    std::ifstream in(host, std::ios::binary);
    if (!in || std::filesystem::is_directory(host)) {
      code = c.Fail(kExitInput, host, "cannot be read");
      break;
    }
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    std::string path = target;
    if (intoDirectory) {
      std::string name;
      if (!DiskPath(c, BaseName(host), &name)) return kExitProblems;
      path = Joined(target, name);
    }
    const FatStatus status = m.volume->WriteFile(path, data, HostFileTime(host));
    if (status != FatStatus::kOk) {
      code = Report(c, ShowDiskText(path), status);
    } else {
      c.Say((c.dryRun ? "would put " : "") + host + " -> " + ShowDiskText(path) + " (" +
            Grouped(data.size()) + " bytes)");
    }
  }
  return Finish(c, m, code);
}

// One operation on each path after the image, stopping at the first that fails.
template <typename Operation>
int OnEachPath(Context& c, Operation operation) {
  Mounted m;
  if (int code = Mount(c, c.args[0], m)) return code;
  int code = kExitOk;
  for (std::size_t i = 1; i < c.args.size() && code == kExitOk; ++i) {
    std::string path;
    if (!DiskPath(c, c.args[i], &path)) return kExitProblems;
    const FatStatus status = operation(*m.volume, path);
    code = status == FatStatus::kOk ? kExitOk : Report(c, c.args[i], status);
  }
  return Finish(c, m, code);
}

int RunRemove(Context& c) {
  return OnEachPath(c,
                    [](disk::fat::Volume& v, const std::string& path) { return v.Remove(path); });
}

int RunMakeDirectory(Context& c) {
  return OnEachPath(c, [](disk::fat::Volume& v, const std::string& path) {
    return v.MakeDirectory(path, Now());
  });
}

}  // namespace diskimg
