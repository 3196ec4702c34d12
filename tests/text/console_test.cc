#include "text/console.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dialogue/string_screen.h"
#include "support/text_cases.h"

namespace tambri {
namespace {

using test::Screen;

// A blank-control record writes a line feed first only when a record occupies
// the current line (not at the start, nor right after an answer was read); a
// "+" record goes back over the current line and blanks what it leaves.
TEST(ConsoleOutput, CarriageControlOfBlankAndPlusRecords) {
  Screen s("G\n");
  s.console.record(" eins");
  s.console.empty_line();
  s.console.record(" working...");
  s.console.record("+ab");
  s.console.record("+abc");
  s.console.prompt_after_empty_line(" TAMBRI>");
  EXPECT_EQ(s.console.read_letter(), 'G');
  s.console.message(" ### Falsche Eingabe ###");
  s.console.finish();
  EXPECT_EQ(s.out.str(), "eins\n\nworking...\rab        \rabc       \n\nTAMBRI>G\n\n### Falsche Eingabe ###\n");
}

TEST(ConsoleInput, LettersDigitsTextsAndLines) {
  Screen s("g\n\näx\nsp\n\n3\nX\nWärmeleiter.dat\nabc\r\n");
  EXPECT_EQ(s.console.read_letter(), 'G');  // only a to z are folded
  EXPECT_EQ(s.console.read_letter(), ' ');
  EXPECT_EQ(s.console.read_letter(), '\x01');
  EXPECT_EQ(s.console.read_letters(3), "SP ");
  EXPECT_EQ(s.console.read_digit(), 0);
  EXPECT_EQ(s.console.read_digit(), 3);
  EXPECT_EQ(s.console.read_digit(), std::nullopt);
  EXPECT_EQ(s.console.read_text(12), "Wärmeleiter.");  // characters, not bytes
  s.out.str("");
  EXPECT_EQ(s.console.read_line(), "abc");
  EXPECT_EQ(s.out.str(), "abc\n");  // the echo without the CR
  EXPECT_THROW(s.console.read_line(), EndOfInput);
  EXPECT_THROW(s.console.read_letter(), EndOfInput);
}

TEST(ConsoleInput, FreeFormNumbersSpanLinesIgnoreTheRestAndKeepWhatWasStored) {
  Screen s("1.5, -2\n\n  3e2 7 99\n4 5 x 7\n");
  double a = 0, b = 0, c = 0, d = 0;
  int n = 0;
  ASSERT_TRUE(s.console.read_numbers({a, b}));
  EXPECT_EQ(std::vector<double>({a, b}), std::vector<double>({1.5, -2.0}));
  ASSERT_TRUE(s.console.read_numbers({a, n}));  // empty line skipped, 99 ignored
  EXPECT_EQ(std::vector<double>({a, double(n)}), std::vector<double>({300.0, 7.0}));
  c = 0;
  EXPECT_FALSE(s.console.read_numbers({a, b, c, d}));
  EXPECT_EQ(std::vector<double>({a, b, c}), std::vector<double>({4.0, 5.0, 0.0}));
}

TEST(ConsoleInput, RealAndIntegerTokens) {
  for (const test::CaseRow& c : test::read_cases("tests/text/data/console_tokens.txt")) {
    std::optional<double> read = parse_real_token(c[1]);
    if (c[0] == "integer") read = parse_integer_token(c[1]);
    EXPECT_EQ(read.has_value(), c[2] != "bad") << c.where;
    if (read && c[2] != "ok" && c[2] != "bad") {
      EXPECT_EQ(*read, test::number(c[2])) << c.where;
    }
  }
}

// Records what the screen showed each time the console was about to block.
struct ScreenAtEachWait : InputWaiter {
  explicit ScreenAtEachWait(const std::ostringstream& screen) : out(screen) {}
  void await_input(std::istream&) override { seen.push_back(out.str()); }
  const std::ostringstream& out;
  std::vector<std::string> seen;
};

TEST(ConsoleInput, WaiterRunsBeforeEveryLineWithThePromptAlreadyShown) {
  Screen s("1\n2 3\ny\nrest\n");
  ScreenAtEachWait waiter(s.out);
  s.console.set_input_waiter(&waiter);
  s.console.prompt(" Werte:");
  double a = 0, b = 0, c = 0;
  ASSERT_TRUE(s.console.read_numbers({a, b, c}));
  s.console.prompt_after_empty_line(" Weiter [Y/N]:");
  EXPECT_EQ(s.console.read_letter(), 'Y');
  EXPECT_EQ(waiter.seen, (std::vector<std::string>{"Werte:", "Werte:1\n", "Werte:1\n2 3\n\nWeiter [Y/N]:"}));
  s.console.set_input_waiter(nullptr);
  EXPECT_EQ(s.console.read_line(), "rest");
  EXPECT_EQ(waiter.seen.size(), 3u);
}

}  // namespace
}  // namespace tambri
