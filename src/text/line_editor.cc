#include "text/line_editor.h"

#include <histedit.h>
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "text/files.h"
#include "text/interrupt.h"

namespace tambri {

struct LineEditor::State {
  EditLine* editor = nullptr;
  History* history = nullptr;
  std::string history_path;  // empty: no history file
  std::string prompt;
  InputWaiter* waiter = nullptr;
  std::istream* in = nullptr;
  std::mbstate_t decoding{};
  bool interrupted = false;

  ~State() {
    if (editor) el_end(editor);
    if (history) history_end(history);
  }
};

namespace {

LineEditor::State& state_of(EditLine* editor) {
  void* data = nullptr;
  el_get(editor, EL_CLIENTDATA, &data);
  return *static_cast<LineEditor::State*>(data);
}

char* prompt_of(EditLine* editor) { return state_of(editor).prompt.data(); }

// libedit's reader blocks in read() and retries it once when a signal
// interrupts it; this one waits in ppoll with SIGINT let through only there,
// so Ctrl-C ends the wait at once, and lets the picture window take its events
// between the keys. Returns 1 with a character, 0 at the end of the input,
// -1 for Ctrl-C (the note stays for LineEditor::read).
int read_character(EditLine* editor, wchar_t* character) {
  LineEditor::State& state = state_of(editor);
  for (;;) {
    if (interrupt_pending()) {
      state.interrupted = true;
      errno = EINTR;
      return -1;
    }
    if (state.waiter) state.waiter->await_input(*state.in);
    pollfd input{STDIN_FILENO, POLLIN, 0};
    int ready;
    {
      InterruptsHeld held;
      ready = interrupt_pending() ? 0 : ppoll(&input, 1, nullptr, held.open_mask());
    }
    if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
    if (ready < 0) return 0;
    char byte;
    const ssize_t count = ::read(STDIN_FILENO, &byte, 1);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return 0;
    wchar_t decoded;
    const size_t used = std::mbrtowc(&decoded, &byte, 1, &state.decoding);
    if (used == static_cast<size_t>(-2)) continue;  // the character goes on
    if (used == static_cast<size_t>(-1)) {
      state.decoding = {};
      decoded = static_cast<unsigned char>(byte);
    }
    *character = used == 0 ? L'\0' : decoded;
    return 1;
  }
}

// The program's texts are UTF-8 whatever the locale says.
void use_utf8_characters() {
  if (std::setlocale(LC_CTYPE, "") && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
  std::setlocale(LC_CTYPE, "C.UTF-8");
}

bool blank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

std::unique_ptr<LineEditor> LineEditor::open_at_terminal() {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return nullptr;
  use_utf8_characters();
  auto state = std::make_unique<State>();
  state->editor = el_init("tambri", stdin, stdout, stderr);
  state->history = history_init();
  if (!state->editor || !state->history) return nullptr;
  HistEvent event;
  history(state->history, &event, H_SETSIZE, kHistorySize);
  history(state->history, &event, H_SETUNIQUE, 1);
  if (const char* home = std::getenv("HOME"); home && *home) {
    state->history_path = std::string(home) + "/.tambri_history";
    history(state->history, &event, H_LOAD, state->history_path.c_str());
  }
  EditLine* editor = state->editor;
  el_set(editor, EL_CLIENTDATA, state.get());
  el_set(editor, EL_EDITOR, "emacs");
  el_set(editor, EL_PROMPT, prompt_of);
  el_set(editor, EL_HIST, history, state->history);
  el_set(editor, EL_GETCFN, read_character);
  el_source(editor, nullptr);  // the user's ~/.editrc, when there is one
  catch_interrupts();
  return std::unique_ptr<LineEditor>(new LineEditor(std::move(state)));
}

LineEditor::LineEditor(std::unique_ptr<State> state) : state_(std::move(state)) {}

LineEditor::~LineEditor() = default;

LineEditor::Outcome LineEditor::read(const std::string& prompt, std::string& line, InputWaiter* waiter,
                                     std::istream& in) {
  State& state = *state_;
  state.prompt = prompt;
  state.waiter = waiter;
  state.in = &in;
  state.decoding = {};
  state.interrupted = false;
  int count = 0;
  const char* text = el_gets(state.editor, &count);
  if (state.interrupted) {
    take_interrupt();
    return Outcome::kInterrupted;
  }
  if (!text || count <= 0) return Outcome::kEnd;
  line.assign(text, static_cast<size_t>(count));
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (!blank(line)) {
    HistEvent event;
    history(state.history, &event, H_ENTER, line.c_str());
    save_history();
  }
  return Outcome::kLine;
}

// After every answer, so that a run that is killed keeps its history too;
// replaced whole, never left half written.
void LineEditor::save_history() {
  if (state_->history_path.empty()) return;
  PendingFile file(state_->history_path);
  if (!file.opened()) return;
  const int fd = ::dup(file.fd());
  FILE* stream = fd < 0 ? nullptr : ::fdopen(fd, "w");
  if (!stream) {
    if (fd >= 0) ::close(fd);
    return;
  }
  HistEvent event;
  const bool written = history(state_->history, &event, H_SAVE_FP, stream) >= 0;
  if (std::fclose(stream) == 0 && written) file.commit(/*sync=*/false);
}

}  // namespace tambri
