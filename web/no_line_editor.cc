// No libedit in the browser: there is never a terminal to edit at, so the
// console reads plain lines.
#include "text/line_editor.h"

namespace tambri {

struct LineEditor::State {};

std::unique_ptr<LineEditor> LineEditor::open_at_terminal() { return nullptr; }

LineEditor::LineEditor(std::unique_ptr<State> state) : state_(std::move(state)) {}

LineEditor::~LineEditor() = default;

LineEditor::Outcome LineEditor::read(const std::string&, std::string&, InputWaiter*, std::istream&) {
  return Outcome::kEnd;
}

void LineEditor::save_history() {}

}  // namespace tambri
