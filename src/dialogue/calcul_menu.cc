#include "dialogue/calcul_menu.h"

#include "core/assembly.h"
#include "dialogue/matrix_table.h"
#include "dialogue/menu.h"
#include "text/fortran_format.h"
#include "text/interrupt.h"

namespace tambri {
namespace {

class CalculMenu {
 public:
  CalculMenu(Console& console, const StructureModel& model, SolverSettings& settings, FieldArrays& arrays,
             const Clock& clock)
      : console_(console), model_(model), settings_(settings), arrays_(arrays), clock_(clock) {}

  void run(bool start_immediately) {
    settings_.reset_parameters();
    if (!has_discretisation(model_.grid)) {
      console_.message(" ### Keine Diskretisierung ###");
      return;
    }
    for (PotentialNote note : fill_material_coefficients(model_, arrays_.material)) {
      console_.message(potential_note_text(note));
      console_.empty_line();
    }
    assemble_system();
    if (start_immediately) {
      run_solver(kSolverIluBicg);
      return;
    }
    command_loop();
  }

 private:
  void assemble_system() {
    assemble(model_, arrays_.material, arrays_.matrix, arrays_.solution);
    // A new start potential: the field quantities of the old one are gone.
    arrays_.derived.valid = false;
    console_.record(" *** Matrix ready ***");
  }

  void run_solver(int solver) {
    const SolverInfo& info = solver_info(solver);
    console_.message(" working...");
    console_.empty_line();
    // At a terminal the run is seen as it goes: a run may take minutes, and
    // Ctrl-C is there to stop it.
    const bool live = console_.interactive();
    if (live) console_.output().flush();
    // Ctrl-C ends the run after the current iteration exactly as the limit
    // would: the limit becomes that iteration (the solvers look at it after
    // each one), and is put back afterwards. The potential keeps the last
    // iterate, so W goes on from it.
    const int limit = settings_.iteration_limit;
    const bool show_progress = settings_.show_progress;
    const IterationMonitor monitor = [this, solver, show_progress, live](const IterationReport& report) {
      if (show_progress) {
        console_.record(progress_line(solver, report));
        if (live) console_.output().flush();
      }
      if (take_interrupt()) settings_.iteration_limit = report.iteration;
    };
    const SolveResult result = info.solve(model_, arrays_, settings_, monitor);
    settings_.iteration_limit = limit;
    if (result.ready) {
      console_.record(std::string(" *** ") + info.name + " ready ***");
    } else {
      console_.message(std::string(" ### Abbruch ") + info.name + ":  Rel. Fehler:" + format_e10(result.e_max) +
                       " ###");
    }
  }

  void command_loop() {
    static constexpr MenuStyle kStyle{" CALCUL>", " HELP:  ", 3};
    // The help comes again after every command; the second character answers
    // the sub-menu of S or T at once.
    run_menu(console_, kStyle,
             {
                 {"R", "R - Potentialberechnung",
                  then(MenuNext::kHelp,
                       [this] {
                         assemble_system();
                         run_solver(settings_.solver);
                       })},
                 {"L", "L - Lösungsverfahren ändern",
                  [this](std::string_view) { return choose_solver() ? MenuNext::kHelp : MenuNext::kPrompt; }},
                 {"W", "W - Weiteriterieren", then(MenuNext::kHelp, [this] { run_solver(settings_.solver); })},
                 {"T", "T - Tabellenausgabe",
                  then(MenuNext::kHelp, [this](std::string_view rest) { table_menu(rest.substr(0, 1)); })},
                 {"S", "S - Setzen von Parametern",
                  then(MenuNext::kHelp, [this](std::string_view rest) { settings_dialogue(rest[0]); })},
                 {"X", "X - Exit", leave_menu},
                 {"H", "", [](std::string_view) { return MenuNext::kHelp; }},
             });
  }

  // Returns whether the menu help is to be shown again.
  bool choose_solver() {
    for (;;) {
      console_.record(" Lösungsverfahren:  1 - ILU-BICG");
      console_.record("                    2 - ILU-CG");
      console_.record("                    3 - SLOR");
      console_.record("                    4 - SOR");
      console_.record("                    X - zum Hauptmenue");
      console_.prompt(" Auswahl (" + format_i(settings_.solver, 1) + "):");
      const std::optional<int> digit = console_.read_digit();
      if (!digit) return false;
      if (*digit >= kSolverIluBicg && *digit <= kSolverSor) settings_.solver = *digit;
      if (*digit <= kSolverSor) return true;
      wrong_input(console_);
    }
  }

