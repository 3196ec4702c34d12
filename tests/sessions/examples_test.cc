// The example structures are built by their answer scripts; running a script
// must give the committed structure file byte for byte, so the examples never
// drift from what the dialogue produces.
#include <gtest/gtest.h>

#include <string>

#include "support/example_session.h"
#include "support/session.h"

namespace tambri::test {
namespace {

TEST(Examples, ScriptsRebuildTheCommittedStructureFiles) {
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(examples_dir())) {
    if (entry.path().extension() != ".txt") continue;
    TempDir dir;
    SessionResult r = run_session(dir.path(), read_lines(entry.path()));
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
