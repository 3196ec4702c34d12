#include "draw/postscript.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "draw/picture_files.h"
#include "text/fortran_format.h"
#include "text/text_width.h"
#include "text/version.h"

namespace tambri {
namespace {

constexpr std::array<const char*, 21> kProlog = {
    "%!PS-Adobe-1.0",
    "% PostScript-File",
    "% Created by TAMBRI V" TAMBRI_VERSION ", 2D-Numerische Feldberechnung",
    "/a /arc load def",
    "/m /moveto load def",
    "/l /lineto load def",
    "/s /stroke load def",
    "/f /fill load def",
    "/g /setgray load def",
    "/c /closepath load def",
    "/n /newpath load def",
    "/co /setrgbcolor load def",
    "/hs /sethsbcolor load def",
    "/ci /curveto load def",
    "/w /setlinewidth load def",
    "/t {gsave findfont exch scalefont setfont moveto rotate show grestore} def",
    "%%EndProlog",
    "%%Page: 1 1",
    "28.3 28.3 scale",
    ".01 w",
    "0. g",
};

struct Rgb {
  double r, g, b;
};

constexpr std::array<Rgb, 17> kFixedColours = {{
    {0.0, 0.0, 0.0},
    {1.0, 0.0, 0.0},
    {0.0, 0.0, 1.0},
    {0.0, 1.0, 0.0},
    {1.0, 1.0, 0.0},
    {1.0, 0.0, 1.0},
    {0.0, 1.0, 1.0},
    {1.0, 0.5, 0.0},
    {0.0, 0.7, 1.0},
    {0.7, 1.0, 0.0},
    {1.0, 0.0, 0.0},
    {0.5, 0.6, 0.5},
    {0.3, 0.3, 0.3},
    {0.5, 0.5, 0.5},
    {0.6, 0.6, 0.6},
    {0.3, 0.3, 0.3},
    {0.2, 0.2, 0.2},
}};

constexpr double kFontFactor = 1.2;
constexpr int kMaxTextCount = 2000;

// A number field of the records, and the range it can show: a value beyond
// it is clamped to the nearest end, so that no field turns into asterisks,
// which PostScript cannot read.
struct NumberField {
  NumberField(int w, int d)
      : width(w),
        decimals(d),
        low(-(std::pow(10.0, w - d - 2) - std::pow(10.0, -d))),
        high(std::pow(10.0, w - d - 1) - std::pow(10.0, -d)) {}
  int width, decimals;
  double low, high;
};

const NumberField kCoordinateField(9, 4);  // coordinates, angles, sizes
const NumberField kLevelField(5, 2);       // grey, hue, saturation, brightness
const NumberField kColourField(4, 1);      // red, green, blue
const NumberField kWidthField(4, 2);       // line width

// Writes the field of a finite value at `out`; returns its end.
char* put(char* out, double value, const NumberField& f) {
  return put_f(out, std::clamp(value, f.low, f.high), f.width, f.decimals);
}

char* put(char* out, std::string_view text) { return std::copy(text.begin(), text.end(), out); }

// Helvetica in its standard encoding shows only ASCII; a text with any other
// character is shown in a copy of Helvetica re-encoded to ISO Latin-1, which
// holds the German letters. It is defined on each page before its first such
// text, so that every page still stands on its own.
constexpr std::array<const char*, 3> kLatin1Font = {
    "/Helvetica-ISOLatin1 /Helvetica findfont dup length dict begin",
    "{1 index /FID ne {def} {pop pop} ifelse} forall",
    "/Encoding ISOLatin1Encoding def currentdict end definefont pop",
};
constexpr std::string_view kFontCall = " /Helvetica t";
constexpr std::string_view kLatin1FontCall = " /Helvetica-ISOLatin1 t";

bool is_ascii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The Latin-1 code of one UTF-8 character; '?' for a character Latin-1 lacks
// (its C1 control codes included, which print nothing useful) and for a byte
// that is no character at all.
int latin1_code(std::string_view c) {
  const auto byte = [&c](size_t k) { return static_cast<unsigned char>(c[k]); };
  if (c.size() == 1 && byte(0) < 0x80) return byte(0);
  if (c.size() == 2 && (byte(0) == 0xC2 || byte(0) == 0xC3) && (byte(1) & 0xC0) == 0x80) {
    const int code = (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    if (code >= 0xA0) return code;
  }
  return '?';
}

// One character of a PostScript string: the specials take a backslash.
char* put_string_char(char* out, char c) {
  if (c == '\\' || c == '(' || c == ')') *out++ = '\\';
  *out++ = c;
  return out;
}

char* put_octal(char* out, int code) {
  *out++ = '\\';
  for (int shift = 6; shift >= 0; shift -= 3) *out++ = static_cast<char>('0' + (code >> shift & 7));
  return out;
}

}  // namespace

PsWriter::~PsWriter() {
  if (file_) file_->abandon();
}

bool PsWriter::open(std::string_view file_name) {
  ok_ = true;
  open_failed_ = false;
  if (settings_.postscript_off) return true;
  if (file_) file_->abandon();
  file_.reset();
  const std::string path = trim_trailing_blanks(file_name);
  if (!path.empty()) file_.emplace(path);
  if (!file_ || !file_->ok()) {
    file_.reset();
    ok_ = false;
    open_failed_ = true;
    return false;
  }
  x0_ = y0_ = 0;
  path_pending_ = false;
  current_point_ = false;
  line_width_ = 1;
  latin1_font_defined_ = false;
  for (const char* record : kProlog) write(record);
  page_ = 1;
  return true;
}

void PsWriter::stroke_pending(std::string_view record) {
  if (!path_pending_) return;
  write(record);
  path_pending_ = false;
  current_point_ = false;
}

void PsWriter::write_point(double x, double y, std::string_view op) {
  char* p = file_->open_record(2 * kCoordinateField.width + op.size());
  p = put(p, x, kCoordinateField);
  p = put(p, y, kCoordinateField);
  file_->end_record(put(p, op));
}

void PsWriter::plot(double x, double y, int pen) {
  if (!active()) return;
  if (pen == kPenNewPage || pen == kPenEnd) {
    stroke_pending("s");
    write("showpage");
    current_point_ = false;
    if (pen == kPenEnd) {
      ok_ = file_->close();
      file_.reset();
      return;
    }
    x0_ = y0_ = 0;
    latin1_font_defined_ = false;
    ++page_;
    write("%%Page: " + format_i(page_, 4) + format_i(page_, 4));
    write("28.3 28.3 scale .02 w 0. g");
    return;
  }
  const int kind = std::abs(pen);
  if (kind != kPenMove && kind != kPenLine) return;
  const double px = x + x0_, py = y + y0_;
  if (!std::isfinite(px) || !std::isfinite(py)) return;
  if (kind == kPenMove || !current_point_) {
    stroke_pending("s");
    write_point(px, py, " m");
  } else {
    write_point(px, py, " l");
    path_pending_ = true;
  }
  current_point_ = true;
  if (pen < 0) {
    x0_ = px;
    y0_ = py;
  }
}

void PsWriter::set_grey(int k, int n) {
  if (!active()) return;
  const double grey = static_cast<double>(n - k) / n;
  if (!std::isfinite(grey)) return;
  stroke_pending(" s");
  char* p = file_->open_record(kLevelField.width + 2);
  p = put(p, grey, kLevelField);
  file_->end_record(put(p, " g"));
}

void PsWriter::set_hue(int k, int n) {
  if (!active()) return;
  const double hue = 0.667 * (n - k) / n;
  if (!std::isfinite(hue)) return;
  stroke_pending(" s");
  char* p = file_->open_record(3 * kLevelField.width + 3);
  p = put(p, hue, kLevelField);
  p = put(p, 1.0, kLevelField);
  p = put(p, 1.0, kLevelField);
  file_->end_record(put(p, " hs"));
}

void PsWriter::set_colour(int index) {
  if (!active() || index < 1 || index > static_cast<int>(kFixedColours.size())) return;
  const Rgb& c = kFixedColours[static_cast<size_t>(index - 1)];
  stroke_pending(" s");
  char* p = file_->open_record(3 * kColourField.width + 3);
  p = put(p, c.r, kColourField);
  p = put(p, c.g, kColourField);
  p = put(p, c.b, kColourField);
  file_->end_record(put(p, " co"));
}

void PsWriter::set_line_width(int k) {
  if (!active() || k < 1 || k > 2 || k == line_width_) return;
  stroke_pending(" s");
  char* p = file_->open_record(kWidthField.width + 2);
  p = put(p, 0.01 * k, kWidthField);
  file_->end_record(put(p, " w"));
  line_width_ = k;
}

void PsWriter::end_path(int mode) {
  if (!active()) return;
  if (mode == kPathFill) {
    write("c f");
    path_pending_ = false;
  } else {
    write("n");
  }
  current_point_ = false;
}

void PsWriter::rectangle(double x1, double y1, double x2, double y2, int mode) {
  if (!active()) return;
  if (mode == kRectangleFilled) {
    plot(x1, y1, kPenMove);
    end_path(kPathNew);
  }
  plot(x1, y1, kPenMove);
  plot(x2, y1, kPenLine);
  plot(x2, y2, kPenLine);
  plot(x1, y2, kPenLine);
  plot(x1, y1, kPenLine);
  if (mode == kRectangleFilled) end_path(kPathFill);
}

void PsWriter::text(double x, double y, double size, std::string_view text, double angle, int count) {
  if (!active() || count < 0 || count >= kMaxTextCount) return;
  const double px = x + x0_, py = y + y0_, font = size * kFontFactor;
  if (!std::isfinite(angle) || !std::isfinite(px) || !std::isfinite(py) || !std::isfinite(font)) return;
  stroke_pending("s");
  const std::string shown = pad_to_width(text, count);
  const bool latin1 = !is_ascii(shown);
  if (latin1 && !latin1_font_defined_) {
    for (const char* record : kLatin1Font) write(record);
    latin1_font_defined_ = true;
  }
  // Every byte becomes at most two (a backslash before an ASCII special, a
  // two-byte character as one octal escape of four).
  char* p = put(file_->open_record(2 * shown.size() + 3), "(");
  if (!latin1) {
    for (char c : shown) p = put_string_char(p, c);
  } else {
    for (const std::string& c : utf8_characters(shown)) {
      const int code = latin1_code(c);
      p = code < 0x80 ? put_string_char(p, static_cast<char>(code)) : put_octal(p, code);
    }
  }
  file_->end_record(put(p, ") "));
  const std::string_view call = latin1 ? kLatin1FontCall : kFontCall;
  p = file_->open_record(4 * kCoordinateField.width + call.size());
  p = put(p, angle, kCoordinateField);
  p = put(p, px, kCoordinateField);
  p = put(p, py, kCoordinateField);
  p = put(p, font, kCoordinateField);
  file_->end_record(put(p, call));
}

std::string ps_title_text(std::string_view quantity_name) { return "TAMBRI: " + pad_to_width(quantity_name, 25); }

std::string ps_structure_text(std::string_view output_stem, std::string_view comment) {
  return "Struktur : " + pad_to_width(output_stem, 12) + pad_to_width(comment, 35) + "  ";
}

void write_page_title(PsWriter& ps, const PageTitleLayout& layout, const PageTitle& title) {
  const auto title_line = [&] { ps.text(layout.x, layout.title_y, 0.6, ps_title_text(title.name), 0, 33); };
  const auto structure_line = [&] {
    ps.text(layout.x, layout.structure_y, 0.5, ps_structure_text(title.structure, title.comment), 0, 60);
  };
  switch (layout.order) {
    case TitleOrder::kTitleThenStructure:
      ps.set_colour(1);
      title_line();
      structure_line();
      return;
    case TitleOrder::kStructureThenTitle:
      ps.set_colour(1);
      structure_line();
      title_line();
      return;
    case TitleOrder::kTitleBeforeColour:
      title_line();
      ps.text(layout.subtitle_x, layout.subtitle_y, 0.4, title.subtitle, 0, utf8_length(title.subtitle));
      ps.set_colour(1);
      structure_line();
      return;
  }
}

PicturePlacement picture_placement(bool full_window, double x1, double dx, double y1, double dy) {
  PicturePlacement p{};
  if (full_window) {
    p.sh = 16 / dy;
    p.sv = 16 / dx;
  } else {
    p.sh = p.sv = 16 / std::max(dx, dy);
  }
  p.origin_x = 11 - p.sh * y1 - p.sh * dy / 2;
  p.origin_y = 17 + p.sv * x1 + p.sv * dx / 2;
  return p;
}

PicturePlacement place_picture(PsWriter& ps, bool full_window, double x1, double dx, double y1, double dy,
                               std::string_view quantity_name, std::string_view output_stem, std::string_view comment) {
  write_page_title(ps, kStructureTitleLayout, {quantity_name, output_stem, comment});
  const PicturePlacement p = picture_placement(full_window, x1, dx, y1, dy);
  ps.plot(p.origin_x, p.origin_y, kPenMoveOrigin);
  return p;
}

}  // namespace tambri
