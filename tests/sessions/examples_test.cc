// The example structures are built by their answer scripts; running a script
// must give the committed structure file byte for byte, so the examples never
// drift from what the dialogue produces.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/session.h"

namespace tambri::test {
namespace {

TEST(Examples, ScriptsRebuildTheCommittedStructureFiles) {
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TAMBRI_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".txt") continue;
    std::istringstream script(read_file(entry.path()));
    std::vector<std::string> answers;
    for (std::string line; std::getline(script, line);) answers.push_back(line);
    TempDir dir;
    EXPECT_EQ(run_session(dir.path(), answers).status, 0) << entry.path();
    const std::filesystem::path dat = std::filesystem::path(entry.path()).replace_extension(".dat");
    EXPECT_EQ(read_file(dir / dat.filename().string()), read_file(dat)) << entry.path();
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace tambri::test
