// A small writer of JSON text: nested objects and arrays on one line, commas placed by the
// writer. Text that is not UTF-8 is written with each odd byte as its Latin-1 code point, so the
// output always parses.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace diskimg {

class Json {
 public:
  explicit Json(std::ostream& out) : out_(out) {}

  Json& BeginObject();
  Json& EndObject();
  Json& BeginArray();
  Json& EndArray();
  Json& Key(std::string_view key);
  Json& String(std::string_view text);
  Json& Number(std::int64_t value);
  Json& Bool(bool value);
  Json& Null();

  // A key and its value in one call.
  template <typename T>
  Json& Field(std::string_view key, const T& value) {
    Key(key);
    return Value(value);
  }
  // Ends the top-level value with a newline.
  void Line() { out_ << '\n'; }

 private:
  Json& Value(std::string_view text) { return String(text); }
  Json& Value(const std::string& text) { return String(text); }
  Json& Value(const char* text) { return String(text); }
  Json& Value(bool value) { return Bool(value); }
  template <typename T>
  Json& Value(T value) {
    return Number(static_cast<std::int64_t>(value));
  }
  void Separate();

  std::ostream& out_;
  std::vector<bool> first_;  // per open container: nothing written in it yet
  bool afterKey_ = false;
};

}  // namespace diskimg
