#include "dialogue/matrix_table.h"

#include <optional>
#include <string>

#include "dialogue/table_destination.h"
#include "text/fortran_format.h"

namespace tambri {
namespace {

std::string blanks(int n) { return std::string(static_cast<size_t>(n), ' '); }

}  // namespace

void write_matrix_list(RecordSink& sink, const Grid& grid, const StencilMatrix& matrix) {
  sink.record("");
  sink.record(blanks(2) + "Element " + "Links" + blanks(6) + "Oben" + blanks(7) + "Mitte" + blanks(6) + "Unten" +
              blanks(6) + "Rechts");
  sink.record("");
  for (int k = 1; k <= grid.nodes(); ++k) {
    sink.record(blanks(2) + format_i(k, 5) + " " + " " + format_e10(matrix.links[k]) + " " +
                format_e10(matrix.oben[k]) + " " + format_e10(matrix.mitte[k]) + " " + format_e10(matrix.unten[k]) +
                " " + format_e10(matrix.rechts[k]));
  }
}

void write_matrix_element(RecordSink& sink, const Grid& grid, const StencilMatrix& matrix, int i, int j) {
  const int k = grid.node(i, j);
  sink.record("");
  sink.record(blanks(24) + format_e10(matrix.oben[k]));
  sink.record(blanks(29) + "|");
  sink.record(blanks(10) + format_e10(matrix.links[k]) + " - " + format_e10(matrix.mitte[k]) + " - " +
              format_e10(matrix.rechts[k]));
  sink.record(blanks(25) + "(" + format_i(i, 3) + "," + format_i(j, 3) + ")");
  sink.record(blanks(29) + "|");
  sink.record(blanks(24) + format_e10(matrix.unten[k]));
}

void show_matrix_table(Console& console, const Grid& grid, const StencilMatrix& matrix) {
  const std::unique_ptr<FileRecordSink> file = choose_table_destination(console, OverwriteRule::kReplace);
  RecordSink& out = file ? static_cast<RecordSink&>(*file) : console;

  console.record(" A - alle Elemente");
  console.record(" E - einzelne Elemente");
  console.prompt(" --->");
  const char mode = console.read_letter();
  if (mode == 'A') {
    write_matrix_list(out, grid, matrix);
  } else if (mode == 'E') {
    for (;;) {
      console.empty_line();
      console.prompt(" Element (X - Ende) ix jy =");
      int ix = 0, jy = 0;
      if (!console.read_numbers({ix, jy})) break;
      if (jy > grid.ny || jy < 1 || ix < 1 || ix > grid.nx) {
        console.record(" ### Element existiert nicht ###");
      } else {
        write_matrix_element(out, grid, matrix, ix, jy);
      }
    }
  }
  // A failed write leaves the old file (or none) in place.
  if (file && !file->close()) console.message(" ### Schreibfehler ###");
}

}  // namespace tambri
