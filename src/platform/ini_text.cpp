#include "platform/ini_text.h"

#include <cctype>
#include <vector>

namespace platform {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

struct Line {
  size_t begin;              // offset of the line in the text
  size_t end;                // offset just past its line break (or the end of the text)
  std::string_view content;  // without the line break
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
    std::string_view content =
        text.substr(pos, (nl == std::string_view::npos ? text.size() : nl) - pos);
    if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
    lines.push_back({pos, end, content});
    pos = end;
  }
  return lines;
}

// The section name of a "[name]" line, or no value for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> SplitKeyLine(std::string_view line) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Index range [first, last) of the lines of the first section with that name; first is the
// header line. No value when the section is missing.
struct SectionRange {
  size_t header;
  size_t last;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i].content);
    if (!name || !SameName(*name, section)) continue;
    size_t j = i + 1;
    while (j < lines.size() && !SectionName(lines[j].content)) ++j;
    return SectionRange{i, j};
  }
  return std::nullopt;
}

std::string_view LineBreakOf(std::string_view text) {
  return text.find("\r\n") != std::string_view::npos || text.empty() ? "\r\n" : "\n";
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  auto lines = SplitLines(text);
  auto range = FindSection(lines, section);
  if (!range) return std::nullopt;
  for (size_t i = range->header + 1; i < range->last; ++i) {
    auto kv = SplitKeyLine(lines[i].content);
    if (kv && SameName(kv->key, key)) return std::string(Unquote(kv->value));
  }
  return std::nullopt;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
  auto lines = SplitLines(text);
  std::string_view br = LineBreakOf(text);
  std::string entry = std::string(key) + "=" + std::string(value);
  auto range = FindSection(lines, section);
  std::string out;
  if (!range) {
    out.assign(text);
    if (!out.empty() && out.back() != '\n') out += br;
    if (!out.empty()) out += br;  // a blank line between sections, as Windows writes them
    out += "[" + std::string(section) + "]" + std::string(br) + entry + std::string(br);
    return out;
  }
  for (size_t i = range->header + 1; i < range->last; ++i) {
    auto kv = SplitKeyLine(lines[i].content);
    if (!kv || !SameName(kv->key, key)) continue;
    // Keep the key's own spelling and the line's break.
    std::string replaced = std::string(kv->key) + "=" + std::string(value);
    std::string_view tail = text.substr(lines[i].begin + lines[i].content.size(),
                                        lines[i].end - lines[i].begin - lines[i].content.size());
    out.assign(text.substr(0, lines[i].begin));
    out += replaced;
    out += tail.empty() ? std::string_view() : tail;
    out += text.substr(lines[i].end);
    return out;
  }
  // Append after the section's last non-blank line.
  size_t after = range->header;
  for (size_t i = range->header + 1; i < range->last; ++i)
    if (!Trim(lines[i].content).empty()) after = i;
  size_t insertAt = lines[after].end;
  out.assign(text.substr(0, insertAt));
  if (insertAt == text.size() && !out.empty() && out.back() != '\n') out += br;
  out += entry;
  out += br;
  out += text.substr(insertAt);
  return out;
}

}  // namespace platform
