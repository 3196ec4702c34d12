#include "draw/picture_files.h"

#include "text/text_width.h"

namespace tambri {

std::string picture_file_name(std::string_view output_stem, std::string_view tag, std::string_view extension) {
  std::string name = first_characters(output_stem.substr(0, output_stem.find(' ')), 6);
  // At least one character, even of a blank stem.
  if (name.empty()) name.push_back(' ');
  name.append(tag);
  name.append(extension);
  return pad_to_width(name, 12);
}

}  // namespace tambri
