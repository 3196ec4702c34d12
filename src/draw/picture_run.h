#pragma once
// One run of a picture, from the cleared window to the end of its page: the
// frame, the page and the files named from the picture's tag. A picture asks
// its questions first, then paints through the run:
//
//   PictureRun run(pictures, console, output, stem, kTagCut);
//   run.begin(picture_title(name), kCutViewport);   // background, clear, viewport, title
//   run.open_page(kCutTitleLayout, {name, structure, comment, where});  // "<stem>_s.ps"
//   run.set_world({amin, vmin, amax, vmax}, kValueUpward);
//   ... Plotter plot(run.surface(), &run.page(), output, mapping); draw ...
//   const auto probe = run.probe<CutProbe>(grid, ...);   // what the pointer reads
//   run.end("<Return>", probe);   // "<stem>_s.bmp", prompt, wait for Return, restore
//   ... what the page writes after the wait ...
//   run.end_page();        // pen 9999; a page that failed is said after the wait
//
// A run with an empty tag writes no files, and one that never opens its page
// has none: end_page() then does nothing. The run keeps the mapping the field
// was drawn with, so that a probe maps the pointer back to the model with it
// and not with the legend's, which comes later.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "draw/display_window.h"
#include "draw/output_settings.h"
#include "draw/picture_frame.h"
#include "draw/pictures.h"
#include "draw/postscript.h"
#include "text/console.h"

namespace tambri {

// " TAMBRI: " and the quantity's name in 25 characters: the first line of
// every result picture.
std::string picture_title(std::string_view name);

// 1PE8.1, the form of every number written into a picture.
std::string value_label(double value);

// A text window of the surface, in character cells.
struct TextWindow {
  int row1, column1, row2, column2;
  bool operator==(const TextWindow&) const = default;
};
void set_text_window(GraphicsSurface& surface, const TextWindow& window);

// A cell of the current text window: where the next text starts.
struct TextCell {
  int row, column;
};
void set_text_position(GraphicsSurface& surface, const TextCell& cell);
void write_text(GraphicsSurface& surface, const TextCell& cell, std::string_view text);

// gfx_set_world's `invert`: the smaller vertical world value at the top (the
// structure pictures, model x downward) or at the bottom (values upward).
inline constexpr int kVerticalDown = 0;
inline constexpr int kValueUpward = 1;

class PictureRun {
 public:
  // `stem` and `tag` must outlive the run.
  PictureRun(Pictures pictures, Console& console, const OutputSettings& output, std::string_view stem,
             std::string_view tag);
  PictureRun(const PictureRun&) = delete;
  PictureRun& operator=(const PictureRun&) = delete;

  // The frame's start (see PictureFrame::begin).
  void begin(std::string_view title, PixelRect viewport = kPictureViewport);
  // Opens "<stem><tag>.ps" and writes its title block.
  void open_page(const PageTitleLayout& layout, const PageTitle& title);
  // Where the shown part of the structure goes on the page (see
  // place_picture); moves the origin there. Move back with
  // plot(-origin_x, -origin_y, kPenMoveOrigin).
  PicturePlacement place_on_page(const Grid& grid, const DisplayWindow& w, bool full_window);

  // Sets the surface's world on the viewport of begin() and keeps the
  // mapping; false (nothing changed or kept) when it has no extent.
  bool set_world(const WorldWindow& world, int invert = kVerticalDown);
  const std::optional<WorldMapping>& drawn_world() const { return drawn_; }
  // A probe of the picture on the kept mapping, the further arguments after
  // it; none while no field has been drawn.
  template <class Probe, class... Args>
  std::optional<Probe> probe(Args&&... args) const {
    if (!drawn_) return std::nullopt;
    return std::optional<Probe>(std::in_place, *drawn_, std::forward<Args>(args)...);
  }

  // Shows the picture as it stands, then prompts and reads one number: the
  // questions asked while a picture is shown. False when it is not a number.
  bool read_number_while_shown(std::string_view prompt, double& value);

  // The bitmap "<stem><tag>.bmp" when bitmaps are on, `prompt`, the wait for
  // Return and the dialogue's colours back (see PictureFrame::end); a window
  // reads the picture at the pointer with `probe` meanwhile.
  void end(std::string_view prompt = " <Return>", const PictureProbe* probe = nullptr);
  template <class Probe>
  void end(std::string_view prompt, const std::optional<Probe>& probe) {
    end(prompt, probe ? &*probe : nullptr);
  }
  // The dialogue's colours back without bitmap and wait: a picture whose
  // input ended early.
  void restore() { frame_.restore(); }
  // Pen 9999 on the page; when its file could not be made or written the
  // console says so.
  void end_page();

  GraphicsSurface& surface() { return pictures_.surface; }
  PsWriter& page() { return page_; }
  const OutputSettings& output() const { return output_; }

 private:
  std::string file_name(std::string_view extension) const;

  Pictures pictures_;
  Console& console_;
  const OutputSettings& output_;
  std::string_view stem_, tag_;
  PictureFrame frame_;
  PsWriter page_;
  std::optional<WorldMapping> drawn_;
};

}  // namespace tambri
