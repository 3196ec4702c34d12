#pragma once
// The user's choices for picture files and the picture background; set at
// start-up, changed only in the output sub-menus, kept for the whole run.
#include <string>

namespace tambri {

struct OutputSettings {
  bool postscript_off = true;
  bool black_and_white = false;
  bool bitmap_off = true;
  bool white_background = false;
  std::string comment = std::string(35, ' ');  // second PostScript title line
  // Set by the command line, not the dialogue: every bitmap saved also as
  // "<name>.png".
  bool png_copies = false;
};

}  // namespace tambri
