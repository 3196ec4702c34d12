#pragma once
// What every result-picture test works with: a scratch folder as the working
// directory, a console on strings, the output settings, the memory pictures
// keep, and the surface with a recording viewer. A test fixture adds its grid
// and quantity and calls draw_with().
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogue/result_picture.h"
#include "support/external_tools.h"
#include "support/recording_viewer.h"
#include "support/session.h"

namespace tambri::test {

using Records = std::vector<std::string>;

// The lines of a text file.
inline Records records_of(const std::filesystem::path& path) {
  std::ifstream in(path);
  Records out;
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

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
  const Records got(all.begin() + 21, all.end());
  for (size_t n = 0; n < std::max(got.size(), want.size()); ++n) {
    ASSERT_EQ(n < got.size() ? got[n] : "(none)", n < want.size() ? want[n] : "(none)")
        << expected << ", record " << n + 22;
  }
}

// Index of the first record equal to `record` at or after `from`; -1 when none.
inline long find_record(const Records& records, const std::string& record, long from = 0) {
  for (long n = std::max(from, 0L); n < static_cast<long>(records.size()); ++n) {
    if (records[static_cast<size_t>(n)] == record) return n;
  }
  return -1;
}

// How often `record` occurs.
inline int count_of(const Records& records, const std::string& record) {
  int n = 0;
  for (const std::string& r : records) n += r == record;
  return n;
}

struct PictureTest : ::testing::Test {
  PictureTest() { std::filesystem::current_path(dir.path()); }
  ~PictureTest() override { std::filesystem::current_path(previous); }

  // Runs `draw(picture)` with `answers` as the console input; returns the screen.
  template <class Draw>
  std::string draw_with(const StructureModel& model, const DisplayWindow& window, const std::string& answers,
                        Draw draw) {
    in.clear();
    in.str(answers);
    out.str("");
    viewer.shown.clear();
    ResultPicture picture{console, model, output, window, {surface, viewer}, memory};
    draw(picture);
    return out.str();
  }
  // The pixel shown at the wait for Return.
  int shown(long x, long y) const { return viewer.shown[static_cast<size_t>(y * GraphicsSurface::kWidth + x)]; }

  std::filesystem::path previous = std::filesystem::current_path();
  TempDir dir;
  std::istringstream in;
  std::ostringstream out;
  Console console{in, out, true};
  OutputSettings output;
  PictureMemory memory;
  GraphicsSurface surface;
  RecordingViewer viewer;
};

}  // namespace tambri::test
