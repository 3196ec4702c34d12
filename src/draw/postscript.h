#pragma once
// The PostScript half of a picture: one page in centimetres, written record by
// record while the picture is drawn on the surface. Every operation does
// nothing while PostScript output is off in the settings or no file is open,
// so a plot calls it unconditionally beside each drawing call.
//
// Numbers are written in Fortran fields (coordinates, angles and sizes F9.4,
// colour components F4.1, grey and hue F5.2, page numbers I4). A coordinate
// beyond what its field can show is clamped to the field, a point or colour
// that is not finite is left out, and a line that would start without a
// current point (after a stroke, fill, new path or page) is written as a
// move, so every file stays valid PostScript.
#include <optional>
#include <string>
#include <string_view>

#include "draw/output_settings.h"
#include "text/record_sink.h"

namespace tambri {

// Pen codes of plot().
inline constexpr int kPenMove = 3;
inline constexpr int kPenLine = 2;
inline constexpr int kPenMoveOrigin = -3;  // move, then the point becomes the origin
inline constexpr int kPenLineOrigin = -2;  // line, then the point becomes the origin
inline constexpr int kPenNewPage = 999;
inline constexpr int kPenEnd = 9999;

// end_path() modes and rectangle() modes.
inline constexpr int kPathNew = 1;
inline constexpr int kPathFill = 2;
inline constexpr int kRectangleFilled = 1;
inline constexpr int kRectangleOutline = 0;

class PsWriter {
 public:
  // The settings are read at every call; they must outlive the writer.
  explicit PsWriter(const OutputSettings& settings) : settings_(settings) {}
  // A picture that did not reach its end (pen 9999) leaves no file: an old
  // one of that name stays as it was.
  ~PsWriter();
  PsWriter(const PsWriter&) = delete;
  PsWriter& operator=(const PsWriter&) = delete;

  // Creates or overwrites the file named by the blank-padded field, resets the
  // state and writes the prolog. Returns false when PostScript is on and the
  // file cannot be created (the picture then goes on without it); true when
  // it is off.
  bool open(std::string_view file_name);
  bool is_open() const { return file_.has_value(); }
  // False when the last file could not be created or writing it failed. The
  // records are written out in large pieces, so a failure shows for certain
  // once the picture has ended (plot with kPenEnd).
  bool ok() const { return ok_ && (!file_ || file_->ok()); }
  // What a picture says after its wait when ok() is false: the file could not
  // be created, or writing it failed (then the old file stays as it was).
  // Empty while all is well.
  std::string_view failure_message() const {
    if (ok()) return {};
    return open_failed_ ? " ### Fehler bei Dateieröffnung ###" : " ### Schreibfehler ###";
  }

  // Pen-plotter primitive: 3 move, 2 line, negative: afterwards the point is
  // the origin, 999 new page, 9999 end of picture (stroke, showpage, close).
  void plot(double x, double y, int pen);
  // Grey (n - k) / n: level n black, level 0 white.
  void set_grey(int k, int n);
  // Hue 0.667 (n - k) / n at full saturation and brightness: level 0 blue,
  // level n red.
  void set_hue(int k, int n);
  // One of the 17 fixed colours; other indices write nothing.
  void set_colour(int index);
  // 1 = 0.01 cm, 2 = 0.02 cm; written only when it changes.
  void set_line_width(int k);
  // kPathFill closes and fills the pending path; any other mode starts a new one.
  void end_path(int mode);
  // kRectangleFilled: filled; otherwise the outline, stroked by the next
  // operation that ends the path.
  void rectangle(double x1, double y1, double x2, double y2, int mode);
  // The first `count` characters of `text` (blank-padded when it is shorter)
  // in Helvetica of size `size` * 1.2; nothing unless 0 <= count < 2000. A
  // text with characters outside ASCII is written in Helvetica re-encoded to
  // ISO Latin-1, a character Latin-1 lacks as "?".
  void text(double x, double y, double size, std::string_view text, double angle, int count);

 private:
  bool active() const { return !settings_.postscript_off && file_.has_value(); }
  void write(std::string_view record) { file_->record(record); }
  void stroke_pending(std::string_view record);
  void write_point(double x, double y, std::string_view op);

  const OutputSettings& settings_;
  std::optional<FileRecordSink> file_;
  double x0_ = 0, y0_ = 0;
  bool path_pending_ = false;
  bool current_point_ = false;  // the interpreter has a current point
  int line_width_ = 1;
  int page_ = 1;
  bool latin1_font_defined_ = false;  // on the current page
  bool ok_ = true;
  bool open_failed_ = false;
};

// Where a picture of the structure sits on the page: a structure point
// (x, y) is written as (sh * y, -sv * x) after the origin has been moved to
// `origin_x`, `origin_y`.
struct PicturePlacement {
  double sh;
  double sv;
  double origin_x;
  double origin_y;
  double page_x(double structure_y) const { return sh * structure_y; }
  double page_y(double structure_x) const { return -sv * structure_x; }
};

// The two PostScript title texts: "TAMBRI: " + 25-character name (33
// characters) and "Struktur : " + 12-character stem + 35-character comment +
// two blanks (60 characters).
std::string ps_title_text(std::string_view quantity_name);
std::string ps_structure_text(std::string_view output_stem, std::string_view comment);

// A page's title block: the title line ("TAMBRI: " and the name, 33
// characters, size 0.6), the structure line ("Struktur : ", the structure's
// name and the comment, 60 characters, size 0.5) and, where a picture has
// one, a subtitle (size 0.4, as long as it is).
struct PageTitle {
  std::string_view name, structure, comment;
  std::string_view subtitle = {};
};

// The order of the block's records. Every picture keeps the order its pages
// have always had, so a page compares equal with an older one of it.
enum class TitleOrder {
  kTitleThenStructure,  // colour 1, title, structure
  kStructureThenTitle,  // colour 1, structure, title
  kTitleBeforeColour,   // title and subtitle in the page's first colour, then colour 1, structure
};

// Where the block stands, in centimetres from the page's corner.
struct PageTitleLayout {
  double x;
  double title_y, structure_y;
  TitleOrder order;
  double subtitle_x = 0, subtitle_y = 0;
};

// The block of the equicolour, isoline and arrow plots.
inline constexpr PageTitleLayout kStructureTitleLayout{3, 28, 27, TitleOrder::kTitleThenStructure};

void write_page_title(PsWriter& ps, const PageTitleLayout& layout, const PageTitle& title);

// The scales and origin of place_picture(), without writing anything.
PicturePlacement picture_placement(bool full_window, double x1, double dx, double y1, double dy);

// Placement of the equicolour, isoline and arrow plots for the displayed
// region with smallest X x1, smallest Y y1 and extents dx, dy: scales for a
// picture 16 cm across (equal scales unless `full_window`), the title lines
// at (3, 28) and (3, 27) in colour 1, and the origin moved so that the picture
// is centred on (11 cm, 17 cm). Move back with plot(-origin_x, -origin_y,
// kPenMoveOrigin).
PicturePlacement place_picture(PsWriter& ps, bool full_window, double x1, double dx, double y1, double dy,
                               std::string_view quantity_name, std::string_view output_stem, std::string_view comment);

}  // namespace tambri
