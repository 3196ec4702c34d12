#pragma once
// Fixed-width text fields count characters, not bytes: names, titles and the
// comment may hold German umlauts in UTF-8.
#include <string>
#include <string_view>
#include <vector>

namespace tambri {

// The characters of a UTF-8 text, one string per code point. A byte that does
// not start a valid sequence is kept as a character of its own.
std::vector<std::string> utf8_characters(std::string_view text);

// Number of characters of a UTF-8 text.
int utf8_length(std::string_view text);

// The first `width` characters, padded with blanks to exactly `width`.
std::string pad_to_width(std::string_view text, int width);

// The first `count` characters (fewer if the text is shorter).
std::string first_characters(std::string_view text, int count);

// A blank-padded field without its trailing blanks (a file name to open).
std::string trim_trailing_blanks(std::string_view text);

}  // namespace tambri
