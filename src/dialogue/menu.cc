#include "dialogue/menu.h"

namespace tambri {
namespace {

bool blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

bool selects(const MenuCommand& command, std::string_view answer, KeyMatch match) {
  if (command.keys.empty() || answer.substr(0, command.keys.size()) != command.keys) return false;
  return match == KeyMatch::kPrefix || blank(answer.substr(command.keys.size()));
}

MenuNext dispatch(Console& console, const MenuStyle& style, const std::vector<MenuCommand>& commands,
                  std::string_view answer) {
  if (answer.empty() || answer[0] == ' ') return MenuNext::kHelp;
  for (const MenuCommand& command : commands) {
    if (selects(command, answer, style.match)) return command.run(answer.substr(command.keys.size()));
  }
  wrong_input(console);
  return style.help_after_wrong ? MenuNext::kHelp : MenuNext::kPrompt;
}

}  // namespace

std::function<MenuNext(std::string_view)> toggle_setting(Console& console, bool& flag, const char* (*text)(bool)) {
  return then(MenuNext::kPrompt, [&console, &flag, text] {
    flag = !flag;
    console.message(text(flag));
  });
}

void wrong_input(Console& console) { console.message(" ### Falsche Eingabe ###"); }

void write_menu_help(Console& console, const MenuStyle& style, const std::vector<MenuCommand>& commands) {
  console.empty_line();
  const std::string indent = " " + std::string(style.help_prefix.size() - 1, ' ');
  bool first = true;
  for (const MenuCommand& command : commands) {
    if (command.help.empty()) continue;
    console.record((first ? std::string(style.help_prefix) : indent) + std::string(command.help));
    first = false;
  }
}

MenuEnd run_menu(Console& console, const MenuStyle& style, const std::vector<MenuCommand>& commands,
                 std::string_view carried, bool ends_on_input_end) {
  MenuNext next = !blank(carried)       ? dispatch(console, style, commands, carried)
                  : style.help_on_entry ? MenuNext::kHelp
                                        : MenuNext::kPrompt;
  while (next != MenuNext::kLeave) {
    if (next == MenuNext::kHelp) write_menu_help(console, style, commands);
    console.prompt_after_empty_line(style.prompt);
    std::string answer;
    try {
      answer = console.read_letters(style.letters);
    } catch (const EndOfInput&) {
      if (ends_on_input_end) return MenuEnd::kInputEnded;
      throw;
    }
    next = dispatch(console, style, commands, answer);
  }
  return MenuEnd::kLeft;
}

}  // namespace tambri
