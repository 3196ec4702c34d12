#include "dialogue/questions.h"

#include "model/structure_model.h"

namespace tambri {

bool ask_yes(Console& console, std::string_view prompt) {
  console.prompt(prompt);
  return console.read_letter() == 'Y';
}

bool ask_yes_after_empty_line(Console& console, std::string_view prompt) {
  console.empty_line();
  return ask_yes(console, prompt);
}

bool ask_yes_or_no(Console& console, std::string_view prompt) {
  for (;;) {
    console.prompt(prompt);
    const char answer = console.read_letter();
    if (answer == 'Y') return true;
    if (answer == 'N') return false;
  }
}

double ask_number(Console& console, std::string_view prompt) {
  double value = 0;
  do {
    console.prompt(prompt);
  } while (!console.read_numbers({value}));
  return value;
}

double ask_number_after_empty_line(Console& console, std::string_view prompt) {
  double value = 0;
  do {
    console.prompt_after_empty_line(prompt);
  } while (!console.read_numbers({value}));
  return value;
}

std::optional<FieldProblem> choose_field_problem(Console& console, bool offer_exit) {
  for (;;) {
    console.record(" Neues Feldproblem:");
    console.record(" Elektrostatisch      - E");
    console.record(" Stationär elektrisch - S");
    if (offer_exit) {
      console.record(" Stationär magnetisch - M");
      console.prompt(" Exit                 - X      -->");
    } else {
      console.prompt(" Stationär magnetisch - M      -->");
    }
    const char letter = console.read_letter();
    if (std::optional<FieldProblem> problem = problem_of_letter(letter)) return problem;
    if (letter == 'X' && offer_exit) return std::nullopt;
  }
}

}  // namespace tambri
