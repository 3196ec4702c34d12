#pragma once
// The coax reference problem solved once for the evaluation benchmarks, as
// the immediate start does (ILU-BICG, default settings), with its derived
// field quantities; and a scratch folder that is the working directory while
// a picture writes its files.
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/assembly.h"
#include "core/derived_fields.h"
#include "core/field_arrays.h"
#include "core/solver_settings.h"
#include "core/solvers.h"
#include "reference_problems.h"

namespace tambri::bench {

struct SolvedCoax {
  std::unique_ptr<StructureModel> model = reference_model(kCoax);
  std::unique_ptr<FieldArrays> arrays = std::make_unique<FieldArrays>();
  SolveResult result;
  SolvedCoax() {
    model->output_stem = "coax        ";
    model->file_name = "coax.dat    ";
    fill_material_coefficients(*model, arrays->material);
    assemble(*model, arrays->material, arrays->matrix, arrays->solution);
    result = solve_ilu_bicg(*model, *arrays, SolverSettings{}, {});
    compute_derived_fields(*model, arrays->material, arrays->solution, arrays->derived);
  }
};

// Built at the first use and kept for the whole run.
inline SolvedCoax& solved_coax() {
  static SolvedCoax solved;
  return solved;
}

class WorkingFolder {
 public:
  WorkingFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tambri_bench_XXXXXX").string();
    if (mkdtemp(pattern.data())) dir_ = pattern;
    std::filesystem::current_path(dir_);
  }
  ~WorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }
  const std::filesystem::path& path() const { return dir_; }

 private:
  std::filesystem::path previous_ = std::filesystem::current_path();
  std::filesystem::path dir_;
};

}  // namespace tambri::bench
