#include "draw/postscript.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "draw/picture_files.h"
#include "support/external_tools.h"
#include "support/session.h"
#include "text/text_width.h"

namespace tambri {
namespace {

const std::filesystem::path kData = std::filesystem::path(TAMBRI_SOURCE_DIR) / "tests/draw/data";

struct PostScript : ::testing::Test {
  PostScript() { settings.postscript_off = false; }
  void open() { ASSERT_TRUE(ps.open(path.string() + "   ")); }
  std::string page() { return test::read_file(path); }
  // The records after the prolog, which ends in "0. g".
  std::string body() { return page().substr(page().find("\n0. g\n") + 6); }
  test::TempDir dir;
  OutputSettings settings;
  PsWriter ps{settings};
  std::filesystem::path path = dir / "bild_c.ps";
};

// Runs a page script: one operation of the writer a line, its numbers
// first, its texts after "|" (tests/draw/data/*.ops).
void run_script(PsWriter& ps, const std::string& name) {
  for (const std::string& line : test::split_lines(test::read_file(kData / (name + ".ops")))) {
    std::vector<std::string> texts;
    for (size_t bar = line.find('|'); bar != std::string::npos; bar = line.find('|', bar + 1)) {
      texts.push_back(line.substr(bar + 1, line.find('|', bar + 1) - bar - 1));
    }
    std::istringstream in(line.substr(0, line.find('|')));
    std::string op, word;
    std::vector<double> v;
    for (in >> op; in >> word;) v.push_back(std::stod(word));
    const auto i = [&v](size_t k) { return static_cast<int>(v.at(k)); };
    if (op == "plot") ps.plot(v.at(0), v.at(1), i(2));
    else if (op == "grey") ps.set_grey(i(0), i(1));
    else if (op == "hue") ps.set_hue(i(0), i(1));
    else if (op == "colour") ps.set_colour(i(0));
    else if (op == "width") ps.set_line_width(i(0));
    else if (op == "path") ps.end_path(i(0));
    else if (op == "rect") ps.rectangle(v.at(0), v.at(1), v.at(2), v.at(3), i(4));
    else if (op == "text") ps.text(v.at(0), v.at(1), v.at(2), texts.at(0), v.at(3), i(4));
    else if (op == "place")
      place_picture(ps, i(0), v.at(1), v.at(2), v.at(3), v.at(4), texts.at(0), texts.at(1), texts.at(2));
    else ADD_FAILURE() << "unknown operation: " << line;
  }
}

// Pages whose texts are all ASCII, compared byte for byte with the files
// their writer wrote before texts outside ASCII were re-encoded.
TEST_F(PostScript, AsciiPagesAreWrittenExactlyAsBefore) {
  for (const std::string name : {"operations", "clamped", "picture"}) {
    open();
    run_script(ps, name);
    ps.plot(0, 0, kPenEnd);
    EXPECT_TRUE(ps.ok() && !ps.is_open());
    EXPECT_EQ(page(), test::read_file(kData / (name + ".ps"))) << name;
  }
}

// Counts stay counts of characters; the re-encoded font is defined once per
// page, before its first text outside ASCII; ASCII texts keep Helvetica.
TEST_F(PostScript, TextsOutsideAsciiAreWrittenInLatin1WithOctalEscapes) {
  open();
  ps.plot(0, 0, kPenMove);
  ps.plot(1, 0, kPenLine);
  ps.text(1, 2, 0.5, "Größe (m) € \\", 0, 13);
  ps.text(1, 3, 0.5, "ÄÖÜ", 0, 2);
  ps.text(1, 4, 0.5, "abc", 0, 3);
  ps.text(1, 5, 0.5, "\xC3 \xC2\x85\xC2\xA0ÿ\xF0\x9F\x98\x80", 0, 6);  // broken, C1, NBSP, ÿ, beyond
  ps.plot(0, 0, kPenNewPage);
  ps.text(1, 6, 0.5, "é", 0, 1);
  ps.plot(0, 0, kPenEnd);
  EXPECT_EQ(body(), test::read_file(kData / "latin1_texts.txt"));

  // The title fields count characters: 12 for the stem, 35 for the comment.
  EXPECT_EQ(ps_structure_text("größe", "Ölstand"), "Struktur : größe       Ölstand" + std::string(30, ' '));
  EXPECT_EQ(utf8_length(ps_title_text("Feldstärke äöü")), 33);
}

// Ghostscript reads every operation without error, shows one centimetre as
// 28.3 points, and prints the umlauts of the title lines.
TEST_F(PostScript, GhostscriptRendersThePagesAndReadsTheUmlautsBack) {
  TAMBRI_REQUIRE_PROGRAM("gs");
  open();
  run_script(ps, "picture");
  const PicturePlacement p =
      place_picture(ps, false, 0, 1, 0, 2, "Feldstärke |E| (V/m)", "größe       ", "ÄÖÜ äöü ß (a) \\ € Ende");
  EXPECT_TRUE(p.sh == 8 && p.sv == 8);  // equal scales: 16 cm over the larger extent
  ps.plot(0, 0, kPenEnd);
  test::CommandResult gs = test::render_postscript(path.string());
  EXPECT_TRUE(test::rendered_cleanly(gs)) << gs.output;
  EXPECT_EQ(test::split_lines(gs.output).size(), 4u) << gs.output;  // two pages, two bounding boxes each

  gs = test::run_command("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=- '" + path.string() + "'");
  EXPECT_EQ(gs.status, 0) << gs.output;
  for (const char* shown : {"TAMBRI: Feldstaerke E  (V/m)", "Kommentar (a) \\ b", "TAMBRI: Feldstärke |E| (V/m)",
                            "Struktur : größe", "ÄÖÜ äöü ß (a) \\ ? Ende"}) {
    EXPECT_NE(gs.output.find(shown), std::string::npos) << shown << " not in:\n" << gs.output;
  }

  open();
  ps.rectangle(1, 2, 3, 4, kRectangleFilled);
  ps.plot(0, 0, kPenEnd);
  gs = test::render_postscript(path.string());
  // 28.3 points per centimetre: 28.3 56.6 84.9 113.2, rounded outward.
  EXPECT_NE(gs.output.find("%%BoundingBox: 28 56 85 114"), std::string::npos) << gs.output;
}

TEST_F(PostScript, FailuresAndPostScriptOffLeaveNoFile) {
  EXPECT_FALSE(ps.open((dir / "fehlt" / "x.ps").string()));
  EXPECT_EQ(ps.failure_message(), " ### Fehler bei Dateieröffnung ###");
  ps.plot(1, 1, kPenMove);  // harmless
  if (std::filesystem::exists("/dev/full")) {
    ASSERT_TRUE(ps.open("/dev/full"));  // opens, but takes no byte
    ps.rectangle(1, 2, 3, 4, kRectangleFilled);
    ps.plot(0, 0, kPenEnd);
    EXPECT_EQ(ps.failure_message(), " ### Schreibfehler ###");
  }
  settings.postscript_off = true;
  EXPECT_TRUE(ps.open(path.string()) && ps.ok());
  ps.text(0, 0, 1, "x", 0, 1);
  ps.plot(0, 0, kPenEnd);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PictureFiles, StemUpToItsFirstBlankAtMostSixCharactersPlusTagAndExtension) {
  EXPECT_EQ(picture_file_name("trafo       ", kTagIsolines, ".bmp"), "trafo_i.bmp ");
  EXPECT_EQ(picture_file_name("KONDENSA    ", kTagStructure, ".bmp"), "KONDEN_a.bmp");
  EXPECT_EQ(picture_file_name("Öläöüß12    ", kTagCut, ".ps"), "Öläöüß_s.ps ");
  EXPECT_EQ(picture_file_name("            ", kTagArrows, ".ps"), " _p.ps      ");
}

}  // namespace
}  // namespace tambri
