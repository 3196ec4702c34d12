#include "dialogue/result_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <sstream>
#include <tuple>

#include "support/file_size_limit.h"
#include "support/session.h"

namespace tambri {
namespace {

struct Records : RecordSink {
  void record(std::string_view text) override { lines.emplace_back(text); }
  std::vector<std::string> lines;
};

const LocalDateTime kWhen{5, 3, 2026, 9, 5, 3};
const std::string kHeader = " *** TAMBRI ***             Potential                      5- 3-2026    9: 5: 3";

// nx x ny nodes on lines 0.01 i and 0.02 j; potential 100 i + j.
struct Table {
  Table(int nx, int ny) {
    model->grid.nx = nx;
    model->grid.ny = ny;
    for (int i = 1; i <= nx; ++i) model->grid.x[i] = 0.01 * i;
    for (int j = 1; j <= ny; ++j) model->grid.y[j] = 0.02 * j;
    for (int k = 1; k <= nx * ny; ++k) arrays->solution.potential[k] = 100 * ((k - 1) % nx + 1) + (k - 1) / nx + 1;
  }
  std::unique_ptr<StructureModel> model = std::make_unique<StructureModel>();
  std::unique_ptr<FieldArrays> arrays = std::make_unique<FieldArrays>();
};

TEST(ResultTable, HeaderBlocksOfSixAndExtremes) {
  Table t(2, 13);
  Records out;
  write_result_table(out, *t.model, *t.arrays, kTablePotential, "Potential", kWhen);
  const std::vector<std::string> first_block{
      kHeader,
      "",
      "       y-Line       1          2          3          4          5          6        ",
      "        (m)     2.00E-02   4.00E-02   6.00E-02   8.00E-02   1.00E-01   1.20E-01",
      " x-Line",
      "   1 1.00E-02  1.010E+02  1.020E+02  1.030E+02  1.040E+02  1.050E+02  1.060E+02",
      "   2 2.00E-02  2.010E+02  2.020E+02  2.030E+02  2.040E+02  2.050E+02  2.060E+02"};
  // Three blocks of 6, 6 and 1 y lines, each repeating x lines 1 and 2.
  const std::vector<std::string> last_block{
      "",
      "       y-Line      13        ",
      "        (m)     2.60E-01",
      " x-Line",
      "   1 1.00E-02  1.130E+02",
      "   2 2.00E-02  2.130E+02",
      "",
      " Maximum:  2.130E+02 bei x= 2.000E-02 m  y= 2.600E-01 m",
      "",
      " Minimum:  1.010E+02 bei x= 1.000E-02 m  y= 2.000E-02 m"};
  ASSERT_EQ(out.lines.size(), 1u + 3 * 6 + 4);
  EXPECT_EQ(std::vector<std::string>(out.lines.begin(), out.lines.begin() + 7), first_block);
  EXPECT_EQ(std::vector<std::string>(out.lines.end() - 10, out.lines.end()), last_block);
}

TEST(ResultTable, DerivedSelectorsAndThePermeability) {
  Table t(1, 1);
  FieldArrays& a = *t.arrays;
  // Field strength (3, 4), flux density (-6, 8), coefficient 4.
  std::tie(a.derived.strength_x[1], a.derived.strength_y[1], a.material.c[1]) = std::tuple(3.0, 4.0, 4.0);
  std::tie(a.derived.flux_x[1], a.derived.flux_y[1]) = std::tuple(-6.0, 8.0);
  EXPECT_EQ(table_value(*t.model, a, kTableMagnitudeFirst, 1), 5.0);
  EXPECT_EQ(table_value(*t.model, a, kTableMagnitudeSecond, 1), 10.0);
  EXPECT_EQ(table_value(*t.model, a, kTableMaterial, 1), 4.0);
  t.model->problem = kProblemM;
  EXPECT_EQ(table_value(*t.model, a, kTableMaterial, 1), 0.25);
}

// The destination dialogue in `dir`; returns the screen.
std::string print_in(const test::TempDir& dir, const std::string& input) {
  Table table(2, 2);
  std::istringstream in(input);
  std::ostringstream out;
  Console console(in, out, true);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  print_result_table(console, *table.model, *table.arrays, kTablePotential, "Potential", [] { return kWhen; });
  std::filesystem::current_path(previous);
  console.finish();
  return out.str();
}

// A folder of the chosen name is offered for overwriting, then refused; a
// file that cannot be written is reported and keeps its old contents.
TEST(ResultTableFile, AFolderOrAFailedWriteIsRefusedAndLeavesWhatWasThere) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "ordner");
  const std::string expected =
      "Ausgabedatei (<Return> Terminal):ordner\nDatei vorhanden - überschreiben? [y/n]:y\n\n"
      "### Fehler bei Dateieröffnung ###\nAusgabedatei (<Return> Terminal):\n" + kHeader.substr(1) + "\n";
  EXPECT_EQ(print_in(dir, "ordner\ny\n\n").substr(0, expected.size()), expected);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "ordner"));
  test::write_file(dir / "pot.txt", "alt");
  EXPECT_EQ(test::with_file_size_limit(64, [&] {
    return print_in(dir, "pot.txt\ny\n") == "Ausgabedatei (<Return> Terminal):pot.txt\n"
                                               "Datei vorhanden - überschreiben? [y/n]:y\n\n### Schreibfehler ###\n";
  }), 1);
  EXPECT_EQ(test::read_file(dir / "pot.txt"), "alt");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 2);
}

}  // namespace
}  // namespace tambri
