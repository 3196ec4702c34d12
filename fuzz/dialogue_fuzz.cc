// The whole dialogue from a byte string: the bytes are the answer lines of a
// headless session in a scratch folder that holds a small structure of each
// field problem. The number of answers is capped so that every run ends.
//
// Two things keep the harness, not the program, in bounds: a "/" in an answer
// becomes "_" (file names stay inside the scratch folder), and runs of more
// than four digits are cut to four (an iteration limit of billions on the
// largest grid is a long calculation the user asked for, not a hang).
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "main/program.h"
#include "model/structure_file.h"
#include "model/structure_model.h"

namespace {

constexpr int kMaxAnswers = 400;
constexpr int kMaxDigitRun = 4;

// 0.04 m x 0.02 m on 5 x 3 lines, upper border on potential 1, lower on 2.
std::string small_structure(int problem) {
  using namespace tambri;
  StructureModel m;
  m.problem = problem;
  reset_tables_for_new_problem(m);
  m.xe = 0.04;
  m.ye = 0.02;
  m.grid.nx = 5;
  m.grid.ny = 3;
  for (int i = 1; i <= 5; ++i) m.grid.x[i] = 0.01 * (i - 1);
  for (int j = 1; j <= 3; ++j) m.grid.y[j] = 0.01 * (j - 1);
  m.tables.potential[1] = 10.0;
  m.tables.excitation[1] = 1.0E6;
  m.borders.at[1] = {kSideOben, 10};
  m.borders.at[2] = {kSideUnten, 20};
  m.points.at[1] = {0.02, 0.01, problem == kProblemS ? 3 : 100};
  m.borders.count = 2;
  m.points.count = 1;
  m.sequence[1] = m.sequence[2] = kShapeBorder;
  m.sequence[3] = kShapePoint;
  m.sequence_length = 3;
  return encode_structure(m);
}

void write(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

// Puts the three structures back (a session may have saved over them).
void prepare_folder() {
  write("e.dat", small_structure(tambri::kProblemE));
  write("s.dat", small_structure(tambri::kProblemS));
  write("m.dat", small_structure(tambri::kProblemM));
  write("history.inp", "e.dat       \r\n");
}

std::string answers_of(const std::uint8_t* data, std::size_t size) {
  std::string text;
  int lines = 0, digits = 0;
  for (std::size_t k = 0; k < size && lines < kMaxAnswers; ++k) {
    char c = static_cast<char>(data[k]);
    if (c == '/') c = '_';
    digits = (c >= '0' && c <= '9') ? digits + 1 : 0;
    if (digits > kMaxDigitRun) continue;
    text.push_back(c);
    if (c == '\n') ++lines;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static std::string folder = (std::filesystem::temp_directory_path() / "tambri_fuzz_XXXXXX").string();
  if (!mkdtemp(folder.data()) || chdir(folder.c_str()) != 0) abort();
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  prepare_folder();
  std::istringstream in(answers_of(data, size));
  std::ostringstream out, err;
  tambri::run_program({"--headless"}, {in, out, err, true});
  return 0;
}
