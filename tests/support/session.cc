#include "support/session.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "main/program.h"

namespace tambri::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tambri_test_XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::TempDir(const std::string& example) : TempDir() {
  std::filesystem::copy_file(std::filesystem::path(TAMBRI_SOURCE_DIR) / "examples" / example, path_ / example);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<std::string> SessionResult::lines() const { return split_lines(screen); }

SessionResult run_session(const std::filesystem::path& dir, const std::vector<std::string>& input,
                          const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& line : input) text += line + "\n";
  std::istringstream in(text);
  std::ostringstream out, err;
  const InDir in_dir(dir);  // left again however the program ends
  const int status = run_program(args, {in, out, err, true});
  return {out.str(), err.str(), status};
}

bool contains_run(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
  return std::search(lines.begin(), lines.end(), expected.begin(), expected.end()) != lines.end();
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buf;
  buf << in.rdbuf();
  return buf.str();
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace tambri::test
