#include "text/console.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tambri {
namespace {

struct Screen {
  explicit Screen(const std::string& input) : in(input), console(in, out, true) {}
  std::istringstream in;
  std::ostringstream out;
  Console console;
};

TEST(ConsoleOutput, BlankControlWritesLineFeedBeforeTextOnlyWhenLineOccupied) {
  Screen s("");
  s.console.record(" eins");
  s.console.empty_line();
  s.console.record(" zwei");
  s.console.finish();
  EXPECT_EQ(s.out.str(), "eins\n\nzwei\n");
}

TEST(ConsoleOutput, EmptyRecordRightAfterAnAnswerTakesALineOfItsOwn) {
  Screen s("G\n");
  s.console.prompt_after_empty_line(" TAMBRI>");
  EXPECT_EQ(s.console.read_letter(), 'G');
  s.console.message(" ### Falsche Eingabe ###");
  s.console.finish();
  EXPECT_EQ(s.out.str(), "\nTAMBRI>G\n\n### Falsche Eingabe ###\n");
}

TEST(ConsoleOutput, PlusRecordOverwritesAndBlanksTheRest) {
  Screen s("");
  s.console.record(" working...");
  s.console.record("+ab");
  s.console.record("+abc");
  s.console.record(" next");
  s.console.finish();
  EXPECT_EQ(s.out.str(), "working...\rab        \rabc       \nnext\n");
}

TEST(ConsoleInput, LettersAreFoldedOnlyForAToZ) {
  Screen s("g\n\näx\nsp\n");
  EXPECT_EQ(s.console.read_letter(), 'G');
  EXPECT_EQ(s.console.read_letter(), ' ');
  EXPECT_EQ(s.console.read_letter(), '\x01');
  EXPECT_EQ(s.console.read_letters(3), "SP ");
}

TEST(ConsoleInput, EchoStripsCrLfAndEndOfInputThrows) {
  Screen s("abc\r\n");
  EXPECT_EQ(s.console.read_line(), "abc");
  EXPECT_EQ(s.out.str(), "abc\n");
  EXPECT_THROW(s.console.read_line(), EndOfInput);
  EXPECT_THROW(s.console.read_letter(), EndOfInput);
}

TEST(ConsoleInput, FreeFormNumbersSpanLinesAndIgnoreTheRest) {
  Screen s("1.5, -2\n\n  3e2 7 99\n");
  double a = 0, b = 0;
  int n = 0;
  ASSERT_TRUE(s.console.read_numbers({a, b}));
  EXPECT_EQ(a, 1.5);
  EXPECT_EQ(b, -2.0);
  ASSERT_TRUE(s.console.read_numbers({a, n}));  // empty line skipped, 99 ignored
  EXPECT_EQ(a, 300.0);
  EXPECT_EQ(n, 7);
}

TEST(ConsoleInput, FailedNumberReadKeepsValuesAlreadyStored) {
  Screen s("4 5 x 7\n");
  double a = 0, b = 0, c = 0, d = 0;
  EXPECT_FALSE(s.console.read_numbers({a, b, c, d}));
  EXPECT_EQ(a, 4.0);
  EXPECT_EQ(b, 5.0);
  EXPECT_EQ(c, 0.0);
}

TEST(ConsoleInput, RealAndIntegerTokens) {
  for (const char* ok : {"12", "-1.5", ".5", "1.", "1e-3", "1E+03", "1d-3", "1.5D2", "+2"}) {
    EXPECT_TRUE(parse_real_token(ok).has_value()) << ok;
  }
  EXPECT_EQ(*parse_real_token("1.5D2"), 150.0);
  for (const char* bad : {"", ".", "e5", "1e", "1x", "abc", "inf", "nan", "0x10", "--1", "1e999", "-1d400"}) {
    EXPECT_FALSE(parse_real_token(bad).has_value()) << bad;
  }
  EXPECT_EQ(*parse_integer_token("-17"), -17);
  for (const char* bad : {"1.", "1e3", "2.0", "x", "99999999999"}) {
    EXPECT_FALSE(parse_integer_token(bad).has_value()) << bad;
  }
}

TEST(ConsoleInput, DigitFieldAndTextField) {
  Screen s("\n3\nX\nWärmeleiter.dat\n");
  EXPECT_EQ(s.console.read_digit(), 0);
  EXPECT_EQ(s.console.read_digit(), 3);
  EXPECT_EQ(s.console.read_digit(), std::nullopt);
  EXPECT_EQ(s.console.read_text(12), "Wärmeleiter.");
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
