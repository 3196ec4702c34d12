#include "draw/picture_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/recording_viewer.h"
#include "support/session.h"

namespace tambri {
namespace {

// Runs in a scratch folder on a piped console that echoes its input.
struct Run : ::testing::Test {
  Run() { output.postscript_off = output.bitmap_off = false; }
  test::TempDir dir;
  test::InDir in_dir{dir.path()};
  std::istringstream in{"\n\n\n"};
  std::ostringstream out;
  Console console{in, out, true};
  OutputSettings output;
  GraphicsSurface surface;
  test::RecordingViewer viewer;
};

// Both files carry the stem and the tag; the world a field was drawn in is
// kept with the viewport the picture began with, a refused world leaves it,
// and the next picture forgets it.
TEST_F(Run, FilesAreNamedFromTheTagAndTheDrawnWorldIsKeptForThePicture) {
  PictureRun run({surface, viewer}, console, output, "bild  ", "_c");
  run.begin(picture_title("Potential (V)"), {100, 30, 600, 530});
  run.open_page(kStructureTitleLayout, {"Potential (V)", "bild", ""});
  EXPECT_FALSE(run.set_world({0, 1, 0, 2}));
  EXPECT_FALSE(run.drawn_world());
  ASSERT_TRUE(run.set_world({0, 1, 2, 3}, kValueUpward));
  EXPECT_FALSE(run.set_world({0, 0, 0, 0}));
  const WorldMapping drawn = run.drawn_world().value();
  EXPECT_TRUE(drawn.vx1 == 100 && drawn.vy2 == 530 && drawn.invert);
  EXPECT_TRUE(drawn.wx1 == 0 && drawn.wy1 == 1 && drawn.wx2 == 2 && drawn.wy2 == 3);
  run.end();
  run.end_page();
  EXPECT_TRUE(std::filesystem::exists("bild_c.bmp") && std::filesystem::exists("bild_c.ps"));
  run.begin(" TAMBRI: Pfad");
  EXPECT_FALSE(run.drawn_world());
  EXPECT_EQ(out.str(), "\n");
}

// A run without a tag writes nothing; a page that cannot be made is said
// after the wait, on a line of its own.
TEST_F(Run, NoTagNoFilesAndAFailedPageIsReportedAfterTheWait) {
  PictureRun path({surface, viewer}, console, output, "bild", "");
  path.begin(" Integrationsweg");
  path.end();
  path.end_page();
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  output.bitmap_off = true;
  PictureRun run({surface, viewer}, console, output, "fehlt/", "_s");
  run.begin(" TAMBRI: Test");
  run.open_page(kStructureTitleLayout, {"Test", "fehlt", ""});
  run.end();
  run.end_page();
  EXPECT_EQ(out.str(), "\n\n\n### Fehler bei Dateieröffnung ###");
}

}  // namespace
}  // namespace tambri