  void show_settings() {
    console_.empty_line();
    console_.record(std::string(" Ausgabe des relativen Fehlers: ") + (settings_.show_progress ? "Y" : "N"));
    console_.record(" Iterationszahl: " + format_i(settings_.iteration_limit, 4));
    console_.record(" Omega: " + format_f(settings_.omega, 4, 2));
    console_.record(" Rel. Abbruchfehler: " + format_e10(settings_.relative_error));
  }

  template <class Value>
  void read_value(const char* prompt, Value& value) {
    do {
      console_.prompt(prompt);
    } while (!console_.read_numbers({value}));
  }

  void settings_dialogue(char pending) {
    show_settings();
    for (;;) {
      if (pending == ' ') {
        console_.record(" Änderung:  A - Ausgabe");
        console_.record("            I - Iterationszahl");
        console_.record("            O - Omega");
        console_.record("            R - Rel. Fehler");
        console_.record("            X - zum Hauptmenue");
        console_.prompt(" --->");
        pending = console_.read_letter();
      }
      switch (pending) {
        case 'A': {
          console_.prompt(" Ausgabe [Y/N] =");
          const char answer = console_.read_letter();
          if (answer == 'Y') settings_.show_progress = true;
          if (answer == 'N') settings_.show_progress = false;
          break;
        }
        case 'I': read_value(" Iterationszahl =", settings_.iteration_limit); break;
        case 'O': read_value(" Omega =", settings_.omega); break;
        case 'R': read_value(" Rel. Fehler =", settings_.relative_error); break;
        case 'X':
        case ' ': return;
        default:
          wrong_input(console_);
          pending = ' ';
          continue;
      }
      pending = ' ';
      show_settings();
    }
  }

  void table(int selector, const char* title) {
    print_result_table(console_, model_, arrays_, selector, title, clock_);
  }

  void table_menu(std::string_view carried) {
    static constexpr MenuStyle kStyle{" CALCUL\\TABELLE>", " Help:  ", 2, KeyMatch::kPrefix,
                                      /*help_on_entry=*/false};
    const auto table_of = [this](int selector, const char* title) {
      return then(MenuNext::kPrompt, [this, selector, title] { table(selector, title); });
    };
    std::vector<MenuCommand> commands = {
        {"U", "U  - Strukturbelegung", table_of(kTableOccupancy, "Strukturbelegung         ")}};
    // The material coefficient is K in problems E and S; in problem M the
    // help offers P for the permeability and K selects nothing.
    const FieldProblemTraits& traits = traits_of(model_.problem);
    commands.push_back({traits.material_keys, traits.material_help, table_of(kTableMaterial, traits.material_title)});
    commands.push_back({"R", "R  - rechte Seite Gl.-System", table_of(kTableRhs, "Rechte Seite Gl.-System  ")});
    commands.push_back({"M", "M  - Koeffizientenmatrix",
                        then(MenuNext::kPrompt, [this] { show_matrix_table(console_, model_.grid, arrays_.matrix); })});
    commands.push_back({"X", "X  - zum Hauptmenue", leave_menu});
    // The potential, not named in the help.
    commands.push_back({"P", "", table_of(kTablePotential, "Potential                ")});
    run_menu(console_, kStyle, commands, carried);
  }

  Console& console_;
  const StructureModel& model_;
  SolverSettings& settings_;
  FieldArrays& arrays_;
  const Clock& clock_;
};

}  // namespace

std::string progress_line(int solver, const IterationReport& report) {
  static const char* const kMarks[] = {"/", "-", "\\", "|"};
  const std::string lead = solver_info(solver).rotating_mark
                               ? std::string("+ ") + kMarks[(report.iteration - 1) % 4] + "  "
                               : std::string("+*** ");
  return lead + "Iteration:" + format_i(report.iteration, 4) + "   Rel. Fehler:" + format_e10(report.e_max) +
         " am Punkt x,y(" + format_i(report.i, 3) + "," + format_i(report.j, 3) + ") ***";
}

void run_calcul_menu(Console& console, const StructureModel& model, SolverSettings& settings, FieldArrays& arrays,
                     bool start_immediately, const Clock& clock) {
  CalculMenu(console, model, settings, arrays, clock).run(start_immediately);
}

}  // namespace tambri
