#pragma once
// What every result-picture test works with: a scratch folder as the working
// directory, a console on strings, the output settings, the memory pictures
// keep, the surface with a recording viewer, a model with its window and two
// node arrays of values. A fixture picks its grid and sets `picture`.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "dialogue/result_picture.h"
#include "draw/surface.h"
#include "support/external_tools.h"
#include "support/recording_viewer.h"
#include "support/session.h"
#include "support/solve_fixture.h"
#include "text/text_width.h"

namespace tambri::test {

using Records = std::vector<std::string>;

inline Records records_of(const std::filesystem::path& path) { return split_lines(read_file(path)); }

// Ghostscript reads the whole file without an error (not checked where gs
// is missing, except on CI, where that fails).
inline void expect_renders(const std::filesystem::path& path) {
  if (!program_available("gs")) {
    if (std::getenv("CI")) ADD_FAILURE() << "gs is not installed";
    return;
  }
  const CommandResult gs = render_postscript(path.string());
  EXPECT_TRUE(rendered_cleanly(gs)) << gs.output << read_file(path);
}

// The records of a written page after the writer's prolog of 21 records
// equal the lines of tests/dialogue/pages/<expected>.
inline void expect_page(const std::filesystem::path& written, const std::string& expected) {
  const Records all = records_of(written);
  const Records want = records_of(std::filesystem::path(TAMBRI_SOURCE_DIR) / "tests/dialogue/pages" / expected);
  ASSERT_FALSE(want.empty()) << expected;
  ASSERT_GT(all.size(), 21u) << written;
  for (size_t n = 0; n < std::max(all.size() - 21, want.size()); ++n) {
    ASSERT_EQ(n + 21 < all.size() ? all[n + 21] : "(none)", n < want.size() ? want[n] : "(none)")
        << expected << ", record " << n + 22;
  }
}

// Index of the first record equal to `record`; -1 when none.
inline long find_record(const Records& records, const std::string& record) {
  const auto at = std::find(records.begin(), records.end(), record);
  return at == records.end() ? -1 : at - records.begin();
}
template <class T>
int count_of(const std::vector<T>& all, const std::type_identity_t<T>& one) {
  return static_cast<int>(std::count(all.begin(), all.end(), one));
}

// Reading back a picture's saved bitmap: the 8-bit BMP of the whole 800 x 630
// window (14 + 40 header bytes, 256 palette entries B, G, R, 0 with the 0-63
// components times 4, rows bottom-up).
struct SavedBitmap {
  static constexpr int kWidth = 800, kHeight = 630;
  static constexpr size_t kPixelsAt = 14 + 40 + 256 * 4;

  // Palette entry `index` as 0-63 components (R, G, B).
  std::array<int, 3> colour(int index) const {
    const auto at = [&](int c) {
      return static_cast<unsigned char>(bytes[54 + 4 * static_cast<size_t>(index) + c]) / 4;
    };
    return {at(2), at(1), at(0)};
  }
  // The palette index of window pixel (x, y), y counted from the top.
  int pixel(int x, int y) const {
    return static_cast<unsigned char>(bytes[kPixelsAt + static_cast<size_t>((kHeight - 1 - y) * kWidth + x)]);
  }
  // The bitmap holds the picture as `shown` but with `count` cells from
  // (row, column) blank: it was saved before the text there was written.
  void expect_saved_before(const std::vector<std::uint8_t>& shown, int row, int column, int count) const {
    ASSERT_EQ(bytes.size(), kPixelsAt + size_t{kWidth} * kHeight);
    int differing = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const bool cell = y / 16 == row - 1 && x / 8 >= column - 1 && x / 8 < column - 1 + count;
        differing += pixel(x, y) != (cell ? 0 : shown[static_cast<size_t>(y * kWidth + x)]);
      }
    }
    EXPECT_EQ(differing, 0);
  }

  std::string bytes;
};

// Whether a picture shows texts at places of the character grid: each text
// is drawn on a fresh surface at the same cells and the cells compared pixel
// by pixel with the pixels the picture showed. An empty text asks for
// `blanks` blank cells.
struct ShownText {
  int row, column;
  std::string text;
  int blanks = 0;
};

