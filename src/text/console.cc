#include "text/console.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "text/line_editor.h"
#include "text/text_width.h"

namespace tambri {
namespace {

bool is_separator(char c) { return c == ' ' || c == ',' || c == '\t'; }

std::vector<std::string_view> split_tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && is_separator(line[pos])) ++pos;
    size_t start = pos;
    while (pos < line.size() && !is_separator(line[pos])) ++pos;
    if (pos > start) tokens.push_back(line.substr(start, pos - start));
  }
  return tokens;
}

char fold(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return c;
}

// A character of a letter answer: ASCII folded, anything else a non-command.
char letter_of(const std::string& ch) {
  if (ch.size() != 1 || static_cast<unsigned char>(ch[0]) >= 0x80) return '\x01';
  return fold(ch[0]);
}

bool all_digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

std::optional<double> parse_real_token(std::string_view token) {
  size_t pos = 0;
  if (pos < token.size() && (token[pos] == '+' || token[pos] == '-')) ++pos;
  size_t int_start = pos;
  while (pos < token.size() && std::isdigit(static_cast<unsigned char>(token[pos]))) ++pos;
  size_t int_digits = pos - int_start;
  size_t frac_digits = 0;
  if (pos < token.size() && token[pos] == '.') {
    ++pos;
    size_t frac_start = pos;
    while (pos < token.size() && std::isdigit(static_cast<unsigned char>(token[pos]))) ++pos;
    frac_digits = pos - frac_start;
  }
  if (int_digits + frac_digits == 0) return std::nullopt;
  std::string text(token.substr(0, pos));
  if (pos < token.size()) {
    char e = token[pos];
    if (e != 'e' && e != 'E' && e != 'd' && e != 'D') return std::nullopt;
    ++pos;
    std::string_view exponent = token.substr(pos);
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.remove_prefix(1);
    if (!all_digits(exponent)) return std::nullopt;
    text += 'e';
    text += token.substr(pos);
  }
  // A value beyond the double range is a failed reading, as it would be for
  // a Fortran list-directed read; it must not reach the model as infinity.
  const double value = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> parse_integer_token(std::string_view token) {
  std::string_view digits = token;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) digits.remove_prefix(1);
  if (!all_digits(digits)) return std::nullopt;
  errno = 0;
  std::string text(token);
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

Console::Console(std::istream& in, std::ostream& out, bool echo_input) : in_(in), out_(out), echo_input_(echo_input) {}

Console::~Console() = default;

void Console::use_line_editor(std::unique_ptr<LineEditor> editor) { editor_ = std::move(editor); }

void Console::write_text(std::string_view text) {
  out_ << text;
  shown_line_ += text;
  line_chars_ += utf8_length(text);
}

void Console::record(std::string_view text) {
  const char control = text.empty() ? ' ' : text[0];
  std::string_view body = text.empty() ? text : text.substr(1);
  if (control == '+') {
    const int previous = line_chars_;
    out_ << '\r';
    line_chars_ = 0;
    shown_line_.clear();
    write_text(body);
    if (line_chars_ < previous) write_text(std::string(static_cast<size_t>(previous - line_chars_), ' '));
  } else {
    if (line_occupied_) {
      out_ << '\n';
      line_chars_ = 0;
      shown_line_.clear();
    }
    write_text(body);
  }
  line_occupied_ = true;
}

void Console::message(std::string_view text) {
  empty_line();
  record(text);
}

void Console::prompt(std::string_view text) {
  record(text);
  out_.flush();
}

void Console::prompt_after_empty_line(std::string_view text) {
  empty_line();
  prompt(text);
}

void Console::finish() {
  if (line_occupied_) out_ << '\n';
  line_occupied_ = false;
  line_chars_ = 0;
  shown_line_.clear();
  out_.flush();
}

std::string Console::read_line() { return read_answer(/*return_wait=*/false); }

void Console::await_return() { read_answer(/*return_wait=*/true); }

std::string Console::read_answer(bool return_wait) {
  out_.flush();
  std::string line;
  if (editor_) {
    line = edited_line(return_wait);
  } else {
    if (waiter_) waiter_->await_input(in_);
    if (!std::getline(in_, line)) throw EndOfInput{};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (echo_input_) out_ << line << '\n';
  }
  line_occupied_ = false;
  line_chars_ = 0;
  shown_line_.clear();
  return line;
}

std::string Console::edited_line(bool return_wait) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kSecondInterrupt = std::chrono::seconds(1);
  std::optional<Clock::time_point> last_interrupt;
  std::string line;
  for (;;) {
    // The editor writes the prompt again, to redraw it with the line.
    out_ << '\r' << std::flush;
    switch (editor_->read(shown_line_, line, waiter_, in_)) {
      case LineEditor::Outcome::kLine: return line;
      case LineEditor::Outcome::kEnd: throw EndOfInput{};
      case LineEditor::Outcome::kInterrupted: break;
    }
    out_ << '\n';
    if (return_wait) return {};
    const Clock::time_point now = Clock::now();
    if (last_interrupt && now - *last_interrupt < kSecondInterrupt) {
      line_occupied_ = false;
      line_chars_ = 0;
      throw Interrupted{};
    }
    last_interrupt = now;
    if (!told_how_to_end_) {
      out_ << "(Ende mit X)\n";
      told_how_to_end_ = true;
    }
  }
}

char Console::read_letter() { return read_letters(1)[0]; }

std::string Console::read_letters(int count) {
  // Only the first characters count: a long line is not split up.
  std::vector<std::string> chars = utf8_characters(first_characters(read_line(), count));
  std::string letters;
  for (int k = 0; k < count; ++k) {
    letters += k < static_cast<int>(chars.size()) ? letter_of(chars[static_cast<size_t>(k)]) : ' ';
  }
  return letters;
}

std::string Console::read_text(int width) { return pad_to_width(read_line(), width); }

bool Console::read_numbers(std::initializer_list<NumberField> fields) {
  auto field = fields.begin();
  while (field != fields.end()) {
    const std::string line = read_line();
    for (std::string_view token : split_tokens(line)) {
      if (field->real) {
        std::optional<double> v = parse_real_token(token);
        if (!v) return false;
        *field->real = *v;
      } else {
        std::optional<int> v = parse_integer_token(token);
        if (!v) return false;
        *field->integer = *v;
      }
      if (++field == fields.end()) break;
    }
  }
  return true;
}

std::optional<int> Console::read_digit() {
  const std::string line = read_line();
  if (line.empty() || line[0] == ' ') return 0;
  if (std::isdigit(static_cast<unsigned char>(line[0]))) return line[0] - '0';
  return std::nullopt;
}

}  // namespace tambri
