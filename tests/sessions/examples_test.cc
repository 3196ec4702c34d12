// The example structures are built by their answer scripts; running a script
// must give the committed structure file byte for byte, so the examples never
// drift from what the dialogue produces.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/session.h"

namespace tambri::test {
namespace {

std::vector<std::string> script_lines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(Examples, ScriptsRebuildTheCommittedStructureFiles) {
  const std::filesystem::path examples = std::filesystem::path(TAMBRI_SOURCE_DIR) / "examples";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(examples)) {
    if (entry.path().extension() != ".txt") continue;
    TempDir dir;
    SessionResult r = run_session(dir.path(), script_lines(entry.path()));
    EXPECT_EQ(r.status, 0) << entry.path();
    std::filesystem::path dat = entry.path();
    dat.replace_extension(".dat");
    EXPECT_EQ(read_file(dir / dat.filename().string()), read_file(dat)) << entry.path();
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace tambri::test
