#include "dialogue/uncovered_parts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tambri {
namespace {

TEST(UncoveredParts, EachPartGetsItsMessageAfterAnEmptyLine) {
  std::istringstream in;
  std::ostringstream out;
  Console console(in, out, false);
  report_uncovered_parts(console, {{kShapeRectangle, 1}, {kShapeCircle, 1}, {kShapeTriangle, 12}});
  console.finish();
  EXPECT_EQ(out.str(),
            "\n### Keine Diskretisierungspunkte für Rechteck  1 ###\n"
            "\n### Keine Diskretisierungspunkte für Kreis  1 ###\n"
            "\n### Keine Diskretisierungspunkte für Dreieck 12 ###\n");
}

}  // namespace
}  // namespace tambri
