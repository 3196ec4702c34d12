#pragma once
// What every result-picture test works with: a scratch folder as the working
// directory, a console on strings, the output settings, the memory pictures
// keep, and the surface with a recording viewer. A test fixture adds its grid
// and quantity and calls draw_with().
#include <gtest/gtest.h>

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

// Ghostscript reads the whole file without an error.
inline void expect_renders(const std::filesystem::path& path) {
  const CommandResult gs = render_postscript(path.string());
  EXPECT_TRUE(rendered_cleanly(gs)) << gs.output << read_file(path);
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
