#include "dialogue/result_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <tuple>

#include "string_screen.h"
#include "support/file_size_limit.h"
#include "support/session.h"

namespace tambri {
namespace {

struct Records : RecordSink {
  void record(std::string_view line) override { (text += line) += '\n'; }
  std::string text;
};

const LocalDateTime kWhen{5, 3, 2026, 9, 5, 3};

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

// Three blocks of 6, 6 and 1 y lines, each repeating x lines 1 and 2.
TEST(ResultTable, HeaderBlocksOfSixAndExtremes) {
  Table t(2, 13);
  Records out;
  write_result_table(out, *t.model, *t.arrays, kTablePotential, "Potential", kWhen);
  EXPECT_EQ(out.text, test::read_file(TAMBRI_SOURCE_DIR "/tests/dialogue/data/result_table_2x13.txt"));
}

// The field tables of a session carry the solver's last digits and are pinned
// by layout only; the permittivity and the permeability (1/c) are pinned by
// value in tests/screens/results.
TEST(ResultTable, MagnitudesOfTheFieldStrengthAndTheFluxDensity) {
  Table t(1, 1);
  FieldArrays& a = *t.arrays;
  // Field strength (3, 4), flux density (-6, 8).
  std::tie(a.derived.strength_x[1], a.derived.strength_y[1]) = std::tuple(3.0, 4.0);
  std::tie(a.derived.flux_x[1], a.derived.flux_y[1]) = std::tuple(-6.0, 8.0);
  EXPECT_EQ(table_value(*t.model, a, kTableMagnitudeFirst, 1), 5.0);
  EXPECT_EQ(table_value(*t.model, a, kTableMagnitudeSecond, 1), 10.0);
}

// The destination dialogue in `dir`; returns the screen.
std::string print_in(const test::TempDir& dir, const std::string& input) {
  Table table(2, 2);
  test::Screen screen(input);
  const test::InDir in_dir(dir.path());
  print_result_table(screen.console, *table.model, *table.arrays, kTablePotential, "Potential", [] { return kWhen; });
  return screen.text();
}

// A file that cannot be written is reported and keeps its old contents; the
// folder and the name in no folder are refused in tests/screens/results.
TEST(ResultTableFile, AFailedWriteIsReportedAndLeavesWhatWasThere) {
  test::TempDir dir;
  test::write_file(dir / "pot.txt", "alt");
  EXPECT_EQ(test::with_file_size_limit(64,
                                       [&] {
                                         return print_in(dir, "pot.txt\ny\n") ==
                                                "Ausgabedatei (<Return> Terminal):pot.txt\n"
                                                "Datei vorhanden - überschreiben? [y/n]:y\n\n### Schreibfehler ###\n";
                                       }),
            1);
  EXPECT_EQ(test::read_file(dir / "pot.txt"), "alt");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

}  // namespace
}  // namespace tambri
