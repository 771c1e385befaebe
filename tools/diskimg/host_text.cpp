#include "host_text.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "platform/text_codec.h"

namespace diskimg {
namespace {

disk::fat::DosTimestamp FromTimeT(std::time_t t) {
  const std::tm* local = std::localtime(&t);
  if (local == nullptr) return disk::fat::DosTimestamp::From(1980, 1, 1, 0, 0, 0);
  return disk::fat::DosTimestamp::From(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
                                       local->tm_hour, local->tm_min, local->tm_sec);
}

}  // namespace

std::string ShowDiskText(std::string_view disk) {
#ifdef _WIN32
  return std::string(disk);
#else
  return platform::ShiftJisToUtf8(disk).value_or(std::string(disk));
#endif
}

std::optional<std::string> DiskTextOf(std::string_view host) {
#ifdef _WIN32
  return std::string(host);
#else
  return platform::Utf8ToShiftJis(host);
#endif
}

std::string DateText(const disk::fat::DosTimestamp& s, bool iso) {
  char text[32];
  if (iso) {
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", s.Year(), s.Month(), s.Day(),
                  s.Hour(), s.Minute(), s.Second());
  } else {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", s.Year(), s.Month(), s.Day(),
                  s.Hour(), s.Minute());
  }
  return text;
}

disk::fat::DosTimestamp Now() {
  return FromTimeT(std::time(nullptr));
}

disk::fat::DosTimestamp HostFileTime(const std::string& path) {
  std::error_code error;
  const auto written = std::filesystem::last_write_time(path, error);
  if (error) return Now();
  const auto system = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
      std::chrono::file_clock::to_sys(written));
  return FromTimeT(std::chrono::system_clock::to_time_t(system));
}

void SetHostFileTime(const std::string& path, const disk::fat::DosTimestamp& s) {
  std::tm local{};
  local.tm_year = s.Year() - 1900;
  local.tm_mon = s.Month() - 1;
  local.tm_mday = s.Day();
  local.tm_hour = s.Hour();
  local.tm_min = s.Minute();
  local.tm_sec = s.Second();
  local.tm_isdst = -1;
  const std::time_t t = std::mktime(&local);
  if (t == static_cast<std::time_t>(-1)) return;
  const auto system = std::chrono::system_clock::from_time_t(t);
  std::error_code error;  // a time that cannot be set leaves the file's own
  std::filesystem::last_write_time(
      path,
      std::chrono::time_point_cast<std::filesystem::file_time_type::duration>(
          std::chrono::file_clock::from_sys(system)),
      error);
}

std::string BaseName(const std::string& path) {
#ifdef _WIN32
  const std::size_t slash = path.find_last_of("/\\");
#else
  const std::size_t slash = path.rfind('/');
#endif
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace diskimg
