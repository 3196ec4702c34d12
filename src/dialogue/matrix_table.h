#pragma once
// The five coefficients of the assembled matrix, on the console or into a file
// (replaced without a question): for all nodes as a list, or node by node as
// a picture of the five-point star.
#include "core/field_arrays.h"
#include "model/structure_model.h"
#include "text/console.h"
#include "text/record_sink.h"

namespace tambri {

// One line per node, after a header.
void write_matrix_list(RecordSink& sink, const Grid& grid, const StencilMatrix& matrix);

// The star of node (i, j): Oben above, Unten below, Links and Rechts beside.
void write_matrix_element(RecordSink& sink, const Grid& grid, const StencilMatrix& matrix, int i, int j);

// The whole command: destination, mode, and the element questions.
void show_matrix_table(Console& console, const Grid& grid, const StencilMatrix& matrix);

}  // namespace tambri
