// Runs one whole-screen script (a .screen file) and compares every screen
// line, and the files it names, with what the program wrote.
//
// A script is the screen as the user must see it, answers marked in braces:
//
//   @ a comment
//   @copy kondensa.dat           the example structure into the scratch folder
//   @structure klein.dat M       the small test structure of problem E, S or M
//                                (5 x 3 lines, borders on potential, see
//                                support/small_structures.h)
//   @history kondensa.dat        history.inp naming it
//   @write name ... @end         a file with the lines between ("\x4B" is
//                                the byte 0x4B)
//   @folder name                 a folder where a file is expected
//   @args --headless --png       the command line (default --headless)
//   @status 1                    the exit status (default 0)
//   TAMBRI>{X}                   a prompt and the answer typed there; the
//                                screen line is the prompt followed by the echo
//   {0.5 0.5}                    an answer on a line of its own (a further
//                                line of numbers)
//   @match [0-9]+ Iterationen    one screen line matching the regular expression
//   @file schnitt.dat ... @end   afterwards the file holds exactly these lines;
//                                inside, "@match RE" stands for one line
//                                matching RE (a table's date and time)
//   @session                     a further run in the same folder
//
// Every other line is one screen line, written as shown: "\r" stands for the
// carriage return of a line rewritten in place, trailing blanks count, and a
// missing, extra or changed line anywhere fails.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "support/session.h"
#include "support/small_structures.h"
#include "support/text_cases.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

struct ExpectedLine {
  std::string text;
  bool pattern = false;
};

struct ExpectedFile {
  std::string name;
  std::vector<ExpectedLine> lines;
};

struct Session {
  std::vector<std::string> args{"--headless"};
  int status = 0;
  Lines input;
  std::vector<ExpectedLine> screen;
  std::vector<ExpectedFile> files;
};

struct Script {
  std::vector<std::pair<std::string, std::string>> setup;  // name, bytes
  std::vector<std::string> folders;
  std::vector<Session> sessions{1};
};

// "\r" in a script stands for a carriage return, "\xNN" for the byte NN.
std::string unescape(std::string line) {
  for (size_t at = line.find("\\x"); at != std::string::npos; at = line.find("\\x", at + 1))
    line.replace(at, 4, 1, static_cast<char>(std::stoi(line.substr(at + 2, 2), nullptr, 16)));
  return std::regex_replace(line, std::regex(R"(\\r)"), "\r");
}

// The lines up to "@end".
Lines block(std::istream& in, const std::string& opened_by) {
  Lines lines;
  for (std::string line; std::getline(in, line);) {
    if (line == "@end") return lines;
    lines.push_back(unescape(line));
  }
  throw std::runtime_error(opened_by + " without @end");
}

Script parse(const fs::path& path, const fs::path& examples) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  Script script;
  for (std::string line; std::getline(in, line);) {
    Session& session = script.sessions.back();
    const std::string directive = line.substr(0, line.find(' '));
    const std::string argument = line.size() > directive.size() ? line.substr(directive.size() + 1) : "";
    if (directive == "@") continue;
    if (directive == "@copy") {
      script.setup.emplace_back(argument, tambri::test::read_file(examples / argument));
    } else if (directive == "@structure") {
      const std::vector<std::string> w = tambri::test::words(argument);
      const std::optional<tambri::FieldProblem> problem =
          w.size() == 2 && w[1].size() == 1 ? tambri::problem_of_letter(w[1][0]) : std::nullopt;
      if (!problem) throw std::runtime_error("@structure wants a name and E, S or M");
      script.setup.emplace_back(w[0], tambri::test::small_structure(*problem));
    } else if (directive == "@history") {
      script.setup.emplace_back("history.inp", argument + "\r\n");
    } else if (directive == "@write") {
      script.setup.emplace_back(argument, "");
      for (const std::string& text : block(in, line)) script.setup.back().second += text + "\n";
    } else if (directive == "@folder") {
      script.folders.push_back(argument);
    } else if (directive == "@args") {
      session.args = tambri::test::words(argument);
    } else if (directive == "@status") {
      session.status = std::stoi(argument);
    } else if (directive == "@match") {
      session.screen.push_back({argument, true});
    } else if (directive == "@file") {
      session.files.push_back({argument, {}});
      for (const std::string& text : block(in, line)) {
        const bool pattern = text.rfind("@match ", 0) == 0;
        session.files.back().lines.push_back({pattern ? text.substr(7) : text, pattern});
      }
    } else if (directive == "@session") {
      script.sessions.emplace_back();
    } else if (!directive.empty() && directive[0] == '@') {
      throw std::runtime_error("unknown directive " + directive);
    } else {
      std::string text = unescape(line);
      const size_t open = text.rfind('{');
      if (!text.empty() && text.back() == '}' && open != std::string::npos) {
        const std::string answer = text.substr(open + 1, text.size() - open - 2);
        session.input.push_back(answer);
        text = text.substr(0, open) + answer;
      }
      session.screen.push_back({text, false});
    }
  }
  return script;
}

bool matches(const ExpectedLine& expected, const std::string& actual) {
  return expected.pattern ? std::regex_match(actual, std::regex(expected.text)) : expected.text == actual;
}

std::string shown(const std::string& line) { return std::regex_replace(line, std::regex("\r"), "\\r"); }

// Reports the first difference with the lines around it; true when equal.
bool compare(const std::string& what, const std::vector<ExpectedLine>& expected, const Lines& actual) {
  size_t k = 0;
  while (k < expected.size() && k < actual.size() && matches(expected[k], actual[k])) ++k;
  if (k == expected.size() && k == actual.size()) return true;
  std::cerr << what << ": first difference at line " << k + 1 << "\n";
  const size_t from = k < 4 ? 0 : k - 4;
  for (size_t n = from; n < k + 4 && (n < expected.size() || n < actual.size()); ++n) {
    const std::string want =
        n < expected.size() ? (expected[n].pattern ? "@match " : "") + expected[n].text : "(nothing)";
    const std::string got = n < actual.size() ? shown(actual[n]) : "(nothing)";
    std::cerr << (n == k ? "> " : "  ") << n + 1 << " expected |" << shown(want) << "|\n"
              << (n == k ? "> " : "  ") << n + 1 << " written  |" << got << "|\n";
  }
  return false;
}

bool run_script(const fs::path& path, const fs::path& examples) {
  const Script script = parse(path, examples);
  tambri::test::TempDir dir;
  for (const auto& [name, bytes] : script.setup) tambri::test::write_file(dir / name, bytes);
  for (const std::string& name : script.folders) fs::create_directories(dir / name);
  bool ok = true;
  int number = 0;
  for (const Session& session : script.sessions) {
    const std::string what = path.filename().string() + " session " + std::to_string(++number);
    const tambri::test::SessionResult result = tambri::test::run_session(dir.path(), session.input, session.args);
    ok = compare(what + " screen", session.screen, result.lines()) && ok;
    if (result.status != session.status) {
      std::cerr << what << ": exit status " << result.status << ", expected " << session.status << "\n";
      ok = false;
    }
    for (const ExpectedFile& file : session.files) {
      const Lines written = tambri::test::split_lines(tambri::test::read_file(dir / file.name));
      ok = compare(what + " file " + file.name, file.lines, written) && ok;
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: screen_driver EXAMPLES_DIR SCRIPT...\n";
    return 2;
  }
  bool ok = true;
  for (int k = 2; k < argc; ++k) {
    try {
      ok = run_script(argv[k], argv[1]) && ok;
    } catch (const std::exception& e) {
      std::cerr << argv[k] << ": " << e.what() << "\n";
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
