#include "evaluate/result_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/session.h"

namespace tambri {
namespace {

struct Records : RecordSink {
  void record(std::string_view text) override { lines.emplace_back(text); }
  std::vector<std::string> lines;
};

const LocalDateTime kWhen{5, 3, 2026, 9, 5, 3};

// nx x ny nodes on lines 0.01*i and 0.02*j; potential = 100*i + j.
struct Table {
  Table(int nx, int ny) {
    model->grid.nx = nx;
    model->grid.ny = ny;
    for (int i = 1; i <= nx; ++i) model->grid.x[i] = 0.01 * i;
    for (int j = 1; j <= ny; ++j) model->grid.y[j] = 0.02 * j;
    for (int j = 1; j <= ny; ++j) {
      for (int i = 1; i <= nx; ++i) arrays->solution.potential[model->grid.node(i, j)] = 100 * i + j;
    }
  }
  std::unique_ptr<StructureModel> model = std::make_unique<StructureModel>();
  std::unique_ptr<FieldArrays> arrays = std::make_unique<FieldArrays>();
};

TEST(ResultTable, HeaderBlocksOfSixAndExtremes) {
  Table t(2, 13);
  Records out;
  write_result_table(out, *t.model, *t.arrays, kTablePotential, "Potential", kWhen);
  const std::vector<std::string> expected_start{
      " *** TAMBRI ***             Potential                      5- 3-2026    9: 5: 3",
      "",
      "       y-Line       1          2          3          4          5          6        ",
      "        (m)     2.00E-02   4.00E-02   6.00E-02   8.00E-02   1.00E-01   1.20E-01",
      " x-Line",
      "   1 1.00E-02  1.010E+02  1.020E+02  1.030E+02  1.040E+02  1.050E+02  1.060E+02",
      "   2 2.00E-02  2.010E+02  2.020E+02  2.030E+02  2.040E+02  2.050E+02  2.060E+02",
      ""};
  ASSERT_GE(out.lines.size(), expected_start.size());
  EXPECT_EQ(std::vector<std::string>(out.lines.begin(), out.lines.begin() + 8), expected_start);
  // Three blocks: 6, 6 and 1 y lines, each repeating x lines 1 and 2.
  const std::vector<std::string> expected_end{
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
  EXPECT_EQ(std::vector<std::string>(out.lines.end() - 10, out.lines.end()), expected_end);
}

TEST(ResultTable, ConstantQuantityHasItsExtremesAtTheFirstNodePrinted) {
  Table t(3, 8);
  for (int k = 1; k <= 24; ++k) t.model->occupancy[k] = 10;
  Records out;
  write_result_table(out, *t.model, *t.arrays, kTableOccupancy, "Strukturbelegung", kWhen);
  EXPECT_EQ(out.lines[5], "   1 1.00E-02  1.000E+01  1.000E+01  1.000E+01  1.000E+01  1.000E+01  1.000E+01");
  EXPECT_EQ(out.lines.end()[-3], " Maximum:  1.000E+01 bei x= 1.000E-02 m  y= 2.000E-02 m");
  EXPECT_EQ(out.lines.end()[-1], " Minimum:  1.000E+01 bei x= 1.000E-02 m  y= 2.000E-02 m");
}

TEST(ResultTable, SelectorsReadTheirArrays) {
  Table t(2, 2);
  FieldArrays& a = *t.arrays;
  a.material.c[1] = 4.0;
  a.matrix.links[1] = 3.0;
  a.matrix.oben[1] = 4.0;
  a.matrix.mitte[1] = -6.0;
  a.matrix.unten[1] = 8.0;
  a.matrix.rhs[1] = -2.5;
  EXPECT_EQ(table_value(*t.model, a, kTableMagnitudeFirst, 1), 5.0);
  EXPECT_EQ(table_value(*t.model, a, kTableMagnitudeSecond, 1), 10.0);
  EXPECT_EQ(table_value(*t.model, a, kTableRhs, 1), -2.5);
  EXPECT_EQ(table_value(*t.model, a, kTableMaterial, 1), 4.0);
  t.model->problem = kProblemM;  // the permeability, 1/c
  EXPECT_EQ(table_value(*t.model, a, kTableMaterial, 1), 0.25);
}

// The destination dialogue on a console of string streams, in a fresh folder.
struct Dialogue {
  std::vector<std::string> run(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    Console console(in, out, true);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    print_result_table(console, *table.model, *table.arrays, kTablePotential, "Potential",
                       [] { return kWhen; });
    std::filesystem::current_path(previous);
    console.finish();
    std::vector<std::string> lines;
    std::istringstream split(out.str());
    for (std::string line; std::getline(split, line);) lines.push_back(line);
    return lines;
  }
  test::TempDir dir;
  Table table{2, 2};
};

TEST(ResultTableFile, NewFileGetsTheRecordsWithTheirFirstCharacter) {
  Dialogue d;
  EXPECT_EQ(d.run("pot.txt\n"), std::vector<std::string>{"Ausgabedatei (<Return> Terminal):pot.txt"});
  const std::string file = test::read_file(d.dir / "pot.txt");
  EXPECT_EQ(file.substr(0, 16), " *** TAMBRI *** ");
  EXPECT_NE(file.find("\n\n       y-Line       1          2        \n"), std::string::npos);
  EXPECT_NE(file.find("\n Minimum:  1.010E+02 bei x= 1.000E-02 m  y= 2.000E-02 m\n"), std::string::npos);
}

TEST(ResultTableFile, ExistingFileIsReplacedOnlyAfterYes) {
  Dialogue d;
  test::write_file(d.dir / "pot.txt", "alt\n");
  std::vector<std::string> screen = d.run("pot.txt\nn\n");
  EXPECT_EQ(screen[1], "Datei vorhanden - überschreiben? [y/n]:n");
  EXPECT_EQ(screen[2], "*** TAMBRI ***             Potential                      5- 3-2026    9: 5: 3");
  EXPECT_EQ(test::read_file(d.dir / "pot.txt"), "alt\n");

  screen = d.run("pot.txt\ny\n");
  EXPECT_EQ(screen.size(), 2u);
  EXPECT_EQ(test::read_file(d.dir / "pot.txt").substr(0, 15), " *** TAMBRI ***");
}

TEST(ResultTableFile, OpenFailureAsksForTheNameAgain) {
  Dialogue d;
  const std::vector<std::string> screen = d.run("kein/ordner.txt\ny\n\n");
  const std::vector<std::string> expected{
      "Ausgabedatei (<Return> Terminal):kein/ordner.txt",
      "Datei vorhanden - überschreiben? [y/n]:y",
      "",
      "### Fehler bei Dateieröffnung ###",
      "Ausgabedatei (<Return> Terminal):",
      "*** TAMBRI ***             Potential                      5- 3-2026    9: 5: 3"};
  ASSERT_GE(screen.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(screen.begin(), screen.begin() + 6), expected);
}

}  // namespace
}  // namespace tambri
