#include "draw/picture_frame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "support/recording_viewer.h"
#include "support/session.h"

namespace tambri {
namespace {

// A frame on a piped console that echoes its input; the viewer keeps what
// was shown at the wait.
struct Frame : ::testing::Test {
  Frame() { output.bitmap_off = false; }
  std::string bmp(const char* name) const { return (dir / name).string(); }
  test::TempDir dir;
  std::istringstream in{"\n\nweiter\n"};
  std::ostringstream out;
  Console console{in, out, true};
  OutputSettings output;
  GraphicsSurface surface;
  test::RecordingViewer viewer;
  PictureFrame frame{surface, viewer, console, output};
};

TEST_F(Frame, WhiteBackgroundPictureIsSavedWithoutThePromptAndTheDialogueColoursReturn) {
  output.white_background = true;
  surface.gfx_set_text_window(5, 1, 6, 10);
  frame.begin(" TAMBRI: Potential (V)");
  surface.gfx_set_color(4);
  surface.gfx_set_world(0, 0, 0, 1, 1);
  surface.gfx_rectangle(kGfxFilled, 0, 0, 1, 1);
  surface.gfx_set_text_window(2, 85, 30, 100);
  surface.gfx_set_text_position(27, 5);
  frame.end(bmp("bild_c.bmp"));

  const std::string b = test::read_file(bmp("bild_c.bmp"));
  ASSERT_EQ(b.size(), 14u + 40 + 1024 + 800 * 630);
  EXPECT_EQ(b.substr(54, 4), std::string("\xFC\xFC\xFC\0", 4));  // index 0 white
  EXPECT_EQ(b.substr(54 + 60, 4), std::string("\0\0\0\0", 4));   // index 15 black
  const auto saved = [&b](int x, int y) { return static_cast<int>(b[14 + 40 + 1024 + static_cast<size_t>((629 - y) * 800 + x)]); };
  EXPECT_EQ(saved(300, 325), 4);
  EXPECT_EQ(saved(300, 10), 0);  // title strip background
  int title = 0, prompt_saved = 0, prompt_shown = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 8 * 22; ++x) title += saved(x, y) == 15;
  // The prompt " <Return>" went to row 28 of the legend text window, columns 89-97.
  for (int y = 16 * 27; y < 16 * 28; ++y) {
    for (int x = 8 * 88; x < 8 * 97; ++x) {
      prompt_saved += saved(x, y) == 15;
      prompt_shown += viewer.shown[static_cast<size_t>(y * 800 + x)] == 15;
    }
  }
  EXPECT_GT(title, 50);
  EXPECT_EQ(prompt_saved, 0);
  EXPECT_GT(prompt_shown, 20);
  EXPECT_EQ(viewer.shown_palette[0], 0x3F3F3Fu);

  // Restored: dialogue colours, cleared window, text window 1-40 x 1-80.
  EXPECT_EQ(surface.palette()[0], 0u);
  EXPECT_EQ(surface.palette()[15], 0x3F3F3Fu);
  EXPECT_TRUE(std::all_of(surface.pixels(), surface.pixels() + 800 * 630, [](auto p) { return p == 0; }));
  EXPECT_EQ(surface.gfx_set_text_position(99, 99).row, 1);
  EXPECT_EQ(surface.text_position().row, 39);
  EXPECT_EQ(surface.text_position().column, 80);
}

TEST_F(Frame, EachWaitTakesOneLineAndAFailedBitmapIsReportedOnALineOfItsOwnAfterIt) {
  output.bitmap_off = true;
  frame.begin(" TAMBRI: Test");
  frame.end(bmp("aus.bmp"));
  output.bitmap_off = false;
  frame.begin(" TAMBRI: Pfad");
  frame.end("");  // a picture without a bitmap
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_EQ(out.str(), "\n\n");  // a piped console shows nothing but the echo
  frame.begin(" TAMBRI: Test");
  frame.end(bmp("fehlt/bild_c.bmp"));
  EXPECT_EQ(out.str(), "\n\nweiter\n\n### Fehler bei Dateieröffnung ###");
  EXPECT_THROW(console.read_line(), EndOfInput);
}

// What the console showed when the wait began.
struct ConsoleAtWait : test::RecordingViewer {
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

TEST_F(Frame, OnATerminalWithoutAWindowTheConsoleNamesTheFileBeforeTheWait) {
  Console terminal(in, out, false);
  ConsoleAtWait headless(out, false), windowed(out, true);
  PictureFrame frame(surface, headless, terminal, output);
  frame.begin(" TAMBRI: Struktur");
  frame.end(bmp("kond_a.bmp") + "  ");
  EXPECT_EQ(headless.at_wait, "\nBild ohne Fenster gezeichnet, gespeichert in " + bmp("kond_a.bmp") + "\n<Return>");
  EXPECT_EQ(out.str(), headless.at_wait);

  // A failed bitmap: no file named before the wait, the error after it (the
  // user's Return ended the line on the terminal).
  out.str("");
  frame.begin(" TAMBRI: Struktur");
  frame.end(bmp("fehlt/kond_a.bmp"), " <Return> ");
  EXPECT_EQ(headless.at_wait, "\nBild ohne Fenster gezeichnet, keine Datei geschrieben\n<Return> ");
  EXPECT_EQ(out.str(), headless.at_wait + "\n### Fehler bei Dateieröffnung ###");

  // With a window the picture itself is the message.
  out.str("");
  PictureFrame window_frame(surface, windowed, terminal, output);
  window_frame.begin(" TAMBRI: Struktur");
  window_frame.end(bmp("kond_a.bmp"));
  EXPECT_EQ(out.str(), "");
  EXPECT_FALSE(windowed.shown.empty());
}

}  // namespace
}  // namespace tambri
