#pragma once
// The example structures as scripted sessions. Each answer script builds its
// structure in GENERATE from nothing and ends by declining the start question
// and leaving the program; a session cuts that ending and continues with
// solving and evaluating, so the figures come from the structure exactly as
// the script builds it.
#include <filesystem>
#include <string>
#include <vector>

namespace tambri::test {

using Lines = std::vector<std::string>;

std::filesystem::path examples_dir();
Lines read_lines(const std::filesystem::path& path);
// The answer lines of examples/<name>.txt.
Lines example_script(const std::string& name);

// The script's answers up to the start question: its last two answers, "N" to
// the start question and "X" at the main menu, are cut. Throws
// std::invalid_argument when the script does not end that way.
Lines until_start_question(const Lines& script);

// `lines` with its first run equal to `from` replaced by `to`. Throws
// std::invalid_argument when there is no such run, so a variant built from a
// script that has since changed fails instead of silently running the original.
Lines replace_run(const Lines& lines, const Lines& from, const Lines& to);

// Answers to the start question that solve and lead to the main menu:
// the immediate start (ILU-BICG with the default settings), or no immediate
// start but CALCUL with the relative error bound set to `relative_error`, R and X.
Lines immediate_start();
Lines solve_with_relative_error(const std::string& relative_error);

// RESULTS table sub-menu answers for one path integral (letter Q, I or F):
// the two corners as typed, Return for the path picture, X back to RESULTS.
Lines path_integral(const std::string& letter, const std::string& first_corner, const std::string& second_corner);
// RESULTS table answers that write one quantity table to `file`, X back.
Lines table_to_file(const std::string& quantity, const std::string& file);

// The values printed after "Q' =", "I' =" and "PHI' =", in screen order.
std::vector<double> path_integral_results(const std::string& screen);

// Half a unit in the last digit of a value printed with one digit before the
// point and three after (d.dddE+ee): how far the printed value may lie from
// the one computed.
double half_print_unit(double printed);

}  // namespace tambri::test
