#include "dialogue/menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "string_screen.h"

namespace tambri {
namespace {

// Runs a small menu on `input` and returns the screen; `ran` collects the
// commands in the order they ran, each with the rest of its answer.
struct MenuRun {
  std::string screen;
  std::vector<std::string> ran;
};

MenuRun run(const MenuStyle& style, const std::string& input) {
  MenuRun result;
  test::Screen screen(input);
  const auto note = [&result](std::string name, MenuNext next) {
    return [&result, name, next](std::string_view rest) {
      result.ran.push_back(name + "[" + std::string(rest) + "]");
      return next;
    };
  };
  run_menu(screen.console, style,
           {{"XX", "XX- Zwei", note("XX", MenuNext::kPrompt)},
            {"E", "E  - Eins", note("E", MenuNext::kHelp)},
            {"EX", "EX - Komponente", note("EX", MenuNext::kPrompt)},
            {"", "   (nur Hilfe)", {}},
            {"Q", "", note("Q", MenuNext::kPrompt)},
            {"X", "X  - Ende", leave_menu}},
           "");
  result.screen = screen.text();
  return result;
}

// The GENERATE and main-menu screens pin prefix keys, carried answers, blank
// and wrong answers and the end of the input; these are the variants only
// other menus use: whole keys, help-only rows, the help after a wrong answer.
TEST(Menu, WholeKeysHelpOnlyRowsAndTheHelpAfterAWrongAnswer) {
  const MenuRun r = run({" >", " H>", 2, KeyMatch::kWhole, false, true}, "E\nEX\nEZ\nQ\nX\n");
  EXPECT_EQ(r.ran, (std::vector<std::string>{"E[ ]", "EX[]", "Q[ ]"}));
  const std::string help = "\nH>XX- Zwei\n  E  - Eins\n  EX - Komponente\n     (nur Hilfe)\n  X  - Ende\n";
  EXPECT_NE(r.screen.find("\n>EZ\n\n### Falsche Eingabe ###\n" + help + "\n>Q\n"), std::string::npos) << r.screen;
}

}  // namespace
}  // namespace tambri
