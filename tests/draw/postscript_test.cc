#include "draw/postscript.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/external_tools.h"
#include "draw/picture_files.h"
#include "text/fortran_format.h"
#include "support/session.h"
#include "text/text_width.h"

namespace tambri {
namespace {

std::vector<std::string> records(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The records after the 21-record prolog.
std::vector<std::string> body(const std::filesystem::path& path) {
  std::vector<std::string> all = records(path);
  return all.size() < 21 ? all : std::vector<std::string>(all.begin() + 21, all.end());
}

struct PostScript : ::testing::Test {
  PostScript() {
    settings.postscript_off = false;
    path = dir / "bild_c.ps";
  }
  void open() { ASSERT_TRUE(ps.open(path.string() + "   ")); }
  test::TempDir dir;
  OutputSettings settings;
  PsWriter ps{settings};
  std::filesystem::path path;
};

TEST_F(PostScript, PrologIsWrittenRecordByRecord) {
  open();
  ps.plot(0, 0, kPenEnd);
  const std::vector<std::string> r = records(path);
  ASSERT_EQ(r.size(), 22u);
  EXPECT_EQ(r[0], "%!PS-Adobe-1.0");
  EXPECT_EQ(r[1], "% PostScript-File");
  EXPECT_EQ(r[2].substr(0, 2), "% ");
  EXPECT_EQ(r[3], "/a /arc load def");
  EXPECT_EQ(r[11], "/co /setrgbcolor load def");
  EXPECT_EQ(r[15], "/t {gsave findfont exch scalefont setfont moveto rotate show grestore} def");
  EXPECT_EQ(r[16], "%%EndProlog");
  EXPECT_EQ(r[17], "%%Page: 1 1");
  EXPECT_EQ(r[18], "28.3 28.3 scale");
  EXPECT_EQ(r[19], ".01 w");
  EXPECT_EQ(r[20], "0. g");
  EXPECT_EQ(r[21], "showpage");
  EXPECT_FALSE(ps.is_open());
}

TEST_F(PostScript, DrawingOperationsWithLazyStrokeOriginAndPages) {
  open();
  ps.plot(1, 2, kPenMove);
  ps.plot(3, 2, kPenLine);
  ps.set_colour(2);
  ps.set_colour(3);  // nothing pending any more: no second " s"
  ps.set_colour(18);
  ps.plot(0, 0, kPenMove);
  ps.plot(1, 0, kPenLine);
  ps.set_line_width(2);
  ps.set_line_width(2);
  ps.set_line_width(3);
  ps.plot(10, 20, kPenMoveOrigin);
  ps.rectangle(1, 1, 2, 3, kRectangleFilled);
  ps.rectangle(0, 0, 1, 1, kRectangleOutline);
  ps.text(1, -1, 0.5, "a(b)\\c", 0, 8);
  ps.text(1, 1, 0.5, "nie", 0, 2000);
  ps.text(1, 1, 0.5, "nie", 0, -1);
  ps.set_grey(3, 10);
  ps.set_hue(0, 128);
  ps.set_hue(128, 128);
  ps.end_path(kPathNew);
  ps.plot(0, 0, kPenNewPage);
  ps.plot(5, 5, kPenLine);  // no current point on a new page: a move
  ps.plot(1, 1, kPenMove);
  ps.plot(2, 2, kPenLine);
  ps.plot(0, 0, kPenEnd);
  const std::vector<std::string> expected = {
      "   1.0000   2.0000 m",
      "   3.0000   2.0000 l",
      " s",
      " 1.0 0.0 0.0 co",
      " 0.0 0.0 1.0 co",
      "   0.0000   0.0000 m",
      "   1.0000   0.0000 l",
      " s",
      "0.02 w",
      "  10.0000  20.0000 m",
      "  11.0000  21.0000 m",
      "n",
      "  11.0000  21.0000 m",
      "  12.0000  21.0000 l",
      "  12.0000  23.0000 l",
      "  11.0000  23.0000 l",
      "  11.0000  21.0000 l",
      "c f",
      "  10.0000  20.0000 m",
      "  11.0000  20.0000 l",
      "  11.0000  21.0000 l",
      "  10.0000  21.0000 l",
      "  10.0000  20.0000 l",
      "s",
      "(a\\(b\\)\\\\c  ) ",
      "   0.0000  11.0000  19.0000   0.6000 /Helvetica t",
      " 0.70 g",
      " 0.67 1.00 1.00 hs",
      " 0.00 1.00 1.00 hs",
      "n",
      "showpage",
      "%%Page:    2   2",
      "28.3 28.3 scale .02 w 0. g",
      "   5.0000   5.0000 m",
      "   1.0000   1.0000 m",
      "   2.0000   2.0000 l",
      "s",
      "showpage",
  };
  EXPECT_EQ(body(path), expected);
}

TEST_F(PostScript, NumbersOutsideTheirFieldsAreClampedAndNonFiniteOnesLeftOut) {
  open();
  ps.plot(1e6, -5000, kPenMove);
  ps.plot(std::nan(""), 0, kPenLine);
  ps.plot(0, 0, kPenMoveOrigin);
  ps.plot(INFINITY, 0, kPenMoveOrigin);  // must not spoil the origin
  ps.plot(1, 1, kPenLine);
  ps.set_grey(1, 0);
  ps.set_hue(1, 0);
  ps.text(NAN, 0, 1, "x", 0, 1);
  ps.plot(0, 0, kPenEnd);
  const std::vector<std::string> expected = {
      "9999.9999-999.9999 m", "   0.0000   0.0000 m", "   1.0000   1.0000 l", "s", "showpage",
  };
  EXPECT_EQ(body(path), expected);
}

TEST_F(PostScript, CoordinatesAtTheEndsOfTheirFieldsAreClampedNotStarred) {
  open();
  ps.plot(9999.99994, -999.99994, kPenMove);
  ps.plot(9999.99996, -999.99996, kPenMove);  // would round to 10000.0000 and -1000.0000
  ps.plot(-1e300, 1e300, kPenMove);
  ps.text(0, 0, 1e5, "x", -1e4, 1);
  ps.plot(0, 0, kPenEnd);
  const std::vector<std::string> expected = {
      "9999.9999-999.9999 m", "9999.9999-999.9999 m", "-999.99999999.9999 m", "(x) ",
      "-999.9999   0.0000   0.00009999.9999 /Helvetica t", "showpage",
  };
  EXPECT_EQ(body(path), expected);
}

// A picture many times the size of the write buffer: every record must come
// out whole and in order across the pieces the file is written in.
TEST_F(PostScript, LargePictureKeepsEveryRecord) {
  open();
  std::vector<std::string> expected;
  bool pending = false, current = false;
  for (int k = 0; k < 40000; ++k) {
    const double x = k * 0.2503 - 999.5, y = (k % 1013) * 0.0137 - 7.0;
    const bool move = k % 7 == 0 || !current;  // a stroke leaves no current point
    ps.plot(x, y, k % 7 == 0 ? kPenMove : kPenLine);
    if (move && pending) expected.push_back("s");
    expected.push_back(format_f(x, 9, 4) + format_f(y, 9, 4) + (move ? " m" : " l"));
    pending = !move;
    current = true;
    if (k % 1000 == 999) {
      ps.set_hue(k / 1000 % 12, 11);
      if (pending) {
        expected.push_back(" s");
        pending = current = false;
      }
      expected.push_back(format_f(0.667 * (11 - k / 1000 % 12) / 11, 5, 2) + " 1.00 1.00 hs");
    }
  }
  ps.plot(0, 0, kPenEnd);
  if (pending) expected.push_back("s");
  expected.push_back("showpage");
  EXPECT_TRUE(ps.ok());
  const std::vector<std::string> written = body(path);
  ASSERT_EQ(written.size(), expected.size());
  for (size_t k = 0; k < written.size(); ++k) ASSERT_EQ(written[k], expected[k]) << "record " << k;
}

TEST_F(PostScript, FailedWriteIsReportedWhenThePictureEnds) {
  open();
  ps.rectangle(1, 2, 3, 4, kRectangleFilled);
  EXPECT_TRUE(ps.ok());
  ps.plot(0, 0, kPenEnd);
  EXPECT_TRUE(ps.ok());
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ASSERT_TRUE(ps.open("/dev/full"));  // opens, but takes no byte
  ps.rectangle(1, 2, 3, 4, kRectangleFilled);
  ps.plot(0, 0, kPenEnd);
  EXPECT_FALSE(ps.ok());
  EXPECT_FALSE(ps.is_open());
  EXPECT_TRUE(ps.open(path.string()));  // a new file starts afresh
  EXPECT_TRUE(ps.ok());
}

TEST_F(PostScript, NothingIsOpenedOrWrittenWhilePostScriptIsOff) {
  settings.postscript_off = true;
  EXPECT_TRUE(ps.open(path.string()));
  ps.plot(1, 1, kPenMove);
  ps.rectangle(0, 0, 1, 1, kRectangleFilled);
  ps.text(0, 0, 1, "x", 0, 1);
  ps.plot(0, 0, kPenEnd);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(ps.is_open());
}

TEST_F(PostScript, FileThatCannotBeCreatedIsReportedAndLeavesTheWriterIdle) {
  EXPECT_FALSE(ps.open((dir / "fehlt" / "x.ps").string()));
  EXPECT_FALSE(ps.is_open());
  EXPECT_FALSE(ps.ok());
  ps.plot(1, 1, kPenMove);  // harmless
}

TEST_F(PostScript, PlacementScalesTitlesAndOrigin) {
  open();
  const std::string comment = "Kommentar";
  PicturePlacement p = place_picture(ps, false, 0.01, 0.02, 0.0, 0.04, "Potential (V)", "trafo       ", comment);
  EXPECT_DOUBLE_EQ(p.sh, 400);
  EXPECT_DOUBLE_EQ(p.sv, 400);
  EXPECT_DOUBLE_EQ(p.page_x(0.02), 8);
  EXPECT_DOUBLE_EQ(p.page_y(0.03), -12);
  ps.plot(-p.origin_x, -p.origin_y, kPenMoveOrigin);
  ps.plot(0, 0, kPenEnd);
  const std::vector<std::string> expected = {
      " 0.0 0.0 0.0 co",
      "(TAMBRI: Potential \\(V\\)" + std::string(12, ' ') + ") ",
      "   0.0000   3.0000  28.0000   0.7200 /Helvetica t",
      "(Struktur : trafo       Kommentar" + std::string(28, ' ') + ") ",
      "   0.0000   3.0000  27.0000   0.6000 /Helvetica t",
      "   3.0000  25.0000 m",
      "   0.0000   0.0000 m",
      "showpage",
  };
  EXPECT_EQ(body(path), expected);

  const PicturePlacement full = place_picture(ps, true, 0.01, 0.02, 0.0, 0.04, "", "", "");
  EXPECT_DOUBLE_EQ(full.sh, 400);
  EXPECT_DOUBLE_EQ(full.sv, 800);
}

TEST(PictureFiles, StemUpToItsFirstBlankAtMostSixCharactersPlusTagAndExtension) {
  EXPECT_EQ(picture_file_name("trafo       ", kTagIsolines, ".ps"), "trafo_i.ps  ");
  EXPECT_EQ(picture_file_name("trafo       ", kTagIsolines, ".bmp"), "trafo_i.bmp ");
  EXPECT_EQ(picture_file_name("kondensa    ", kTagIsolines, ".ps"), "konden_i.ps ");
  EXPECT_EQ(picture_file_name("KONDENSA    ", kTagStructure, ".bmp"), "KONDEN_a.bmp");
  EXPECT_EQ(picture_file_name("abc         ", kTagEquicolour, ".ps"), "abc_c.ps    ");
  EXPECT_EQ(picture_file_name("Öläöüß12    ", kTagCut, ".ps"), "Öläöüß_s.ps ");
  EXPECT_EQ(picture_file_name("            ", kTagArrows, ".ps"), " _p.ps      ");
  EXPECT_EQ(trim_trailing_blanks("abc_c.ps    "), "abc_c.ps");
  EXPECT_EQ(trim_trailing_blanks("    "), "");
}

// Ghostscript must read every operation the writer produces without error.
TEST_F(PostScript, GhostscriptRendersAFileWithEveryOperation) {
  TAMBRI_REQUIRE_PROGRAM("gs");
  open();
  const PicturePlacement p = place_picture(ps, true, 0, 0.1, 0, 0.2, "Feldstaerke E  (V/m)", "trafo", "a (b) \\ c");
  for (int k = 1; k <= 17; ++k) {
    ps.set_colour(k);
    ps.rectangle(p.page_x(0.01 * k), p.page_y(0), p.page_x(0.01 * k + 0.01), p.page_y(0.01), kRectangleFilled);
  }
  ps.set_line_width(2);
  for (int k = 0; k <= 10; ++k) {
    ps.set_hue(k, 10);
    ps.plot(p.page_x(0), p.page_y(0.02 + 0.005 * k), kPenMove);
    ps.plot(p.page_x(0.2), p.page_y(0.02 + 0.005 * k), kPenLine);
    ps.set_grey(k, 10);
    ps.plot(p.page_x(0.1), p.page_y(0.05), kPenMove);
    ps.plot(p.page_x(0.2), p.page_y(0.1), kPenLine);
  }
  ps.set_line_width(1);
  ps.end_path(kPathNew);
  ps.plot(1, 1, kPenMove);
  ps.plot(2, 1, kPenLine);
  ps.plot(1.5, 2, kPenLine);
  ps.end_path(kPathFill);
  ps.rectangle(0, 0, 1, 1, kRectangleOutline);
  ps.text(0, -2, 0.3, "(Abmessungen (m): \\ Ende)", 90, 25);
  ps.plot(-p.origin_x, -p.origin_y, kPenMoveOrigin);
  ps.plot(0, 0, kPenNewPage);
  ps.text(3, 25.5, 0.3, "Seite 2", 0, 7);
  ps.plot(2, 2, kPenMove);
  ps.plot(4, 4, kPenLineOrigin);
  ps.plot(1, 0, kPenLine);
  ps.plot(0, 0, kPenEnd);

  const test::CommandResult gs =
      test::render_postscript(path.string());
  EXPECT_EQ(gs.status, 0) << gs.output;
  EXPECT_EQ(gs.output.find("Error"), std::string::npos) << gs.output;
  // Two pages, each with something drawn on it.
  size_t pages = 0;
  for (size_t at = gs.output.find("%%BoundingBox:"); at != std::string::npos;
       at = gs.output.find("%%BoundingBox:", at + 1)) {
    ++pages;
  }
  EXPECT_EQ(pages, 2u) << gs.output;
}

TEST_F(PostScript, GhostscriptPlacesOneUnitAtOneCentimetre) {
  TAMBRI_REQUIRE_PROGRAM("gs");
  open();
  ps.rectangle(1, 2, 3, 4, kRectangleFilled);
  ps.plot(0, 0, kPenEnd);
  const test::CommandResult gs =
      test::render_postscript(path.string());
  EXPECT_EQ(gs.status, 0) << gs.output;
  // 28.3 points per centimetre: 28.3 56.6 84.9 113.2, rounded outward.
  EXPECT_NE(gs.output.find("%%BoundingBox: 28 56 85 114"), std::string::npos) << gs.output;
}

}  // namespace
}  // namespace tambri
