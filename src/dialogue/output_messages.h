#pragma once
// What the display and output menus of GENERATE and RESULTS say about the
// picture settings, each text describing the state a switch is in.

namespace tambri {

inline const char* postscript_text(bool off) {
  return off ? " *** PostScript-Ausgabe deaktiviert ***" : " *** PostScript-Ausgabe aktiviert ***";
}
inline const char* colour_text(bool black_and_white) {
  return black_and_white ? " *** PostScript-Ausgabe s/w ***" : " *** PostScript-Ausgabe farbig ***";
}
inline const char* bitmap_text(bool off) {
  return off ? " *** Bitmap-Ausgabe deaktiviert ***" : " *** Bitmap-Ausgabe aktiviert ***";
}
inline const char* background_text(bool white) {
  return white ? " *** Bildhintergrund weiß ***" : " *** Bildhintergrund schwarz ***";
}

}  // namespace tambri
