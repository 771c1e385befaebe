#include "named_drives.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

namespace mhwhost {
namespace {

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// The keys of the first section [DISK], upper-cased, each with the value of its first line.
// False when there is no such section.
bool DiskSection(std::istream& in, std::map<std::string, std::string>& values) {
  bool inside = false, found = false;
  for (std::string line; std::getline(in, line);) {
    line = Trim(line);
    const std::size_t close = line.find(']');
    if (!line.empty() && line[0] == '[' && close != std::string::npos) {
      inside = !found && Upper(Trim(line.substr(1, close - 1))) == "DISK";
      found |= inside;
    } else if (const std::size_t eq = line.find('='); inside && eq != std::string::npos) {
      values.emplace(Upper(Trim(line.substr(0, eq))), Unquote(Trim(line.substr(eq + 1))));
    }
  }
  return found;
}

}  // namespace

bool NamedDrives::NamesAny() const {
  for (const auto& path : paths)
    if (!path.empty()) return true;
  return false;
}

const char* NamedDrives::Key(int drive) {
  static const char* const keys[kNamedDrives] = {"DISK00", "DISK01", "DISK02", "DISK03"};
  return keys[drive];
}

const char* NamedDrives::Name(int drive) {
  static const char* const names[kNamedDrives] = {"floppy 1", "floppy 2", "hard disk 1",
                                                  "hard disk 2"};
  return names[drive];
}

bool ReadNamedDrives(const std::string& iniPath, NamedDrives& drives, std::string& problem) {
  std::error_code error;
  if (std::filesystem::is_directory(iniPath, error)) {
    problem = "the INI file " + iniPath + " is a folder";
    return false;
  }
  std::ifstream in(iniPath, std::ios::binary);
  if (!in) {
    problem = "cannot read the INI file " + iniPath + ": " + std::strerror(errno);
    return false;
  }
  std::map<std::string, std::string> values;
  if (!DiskSection(in, values)) {
    problem = "the INI file " + iniPath + " has no section [DISK]";
    return false;
  }
  auto value = [&values](const std::string& key, const char* fallback) {
    auto it = values.find(key);
    return it != values.end() ? it->second : std::string(fallback);
  };
  auto numbered = [](const char* name, int number) {
    char key[16];
    std::snprintf(key, sizeof key, "%s%02d", name, number);
    return std::string(key);
  };
  for (int i = 0; i < kNamedDrives; ++i) drives.paths[i] = value(numbered("DISK", i), "");
  for (int i = 0; i < 2; ++i) {
    const std::string useImage = value(numbered("BLNIMAGE", i), "1");
    drives.realDrive[i] = !useImage.empty() && useImage[0] == '0';
    const std::string letter = value(numbered("SZFDD", i), "A");
    drives.letter[i] =
        static_cast<char>(letter.empty() ? 0 : std::toupper(static_cast<unsigned char>(letter[0])));
    drives.media144[i] = std::strtol(value(numbered("BYTYPE", i), "0").c_str(), nullptr, 10) != 0;
  }
  const std::string wait = value("FDWAIT", "0");
  drives.fdWait = wait.empty() || wait[0] != '0';
  return true;
}

std::string RealDriveMedium(char letter) {
  const std::string variable = std::string("DISK_RAW_DRIVE_") + letter;
  if (const char* chosen = std::getenv(variable.c_str()); chosen != nullptr && *chosen != '\0')
    return chosen;
#if defined(_WIN32)
  return std::string("\\\\.\\") + letter + ":";
#else
  return "/dev/fd" + std::to_string(letter - 'A');
#endif
}

}  // namespace mhwhost
