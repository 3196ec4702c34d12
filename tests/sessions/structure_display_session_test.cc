// Scripted sessions of the structure picture through GENERATE\ANZEIGE: the
// screen around A, V, Z, B, H and D, and the bitmap the picture leaves.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/session.h"

namespace tambri::test {
namespace {

using Lines = std::vector<std::string>;

// A new problem E on 0..1 x 0..1 with lines every 0.1, a material-3 rectangle
// over x 0.2-0.5, y 0.2-0.6 and a point of potential 2 at (0.5, 0.5); then the
// given commands at GENERATE>, and leaving without saving.
Lines structure_session(const std::string& file, const Lines& commands) {
  Lines input = {file, "E", "DS", "0 0 1 1", "HP", "11", "X", "SR", "0.2 0.2", "0.5 0.6", "m", "3",
                 "P", "0.5 0.5", "p", "2", "X"};
  input.insert(input.end(), commands.begin(), commands.end());
  input.insert(input.end(), {"X", "X", "N", "X"});
  return input;
}

// Palette index of pixel (x, y) of a saved 800 x 630 picture.
int bitmap_pixel(const std::string& bmp, int x, int y) {
  return static_cast<std::uint8_t>(bmp.at(14 + 40 + 1024 + static_cast<size_t>((629 - y) * 800 + x)));
}

class StructureDisplaySession : public ::testing::Test {
 protected:
  SessionResult run(const Lines& input) { return run_session(dir.path(), input); }
  TempDir dir;
};

TEST_F(StructureDisplaySession, SquareWindowIsShownWithoutQuestionAndSavedWithTheBitmapFlagOn) {
  SessionResult r = run(structure_session("test.dat", {"AB", "A", "", "V", "", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {
      "GENERATE>AB", "", "*** Bitmap-Ausgabe aktiviert ***", "",
      "GENERATE\\ANZEIGE>A", "", "",
      "GENERATE\\ANZEIGE>V", "", "",
      "GENERATE\\ANZEIGE>X", "", "GENERATE>X"})) << r.screen;
  const std::string bmp = read_file(dir / "test_a.bmp");
  ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + 800 * 630);
  EXPECT_EQ(bitmap_pixel(bmp, 250, 215), 3);  // node x 0.3, y 0.4 inside the rectangle
  EXPECT_EQ(bitmap_pixel(bmp, 490, 515), 0);  // material 0
  EXPECT_EQ(bitmap_pixel(bmp, 310, 301), 8);  // the potential-2 rectangle round node (0.5, 0.5)
}

TEST_F(StructureDisplaySession, BitmapThatCannotBeCreatedIsReportedAfterTheWaitOnItsOwnLine) {
  std::filesystem::create_directory(dir / "test_a.bmp");
  SessionResult r = run(structure_session("test.dat", {"AB", "A", "RET", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {
      "GENERATE\\ANZEIGE>A", "RET", "", "### Fehler bei Dateieröffnung ###", "", "GENERATE\\ANZEIGE>X"})) << r.screen;
}

TEST_F(StructureDisplaySession, ZoomAsksForAnOblongWindowWhichStaysUntilV) {
  SessionResult r = run(structure_session("test.dat", {"A", "Z", "0.25 0.2", "0.6 0.8", "n", "", "A", "Y",
                                                       "", "V", "", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {
      "GENERATE\\ANZEIGE>Z", "", "Linke obere Ecke (Xlo Ylo):0.25 0.2", "",
      "Rechte untere Ecke (Xru Yru):0.6 0.8", "Volles Zeichenfenster [Y/N]:n", "", "",
      "GENERATE\\ANZEIGE>A", "Volles Zeichenfenster [Y/N]:Y", "", "",
      "GENERATE\\ANZEIGE>V", "", "", "GENERATE\\ANZEIGE>X"})) << r.screen;
  // Without the bitmap flag no picture file is written.
  EXPECT_FALSE(std::filesystem::exists(dir / "test_a.bmp"));
}

TEST_F(StructureDisplaySession, BackgroundAndGridToggledBitmapOfAnEightLetterStem) {
  SessionResult r = run(structure_session("KONDENSA.DAT", {"AH", "D", "B", "A", "", "H", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {
      "GENERATE>AH", "", "*** Bildhintergrund weiß ***", "",
      "GENERATE\\ANZEIGE>D", "", "*** Anzeige Diskretisierung unter Struktur ***", "",
      "GENERATE\\ANZEIGE>B", "", "*** Bitmap-Ausgabe aktiviert ***", "",
      "GENERATE\\ANZEIGE>A", "", "",
      "GENERATE\\ANZEIGE>H", "", "*** Bildhintergrund schwarz ***"})) << r.screen;
  const std::string bmp = read_file(dir / "KONDEN_a.bmp");
  ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + 800 * 630);
  EXPECT_EQ(bitmap_pixel(bmp, 240, 215), 3);  // the grid line y = 0.4 lies under the cell
  EXPECT_EQ(bitmap_pixel(bmp, 480, 515), 11);  // ... and shows where there is no material
}

TEST_F(StructureDisplaySession, PictureBeforeAnyGridShowsOnlyItsFrameAndWaitsForOneLine) {
  SessionResult r = run({"test.dat", "S", "AA", "weiter", "X", "X", "X"});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(contains_run(r.lines(), {"GENERATE>AA", "weiter", "", "GENERATE\\ANZEIGE>X", "", "GENERATE>X"}))
      << r.screen;
}

}  // namespace
}  // namespace tambri::test
