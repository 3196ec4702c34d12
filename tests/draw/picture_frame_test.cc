#include "draw/picture_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "support/recording_viewer.h"
#include "support/session.h"

namespace tambri {
namespace {

// Frames on a piped console that echoes its input and on a terminal.
struct Frame : ::testing::Test {
  Frame() {
    output.bitmap_off = false;
    viewer.screen = windowed.screen = &out;
    windowed.window = true;
  }
  std::string bmp(const char* name) const { return (dir / name).string(); }
  test::TempDir dir;
  std::istringstream in{"\n\nweiter\n"};
  std::ostringstream out;
  Console console{in, out, true}, terminal{in, out, false};
  OutputSettings output;
  GraphicsSurface surface;
  test::RecordingViewer viewer, windowed;
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
  EXPECT_EQ(viewer.shown_palette[0], 0x3F3F3Fu);
  const auto saved = [&b](int x, int y) {
    return static_cast<int>(b[14 + 40 + 1024 + static_cast<size_t>((629 - y) * 800 + x)]);
  };
  EXPECT_EQ(saved(300, 325), 4);
  EXPECT_EQ(saved(300, 10), 0);  // title strip background
  // The prompt " <Return>" went to row 28 of the legend text window,
  // columns 89-97: shown, but not saved.
  int title = 0, prompt_saved = 0, prompt_shown = 0;
  for (int y = 0; y < 630; ++y) {
    for (int x = 0; x < 800; ++x) {
      const bool prompt = x >= 8 * 88 && x < 8 * 97 && y >= 16 * 27 && y < 16 * 28;
      title += y < 16 && x < 8 * 22 && saved(x, y) == 15;
      prompt_saved += prompt && saved(x, y) == 15;
      prompt_shown += prompt && viewer.shown[static_cast<size_t>(y * 800 + x)] == 15;
    }
  }
  EXPECT_GT(title, 50);
  EXPECT_EQ(prompt_saved, 0);
  EXPECT_GT(prompt_shown, 20);

  // Restored: dialogue colours, cleared window, text window 1-40 x 1-80.
  EXPECT_EQ(surface.palette()[0], 0u);
  EXPECT_EQ(surface.palette()[15], 0x3F3F3Fu);
  EXPECT_TRUE(std::all_of(surface.pixels(), surface.pixels() + 800 * 630, [](auto p) { return p == 0; }));
  surface.gfx_set_text_position(99, 99);
  EXPECT_TRUE(surface.text_position().row == 39 && surface.text_position().column == 80);
}

TEST_F(Frame, OnAPipeEachWaitTakesOneLineAndAFailedBitmapIsReportedOnALineOfItsOwnAfterIt) {
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

TEST_F(Frame, OnATerminalWithoutAWindowTheConsoleNamesTheFileBeforeTheWait) {
  PictureFrame frame(surface, viewer, terminal, output), window_frame(surface, windowed, terminal, output);
  frame.begin(" TAMBRI: Struktur");
  frame.end(bmp("kond_a.bmp") + "  ");
  EXPECT_EQ(viewer.at_wait, "\nBild ohne Fenster gezeichnet, gespeichert in " + bmp("kond_a.bmp") + "\n<Return>");
  EXPECT_EQ(out.str(), viewer.at_wait);

  // A failed bitmap: no file named before the wait, the error after it (the
  // user's Return ended the line on the terminal).
  out.str("");
  frame.begin(" TAMBRI: Struktur");
  frame.end(bmp("fehlt/kond_a.bmp"), " <Return> ");
  EXPECT_EQ(viewer.at_wait, "\nBild ohne Fenster gezeichnet, keine Datei geschrieben\n<Return> ");
  EXPECT_EQ(out.str(), viewer.at_wait + "\n### Fehler bei Dateieröffnung ###");

  // With a window the picture itself is the message.
  out.str("");
  window_frame.begin(" TAMBRI: Struktur");
  window_frame.end(bmp("kond_a.bmp"));
  EXPECT_EQ(out.str(), "");
  EXPECT_FALSE(windowed.shown.empty());
}

}  // namespace
}  // namespace tambri
