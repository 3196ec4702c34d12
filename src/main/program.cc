#include "main/program.h"

#include <iostream>
#include <memory>

#include "dialogue/calcul_menu.h"
#include "dialogue/generate_menu.h"
#include "dialogue/menu.h"
#include "dialogue/questions.h"
#include "dialogue/results_menu.h"
#include "main/program_state.h"
#include "text/console.h"
#include "text/line_editor.h"
#include "text/text_width.h"
#include "text/version.h"

namespace tambri {
namespace {

constexpr const char* kUsage =
    "Aufruf: tambri [--headless] [--png] [--vtk] [--help] [--version]\n"
    "  2D-Numerische Feldberechnung im Dialog; alle Dateien im aktuellen Verzeichnis.\n"
    "  --headless  keine Fenster öffnen (Bilder nur als Dateien)\n"
    "  --png       jede gespeicherte Bitmap auch als <Name>.png\n"
    "  --vtk       bei jedem Eintritt in RESULTS die Felder als <Name>.vtr (VTK)\n"
    "  --help      diese Hilfe\n"
    "  --version   Version ausgeben\n";

void write_banner(Console& console) {
  const std::string indent(20, ' ');
  console.empty_line();
  console.record(" " + indent + " _____________________________________");
  console.record(" " + indent + "|             " + pad_to_width("TAMBRI  V" TAMBRI_VERSION, 24) + "|");
  console.record(" " + indent + "|     2D-Numerische Feldberechnung    |");
  console.record(" " + indent + "|    Frei für Lehre und Forschung     |");
  console.record(" " + indent + "|_____________________________________|");
  console.empty_line();
}

void write_information(Console& console) {
  console.empty_line();
  console.record("       TAMBRI V" TAMBRI_VERSION);
  console.empty_line();
  console.record("       Hinweise und Fragen bitte an:");
  console.empty_line();
  console.record("       TAMBRI-Entwicklungsteam");
  console.record("       Projekt TAMBRI");
  console.record("       Numerische Feldberechnung");
  console.record("       Musterstraße 1");
  console.record("       00000 Musterstadt");
  console.record("       Tel. 000 000000, Fax 000 000001");
  console.record("       tambri@example.org");
}

void run_calcul(Console& console, ProgramState& state, bool start_immediately) {
  run_calcul_menu(console, state.model, state.solver, *state.fields, start_immediately, system_local_time);
}
void run_results(Console& console, ProgramState& state) {
  run_results(console, state.model, *state.fields, state.output, state.results, state.pictures(), system_local_time);
}

class MainProgram {
 public:
  // Status of a run that ended because the input closed at " TAMBRI>".
  static constexpr int kEndAtMainMenu = -1;

  MainProgram(Console& console, ProgramState& state) : console_(console), state_(state) {}

  // Returns the exit status.
  int run() {
    state_.surface.gfx_clear(0);
    state_.surface.gfx_set_text_window(1, 1, 40, 80);
    write_banner(console_);
    generate_step();
    return main_menu();
  }

 private:
  void generate_step() {
    SessionFlags& session = state_.session;
    run_generate(console_, state_.model, state_.generate, session, state_.output, state_.pictures());
    if (!session.structure_available) return;
    if (!state_.model.modified && session.results_available) return;
    if (ask_yes_after_empty_line(console_, " Feldberechnung starten [Y/N]:")) calculation_step(true);
  }

  void calculation_step(bool start_immediately) {
    if (!state_.session.structure_available) {
      console_.message(" ### Keine Struktur verfügbar ###");
      return;
    }
    run_calcul(console_, state_, start_immediately);
    state_.session.results_available = true;
    state_.model.modified = false;
  }

  void results_step() {
    if (!state_.session.results_available) {
      console_.message(" ### Keine Ergebnisse verfügbar ###");
      return;
    }
    run_results(console_, state_);
  }

  int main_menu() {
    static constexpr MenuStyle kStyle{" TAMBRI>", " HELP:  ", 1};
    const MenuEnd end = run_menu(
        console_, kStyle,
        {
            {"G", "G - Generierung/Modifizierung Struktur", then(MenuNext::kHelp, [this] { generate_step(); })},
            {"C", "C - Feldberechnung", then(MenuNext::kHelp, [this] { calculation_step(false); })},
            {"R", "R - Ergebnisauswertung", then(MenuNext::kHelp, [this] { results_step(); })},
            {"Q", "Q - Info", then(MenuNext::kHelp, [this] { write_information(console_); })},
            {"X", "X - Exit", leave_menu},
        },
        "", /*ends_on_input_end=*/true);
    if (end == MenuEnd::kInputEnded) return kEndAtMainMenu;
    state_.surface.gfx_set_exit_no_prompt();
    return 0;
  }

  Console& console_;
  ProgramState& state_;
};

}  // namespace

int run_program(const std::vector<std::string>& args, ProgramIo io) {
  bool headless = false, png = false, vtk = false;
  for (const std::string& arg : args) {
    if (arg == "--help") {
      io.out << kUsage;
      return 0;
    }
    if (arg == "--version") {
      io.out << "tambri " TAMBRI_VERSION "\n";
      return 0;
    }
    if (arg == "--headless" || arg == "--png" || arg == "--vtk") {
      (arg == "--headless" ? headless : arg == "--png" ? png : vtk) = true;
      continue;
    }
    io.err << "tambri: unbekannte Option '" << arg << "' (siehe tambri --help)\n";
    return 2;
  }

  Console console(io.in, io.out, io.echo_input);
  auto state = std::make_unique<ProgramState>(headless, io.err);
  state->output.png_copies = png;
  state->results.write_vtk = vtk;
  console.set_input_waiter(&state->input_waiter);
  if (io.terminal) console.use_line_editor(LineEditor::open_at_terminal());
  int status;
  try {
    status = MainProgram(console, *state).run();
    if (status == MainProgram::kEndAtMainMenu) {
      console.finish();
      io.err << "tambri: Eingabe beendet\n";
      return 0;
    }
  } catch (const EndOfInput&) {
    console.finish();
    io.err << "tambri: Eingabe vorzeitig beendet, nichts gesichert\n";
    return 1;
  } catch (const Interrupted&) {
    console.finish();
    io.err << "tambri: mit Strg-C beendet, nichts gesichert\n";
    return 130;
  }
  console.finish();
  return status;
}

}  // namespace tambri
