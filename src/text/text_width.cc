#include "text/text_width.h"

namespace tambri {
namespace {

// Length of the UTF-8 sequence starting at text[pos]; 1 for a stray byte.
size_t sequence_length(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t len = 1;
  if (lead >= 0xF0 && lead <= 0xF4) len = 4;
  else if (lead >= 0xE0) len = 3;
  else if (lead >= 0xC2 && lead <= 0xDF) len = 2;
  if (len == 1 || pos + len > text.size()) return 1;
  for (size_t k = 1; k < len; ++k) {
    if ((static_cast<unsigned char>(text[pos + k]) & 0xC0) != 0x80) return 1;
  }
  return len;
}

}  // namespace

std::vector<std::string> utf8_characters(std::string_view text) {
  std::vector<std::string> chars;
  for (size_t pos = 0; pos < text.size();) {
    size_t len = sequence_length(text, pos);
    chars.emplace_back(text.substr(pos, len));
    pos += len;
  }
  return chars;
}

int utf8_length(std::string_view text) {
  int n = 0;
  for (size_t pos = 0; pos < text.size(); pos += sequence_length(text, pos)) ++n;
  return n;
}

std::string first_characters(std::string_view text, int count) {
  size_t pos = 0;
  for (int n = 0; n < count && pos < text.size(); ++n) pos += sequence_length(text, pos);
  return std::string(text.substr(0, pos));
}

std::string trim_trailing_blanks(std::string_view text) {
  const size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

std::string pad_to_width(std::string_view text, int width) {
  std::string out = first_characters(text, width);
  out.append(static_cast<size_t>(width - utf8_length(out)), ' ');
  return out;
}

}  // namespace tambri
