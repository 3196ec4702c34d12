// The whole dialogue from a byte string: the bytes are the answer lines of a
// headless session in a scratch folder that holds a small structure of each
// field problem. The number of answers is capped so that every run ends.
//
// Two things keep the harness, not the program, in bounds: a "/" in an answer
// becomes "_" (file names stay inside the scratch folder), and runs of more
// than four digits are cut to four (an iteration limit of billions on the
// largest grid is a long calculation the user asked for, not a hang).
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "main/program.h"
#include "model/structure_model.h"
#include "support/small_structures.h"

namespace {

constexpr int kMaxAnswers = 400;
constexpr int kMaxDigitRun = 4;

void write(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

// Puts the three structures back (a session may have saved over them).
void prepare_folder() {
  write("e.dat", tambri::test::small_structure(tambri::FieldProblem::kElectrostatic));
  write("s.dat", tambri::test::small_structure(tambri::FieldProblem::kCurrentFlow));
  write("m.dat", tambri::test::small_structure(tambri::FieldProblem::kMagnetostatic));
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
