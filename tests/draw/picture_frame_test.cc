#include "draw/picture_frame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/recording_viewer.h"
#include "support/session.h"

namespace tambri {
namespace {

using test::RecordingViewer;

struct Frame : ::testing::Test {
  Frame() : in("\nweiter\n"), console(in, out, true) { output.bitmap_off = false; }
  std::uint8_t shown(int x, int y) const { return viewer.shown[static_cast<size_t>(y * GraphicsSurface::kWidth + x)]; }
  test::TempDir dir;
  std::istringstream in;
  std::ostringstream out;
  Console console;
  OutputSettings output;
  GraphicsSurface surface;
  RecordingViewer viewer;
  PictureFrame frame{surface, viewer, console, output};
};

// Index of the pixel at (x, y) of a saved 800 x 630 bitmap.
int bitmap_pixel(const std::string& bmp, int x, int y) {
  return static_cast<std::uint8_t>(bmp[14 + 40 + 1024 + static_cast<size_t>((629 - y) * 800 + x)]);
}

TEST_F(Frame, WhiteBackgroundPictureIsSavedWithoutThePromptAndTheDialogueColoursReturn) {
  output.white_background = true;
  surface.gfx_set_text_window(5, 1, 6, 10);
  frame.begin(" TAMBRI: Potential (V)");
  surface.gfx_set_color(4);
  surface.gfx_set_world(0, 0, 0, 1, 1);
  surface.gfx_rectangle(kGfxFilled, 0, 0, 1, 1);
  surface.gfx_set_text_window(2, 85, 30, 100);
  surface.gfx_set_text_position(27, 5);
  const std::string path = (dir / "bild_c.bmp").string();
  frame.end(path);

  const std::string bmp = test::read_file(path);
  ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + 800 * 630);
  EXPECT_EQ(bmp.substr(54, 4), std::string("\xFC\xFC\xFC\0", 4));  // index 0 white
  EXPECT_EQ(bmp.substr(54 + 60, 4), std::string("\0\0\0\0", 4));   // index 15 black
  EXPECT_EQ(bitmap_pixel(bmp, 300, 325), 4);
  EXPECT_EQ(bitmap_pixel(bmp, 300, 10), 0);  // title strip background
  int title_ink = 0, prompt_ink_saved = 0, prompt_ink_shown = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 8 * 22; ++x) title_ink += bitmap_pixel(bmp, x, y) == 15;
  // The prompt " <Return>" went to row 28 of the legend text window, columns 89-97.
  for (int y = 16 * 27; y < 16 * 28; ++y) {
    for (int x = 8 * 88; x < 8 * 97; ++x) {
      prompt_ink_saved += bitmap_pixel(bmp, x, y) == 15;
      prompt_ink_shown += shown(x, y) == 15;
    }
  }
  EXPECT_GT(title_ink, 50);
  EXPECT_EQ(prompt_ink_saved, 0);
  EXPECT_GT(prompt_ink_shown, 20);
  EXPECT_EQ(viewer.shown_palette[0], 0x3F3F3Fu);

  // Restored: dialogue colours, cleared window, text window 1-40 x 1-80.
  EXPECT_EQ(surface.palette()[0], 0u);
  EXPECT_EQ(surface.palette()[15], 0x3F3F3Fu);
  for (int y = 0; y < GraphicsSurface::kHeight; y += 7)
    for (int x = 0; x < GraphicsSurface::kWidth; x += 7) ASSERT_EQ(surface.pixel(x, y), 0);
  EXPECT_EQ(surface.gfx_set_text_position(99, 99).row, 1);
  EXPECT_EQ(surface.text_position().row, 39);
  EXPECT_EQ(surface.text_position().column, 80);
  // The wait took exactly one line; a piped console shows nothing of it but
  // the echo.
  EXPECT_EQ(out.str(), "\n");
  EXPECT_EQ(console.read_line(), "weiter");
}

TEST_F(Frame, BitmapThatCannotBeCreatedIsReportedOnALineOfItsOwnOnceTheWaitIsOver) {
  frame.begin(" TAMBRI: Test");
  frame.end((dir / "fehlt" / "bild_c.bmp").string());
  // The echoed answer of the wait comes first.
  EXPECT_EQ(out.str(), "\n\n### Fehler bei Dateieröffnung ###");
  EXPECT_FALSE(viewer.shown.empty());
}

// What the console showed when the wait began.
struct ConsoleAtWait : RecordingViewer {
  ConsoleAtWait(const std::ostringstream& screen, bool window) : out(screen), window(window) {}
  void wait_for_return(const GraphicsSurface& surface, Console& console) override {
    at_wait = out.str();
    RecordingViewer::wait_for_return(surface, console);
  }
  bool has_window() const override { return window; }
  const std::ostringstream& out;
  bool window;
  std::string at_wait;
};

TEST(FrameOnATerminal, WithoutAWindowTheConsoleSaysSoAndNamesTheFileBeforeTheWait) {
  test::TempDir dir;
  std::istringstream in("\n\n\n\n");
  std::ostringstream out;
  Console console(in, out, false);
  GraphicsSurface surface;
  OutputSettings output;
  output.bitmap_off = false;
  const std::string saved = (dir / "kond_a.bmp").string();

  ConsoleAtWait headless(out, false);
  PictureFrame frame(surface, headless, console, output);
  frame.begin(" TAMBRI: Struktur");
  frame.end(saved + "  ");
  EXPECT_EQ(headless.at_wait, "\nBild ohne Fenster gezeichnet, gespeichert in " + saved + "\n<Return>");
  EXPECT_EQ(out.str(), headless.at_wait);

  // A failed bitmap: no file named before the wait, the error after it.
  out.str("");
  frame.begin(" TAMBRI: Struktur");
  frame.end((dir / "fehlt" / "kond_a.bmp").string(), " <Return> ");
  EXPECT_EQ(headless.at_wait, "\nBild ohne Fenster gezeichnet, keine Datei geschrieben\n<Return> ");
  // (The user's Return ended the line on the terminal.)
  EXPECT_EQ(out.str(), headless.at_wait + "\n### Fehler bei Dateieröffnung ###");

  // With a window the picture itself is the message.
  out.str("");
  ConsoleAtWait windowed(out, true);
  PictureFrame window_frame(surface, windowed, console, output);
  window_frame.begin(" TAMBRI: Struktur");
  window_frame.end(saved);
  EXPECT_EQ(out.str(), "");
  EXPECT_FALSE(windowed.shown.empty());
}

TEST_F(Frame, NoBitmapWhenItIsOffOrThePictureHasNone) {
  output.bitmap_off = true;
  frame.begin(" TAMBRI: Test");
  frame.end((dir / "aus.bmp").string());
  output.bitmap_off = false;
  frame.begin(" TAMBRI: Pfad");
  frame.end("");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_EQ(out.str().find("Fehler"), std::string::npos);
}

}  // namespace
}  // namespace tambri
