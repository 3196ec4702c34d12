#include "draw/picture_run.h"

#include "draw/picture_files.h"
#include "text/fortran_format.h"
#include "text/text_width.h"

namespace tambri {

std::string picture_title(std::string_view name) { return " TAMBRI: " + pad_to_width(name, 25); }

std::string value_label(double value) { return format_e(value, 8, 1); }

void set_text_window(GraphicsSurface& surface, const TextWindow& window) {
  surface.gfx_set_text_window(window.row1, window.column1, window.row2, window.column2);
}

void set_text_position(GraphicsSurface& surface, const TextCell& cell) {
  surface.gfx_set_text_position(cell.row, cell.column);
}

void write_text(GraphicsSurface& surface, const TextCell& cell, std::string_view text) {
  set_text_position(surface, cell);
  surface.gfx_text(text);
}

PictureRun::PictureRun(Pictures pictures, Console& console, const OutputSettings& output, std::string_view stem,
                       std::string_view tag)
    : pictures_(pictures),
      console_(console),
      output_(output),
      stem_(stem),
      tag_(tag),
      frame_(pictures.surface, pictures.viewer, console, output),
      page_(output) {}

std::string PictureRun::file_name(std::string_view extension) const {
  return tag_.empty() ? std::string() : picture_file_name(stem_, tag_, extension);
}

void PictureRun::begin(std::string_view title, PixelRect viewport) {
  drawn_.reset();
  frame_.begin(title, viewport);
}

void PictureRun::open_page(const PageTitleLayout& layout, const PageTitle& title) {
  page_.open(file_name(".ps"));
  write_page_title(page_, layout, title);
}

PicturePlacement PictureRun::place_on_page(const Grid& grid, const DisplayWindow& w, bool full_window) {
  const double x1 = grid.x[w.i1], y1 = grid.y[w.j1];
  const PicturePlacement p = picture_placement(full_window, x1, grid.x[w.i2] - x1, y1, grid.y[w.j2] - y1);
  page_.plot(p.origin_x, p.origin_y, kPenMoveOrigin);
  return p;
}

bool PictureRun::set_world(const WorldWindow& world, int invert) {
  if (!pictures_.surface.gfx_set_world(invert, world.h1, world.v1, world.h2, world.v2)) return false;
  drawn_ = pictures_.surface.world_mapping();
  return true;
}

bool PictureRun::read_number_while_shown(std::string_view prompt, double& value) {
  pictures_.viewer.present(pictures_.surface);
  console_.prompt(prompt);
  return console_.read_numbers({value});
}

void PictureRun::end(std::string_view prompt, const PictureProbe* probe) {
  frame_.end(file_name(".bmp"), prompt, probe);
}

void PictureRun::end_page() {
  page_.plot(0, 0, kPenEnd);
  if (!page_.ok()) console_.message(page_.failure_message());
}

}  // namespace tambri
