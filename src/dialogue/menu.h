#pragma once
// The one shape of every command menu: a table of commands, each with the
// letters that select it, its help line and its action. The help text and the
// dispatch both come from the table, so they cannot disagree; what differs
// between menus (prompt, help prefix, letters read, how letters match) is data.
//
//   const MenuStyle kStyle{" CALCUL>", " HELP:  ", 3};
//   run_menu(console, kStyle, {
//       {"R", "R - Potentialberechnung", [&](std::string_view) { ...; return MenuNext::kHelp; }},
//       {"X", "X - Exit", leave},
//   });
//
// The loop: help (when asked for), the prompt after an empty line, one answer
// line read as `letters` upper-case characters. A blank answer shows the help
// again; an answer that selects nothing gives " ### Falsche Eingabe ###".
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "text/console.h"

namespace tambri {

// What the menu does after a command has run.
enum class MenuNext {
  kPrompt,  // the prompt again
  kHelp,    // the help text, then the prompt
  kLeave,   // leave the menu
};

enum class KeyMatch {
  kPrefix,  // the answer begins with the keys; what follows is handed on
  kWhole,   // the keys and nothing but blanks after them (quantity letters)
};

struct MenuStyle {
  std::string_view prompt;
  // Begins the first help line; the following lines are indented by as many
  // blanks, so that the letters stand in one column.
  std::string_view help_prefix;
  int letters = 1;
  KeyMatch match = KeyMatch::kPrefix;
  // Whether the help comes before the first prompt when no answer is carried in.
  bool help_on_entry = true;
  // Whether " ### Falsche Eingabe ###" is followed by the help.
  bool help_after_wrong = false;
};

struct MenuCommand {
  std::string_view keys;  // empty: a help line that selects nothing
  std::string_view help;  // empty: a command the help does not name
  // Runs the command with the rest of the answer after the keys.
  std::function<MenuNext(std::string_view rest)> run;
};

// The help text of the table.
void write_menu_help(Console& console, const MenuStyle& style, const std::vector<MenuCommand>& commands);

// How a menu ended.
enum class MenuEnd {
  kLeft,        // a command said kLeave
  kInputEnded,  // the input ended at this menu's own prompt (only with ends_on_input_end)
};

// Runs the menu until a command leaves it. A non-blank `carried` answer (the
// rest of the answer that led here) is dispatched before the first prompt.
// The end of the input at the menu's prompt propagates as EndOfInput unless
// `ends_on_input_end`, when it ends the menu.
MenuEnd run_menu(Console& console, const MenuStyle& style, const std::vector<MenuCommand>& commands,
                 std::string_view carried = "", bool ends_on_input_end = false);

// The action of a command that only leaves the menu.
inline MenuNext leave_menu(std::string_view) { return MenuNext::kLeave; }

// An action that runs `command` (given the rest of the answer, or nothing)
// and then always goes on with `next`.
template <class Command>
std::function<MenuNext(std::string_view)> then(MenuNext next, Command command) {
  return [next, command](std::string_view rest) {
    if constexpr (std::is_invocable_v<Command, std::string_view>) {
      command(rest);
    } else {
      command();
    }
    return next;
  };
}

// The action of a command that switches a yes/no setting and then says, with
// `text`, what it is now; the menu prompts again.
std::function<MenuNext(std::string_view)> toggle_setting(Console& console, bool& flag, const char* (*text)(bool));

// The " ### Falsche Eingabe ###" message of every menu and question.
void wrong_input(Console& console);

}  // namespace tambri