inline void expect_texts(const std::vector<std::uint8_t>& shown, std::span<const ShownText> texts) {
  for (const ShownText& t : texts) {
    const int length = t.text.empty() ? t.blanks : utf8_length(t.text);
    GraphicsSurface reference;
    reference.gfx_set_text_window(t.row, t.column, t.row, t.column + length - 1);
    reference.gfx_set_text_color(15);
    reference.gfx_text(t.text);
    int ink = 0, differing = 0;
    for (int y = (t.row - 1) * 16; y < t.row * 16; ++y) {
      for (int x = (t.column - 1) * 8; x < (t.column - 1 + length) * 8; ++x) {
        ink += reference.pixel(x, y) != 0;
        differing += reference.pixel(x, y) != shown[static_cast<size_t>(y * GraphicsSurface::kWidth + x)];
      }
    }
    EXPECT_EQ(ink > 0, !t.text.empty()) << '"' << t.text << '"';
    EXPECT_EQ(differing, 0) << '"' << t.text << "\" at " << t.row << ", " << t.column;
  }
}

struct PictureTest : ::testing::Test {
  // A new model on these grid lines, shown whole; the values start at 0.
  void use_grid(const std::vector<double>& x, const std::vector<double>& y, const std::string& file_name) {
    model = make_model(FieldProblem::kElectrostatic, x, y);
    model->file_name = (file_name + std::string(12, ' ')).substr(0, 12);
    model->output_stem = output_stem_of(model->file_name);
    window = full_display_window(model->grid);
    v->fill(0);
    w->fill(0);
  }
  void set(int i, int j, double value) { (*v)[static_cast<size_t>(model->grid.node(i, j))] = value; }
  void set_all(const std::function<double(int, int)>& f) {
    for (int j = 1; j <= model->grid.ny; ++j)
      for (int i = 1; i <= model->grid.nx; ++i) set(i, j, f(i, j));
  }
  void set_code(int i, int j, int32_t code) { model->occupancy[static_cast<size_t>(model->grid.node(i, j))] = code; }

  // Draws `picture` with `answers` as the console input into an empty folder;
  // every page written must render. Returns the screen.
  std::string draw(const std::string& answers) {
    for (const auto& file : std::filesystem::directory_iterator(dir.path())) std::filesystem::remove(file);
    in.clear();
    in.str(answers);
    out.str("");
    viewer.shown.clear();
    ResultPicture result{console, *model, output, window, {surface, viewer}, memory};
    picture(result);
    for (const auto& file : std::filesystem::directory_iterator(dir.path()))
      if (file.path().extension() == ".ps") expect_renders(file.path());
    return out.str();
  }
  // The pixel shown at the wait for Return.
  int shown(long x, long y) const { return viewer.shown[static_cast<size_t>(y * GraphicsSurface::kWidth + x)]; }
  // Pixels of the picture viewport that show `index`, or of its columns x1..x2.
  int count_shown(int index, long x1 = 0, long x2 = 600) const {
    int n = 0;
    for (long y = 25; y <= 625; ++y)
      for (long x = x1; x <= x2; ++x) n += shown(x, y) == index;
    return n;
  }
  struct Pixel {
    long x, y;
    int want;
  };
  void expect_pixels(std::initializer_list<Pixel> pixels) const { expect_pixels(std::span<const Pixel>(pixels)); }
  void expect_pixels(std::span<const Pixel> pixels) const {
    for (const Pixel& p : pixels) EXPECT_EQ(shown(p.x, p.y), p.want) << "pixel " << p.x << ", " << p.y;
  }
  // The picture's file with this tag and extension (as "_g.ps").
  std::filesystem::path file(const std::string& suffix) const {
    return dir / (model->output_stem.substr(0, model->output_stem.find(' ')) + suffix);
  }
  Records page(const std::string& suffix) const { return records_of(file(suffix)); }
  SavedBitmap bitmap(const std::string& suffix) const { return {read_file(file(suffix))}; }
  void expect_shown(std::initializer_list<ShownText> texts) const { expect_texts(viewer.shown, texts); }
  void expect_shown(std::span<const ShownText> texts) const { expect_texts(viewer.shown, texts); }

  TempDir dir;
  InDir in_dir{dir.path()};
  std::istringstream in;
  std::ostringstream out;
  Console console{in, out, true};
  OutputSettings output;
  PictureMemory memory;
  GraphicsSurface surface;
  RecordingViewer viewer;
  std::unique_ptr<StructureModel> model;
  std::unique_ptr<NodeArray> v = std::make_unique<NodeArray>(), w = std::make_unique<NodeArray>();
  DisplayWindow window;
  std::function<void(ResultPicture&)> picture;
};

}  // namespace tambri::test
