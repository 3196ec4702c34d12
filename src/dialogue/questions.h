#pragma once
// Questions that several dialogues ask in the same words.
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/field_problem.h"
#include "text/console.h"

namespace tambri {

// A [Y/N] question whose prompt stays on the line: Y or y means yes, every
// other answer no.
bool ask_yes(Console& console, std::string_view prompt);
// The same, after an empty line.
bool ask_yes_after_empty_line(Console& console, std::string_view prompt);
// A [Y/N] question that is asked again until the answer is Y or N.
bool ask_yes_or_no(Console& console, std::string_view prompt);

// A number read free-form at `prompt` (staying on the line), asked again
// until the answer is one.
double ask_number(Console& console, std::string_view prompt);
// The same, every prompt after an empty line.
double ask_number_after_empty_line(Console& console, std::string_view prompt);

// " Neues Feldproblem:" with the letters E, S and M (and X when `offer_exit`),
// shown again until one of them is typed. The field problem, or none for X.
std::optional<FieldProblem> choose_field_problem(Console& console, bool offer_exit);

}  // namespace tambri
