#include "json.h"

#include <cstdio>

namespace diskimg {
namespace {

// Length of the UTF-8 sequence at `at`, or 0 when the bytes there are not one.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<std::uint8_t>(text[at]);
  std::size_t length = lead < 0x80                   ? 1
                       : lead >= 0xC2 && lead < 0xE0 ? 2
                       : lead >= 0xE0 && lead < 0xF0 ? 3
                       : lead >= 0xF0 && lead < 0xF5 ? 4
                                                     : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<std::uint8_t>(text[at + i]) & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

void Json::Separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ << ',';
    first_.back() = false;
  }
}

Json& Json::BeginObject() {
  Separate();
  out_ << '{';
  first_.push_back(true);
  return *this;
}

Json& Json::EndObject() {
  out_ << '}';
  first_.pop_back();
  return *this;
}

Json& Json::BeginArray() {
  Separate();
  out_ << '[';
  first_.push_back(true);
  return *this;
}

Json& Json::EndArray() {
  out_ << ']';
  first_.pop_back();
  return *this;
}

Json& Json::Key(std::string_view key) {
  String(key);
  out_ << ':';
  afterKey_ = true;
  return *this;
}

Json& Json::String(std::string_view text) {
  Separate();
  out_ << '"';
  char escape[8];
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<std::uint8_t>(text[i]);
    const std::size_t length = Utf8Length(text, i);
    if (c == '"' || c == '\\') {
      out_ << '\\' << static_cast<char>(c);
    } else if (c < 0x20 || length == 0) {
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out_ << escape;
    } else {
      out_ << text.substr(i, length);
      i += length;
      continue;
    }
    ++i;
  }
  out_ << '"';
  return *this;
}

Json& Json::Number(std::int64_t value) {
  Separate();
  out_ << value;
  return *this;
}

Json& Json::Bool(bool value) {
  Separate();
  out_ << (value ? "true" : "false");
  return *this;
}

Json& Json::Null() {
  Separate();
  out_ << "null";
  return *this;
}

}  // namespace diskimg
