#include "dialogue/menu.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tambri {
namespace {

// Runs a small menu on `input` and returns the screen; `ran` collects the
// commands in the order they ran, each with the rest of its answer.
struct MenuRun {
  std::string screen;
  std::vector<std::string> ran;
  MenuEnd end = MenuEnd::kLeft;
};

MenuRun run(const MenuStyle& style, const std::string& input, std::string_view carried = "",
            bool ends_on_input_end = false) {
  MenuRun result;
  std::istringstream in(input);
  std::ostringstream out;
  Console console(in, out, true);
  const auto note = [&result](std::string name, MenuNext next) {
    return [&result, name, next](std::string_view rest) {
      result.ran.push_back(name + "[" + std::string(rest) + "]");
      return next;
    };
  };
  result.end = run_menu(console, style,
                        {{"XX", "XX- Zwei", note("XX", MenuNext::kPrompt)},
                         {"E", "E  - Eins", note("E", MenuNext::kHelp)},
                         {"EX", "EX - Komponente", note("EX", MenuNext::kPrompt)},
                         {"", "   (nur Hilfe)", {}},
                         {"Q", "", note("Q", MenuNext::kPrompt)},
                         {"X", "X  - Ende", leave_menu}},
                        carried, ends_on_input_end);
  console.finish();
  result.screen = out.str();
  return result;
}

// The GENERATE and main-menu screens pin prefix keys, carried answers, blank
// and wrong answers; these are the variants only other menus use.
TEST(Menu, WholeKeysNeedBlanksAfterThemAndHelpOnlyRowsSelectNothing) {
  const MenuRun r = run({" T>", " Help: ", 2, KeyMatch::kWhole, false}, "E\nEX\nEZ\nQ\nX\n");
  EXPECT_EQ(r.ran, (std::vector<std::string>{"E[ ]", "EX[]", "Q[ ]"}));
  EXPECT_NE(r.screen.find("T>EZ\n\n### Falsche Eingabe ###\n\nT>Q"), std::string::npos) << r.screen;
}

TEST(Menu, WrongAnswersBringTheHelpWhenAskedAndACarriedAnswerRunsFirst) {
  const std::string help = "\nH>XX- Zwei\n  E  - Eins\n  EX - Komponente\n     (nur Hilfe)\n  X  - Ende\n";
  EXPECT_EQ(run({" >", " H>", 1, KeyMatch::kPrefix, false, true}, "?\nX\n").screen,
            "\n>?\n\n### Falsche Eingabe ###\n" + help + "\n>X\n");
  const MenuRun carried = run({" >", " H>", 2}, "X\n", "EX");
  EXPECT_EQ(carried.ran, (std::vector<std::string>{"E[X]"}));
  EXPECT_EQ(carried.screen, help + "\n>X\n");  // E asks for the help afterwards, not before
}

TEST(Menu, TheEndOfTheInputPropagatesUnlessTheMenuEndsOnIt) {
  EXPECT_THROW(run({" T>", " Help: ", 1}, "E\n"), EndOfInput);
  EXPECT_EQ(run({" T>", " Help: ", 1}, "E\n", "", true).end, MenuEnd::kInputEnded);
}

}  // namespace
}  // namespace tambri
