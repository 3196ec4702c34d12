#include "dialogue/generate_menu.h"

#include <string>

#include "dialogue/discretisation.h"
#include "dialogue/geometry_entry.h"
#include "dialogue/geometry_list.h"
#include "dialogue/menu.h"
#include "dialogue/output_messages.h"
#include "dialogue/questions.h"
#include "dialogue/structure_dialogs.h"
#include "dialogue/structure_display.h"
#include "dialogue/uncovered_parts.h"
#include "dialogue/value_tables.h"

namespace tambri {
namespace {

constexpr MenuStyle kGenerateStyle{" GENERATE>", " HELP:  ", 3};
constexpr MenuStyle kDiskretStyle{" GENERATE\\DISKRET>", " Help:  ", 2};
constexpr MenuStyle kStrukturStyle{" GENERATE\\STRUKTUR>", " Help:  ", 1};
constexpr MenuStyle kAnzeigeStyle{" GENERATE\\ANZEIGE>", " Help:  ", 1};

const char* grid_position_text(bool under) {
  return under ? " *** Anzeige Diskretisierung unter Struktur ***" : " *** Anzeige Diskretisierung über Struktur ***";
}

// What a save request should do afterwards.
enum class SaveRequest { Stay, Leave, NewStructure };

class GenerateMenu {
 public:
  GenerateMenu(Console& console, StructureModel& model, GenerateState& state, SessionFlags& session,
               OutputSettings& output, Pictures pictures)
      : console_(console), model_(model), state_(state), session_(session), output_(output), pictures_(pictures) {}

  void run() {
    if (!enter()) return;
    run_menu(console_, kGenerateStyle, commands(), "");
  }

 private:
  // Every command returns to the prompt; the help comes only on entry, after
  // a new structure (N) and for a blank answer. The sub-menus take the rest of
  // the answer as their first command.
  std::vector<MenuCommand> commands() {
    return {
        {"A", "A - Anzeige Struktur",
         then(MenuNext::kPrompt, [this](std::string_view rest) { anzeige_menu(rest.substr(0, 1)); })},
        {"D", "D - Diskretisierung erzeugen",
         then(MenuNext::kPrompt, [this](std::string_view rest) { diskret_menu(rest); })},
        {"S", "S - Struktur erzeugen",
         then(MenuNext::kPrompt, [this](std::string_view rest) { struktur(rest.substr(0, 1)); })},
        {"E", "E - Erregungen belegen", then(MenuNext::kPrompt, [this] { excitations(); })},
        {"M", "M - Materialeigenschaften belegen",
         then(MenuNext::kPrompt, [this] { edit_value_table(console_, model_, ValueTable::Material); })},
        {"P", "P - Potentiale belegen",
         then(MenuNext::kPrompt, [this] { edit_value_table(console_, model_, ValueTable::Potential); })},
        {"T", "T - Feldtyp ändern", then(MenuNext::kPrompt, [this] { change_field_type(); })},
        {"N", "N - Neue Struktur", [this](std::string_view) { return new_structure(); }},
        {"W", "W - Struktur sichern", then(MenuNext::kPrompt, [this] { save(SaveRequest::Stay); })},
        {"X", "X - Exit",
         [this](std::string_view) { return leave_requested() ? MenuNext::kLeave : MenuNext::kPrompt; }},
    };
  }

  // Entering GENERATE: load or start a problem when none is loaded. Returns
  // false when loading was refused and GENERATE ends. The help follows from
  // the menu loop, once.
  bool enter() {
    session_.structure_available = false;
    if (!session_.problem_loaded) {
      model_.modified = false;
      session_.results_available = false;
      const LoadOutcome outcome = load_dialogue(console_, model_);
      set_full_window();
      if (outcome == LoadOutcome::kRefused) {
        console_.message(" ### Abbruch GENERATE ###");
        return false;
      }
      session_.problem_loaded = true;
    }
    return true;
  }

  void set_full_window() { state_.window = {1, 1, model_.grid.nx, model_.grid.ny}; }

  void regrid() {
    rasterise_and_report(console_, model_);
    set_full_window();
  }

  void display() { show_structure(console_, model_, state_.window, state_.grid_under_structure, output_, pictures_); }

  void excitations() {
    if (traits_of(model_.problem).has_excitations) edit_value_table(console_, model_, ValueTable::Excitation);
    else console_.message(" ### Keine Erregung möglich ###");
  }

  bool ask_save() {
    console_.empty_line();
    console_.record(" *** Struktur wurde modifiziert ***");
    console_.empty_line();
    return ask_yes_or_no(console_, " Speichern [Y/N]:");
  }

  // X: returns true when GENERATE is left.
  bool leave_requested() {
    if (model_.modified && ask_save()) return save(SaveRequest::Leave);
    leave();
    return true;
  }

  void leave() {
    if (model_.sequence_length > 0) session_.structure_available = true;
  }

  // N: the help follows a new structure; GENERATE ends when its load was
  // refused. A save that cannot run keeps the old structure in place and the
  // user at the prompt, as for any other refused save.
  MenuNext new_structure() {
    if (model_.modified && ask_save() && !save(SaveRequest::NewStructure)) return MenuNext::kPrompt;
    session_.problem_loaded = false;
    return enter() ? MenuNext::kHelp : MenuNext::kLeave;
  }

  // Returns true when the request's follow-up (leave or new structure) goes
  // ahead; a save refused for a missing grid keeps the user at GENERATE>.
  bool save(SaveRequest request) {
    const Grid& grid = model_.grid;
    if (grid.nx == 0 && grid.ny == 0) {
      console_.message(" ### Keine Diskretisierung ###");
      return false;
    }
    if (grid.nx == 0) {
      console_.message(" ### Keine X-Diskretisierung ###");
      return false;
    }
    if (grid.ny == 0) {
      console_.message(" ### Keine Y-Diskretisierung ###");
      return false;
    }
    save_dialogue(console_, model_);
    if (request == SaveRequest::Leave) leave();
    return true;
  }

  void change_field_type() {
    console_.message(" Altes Feldproblem:");
    console_.record(traits_of(model_.problem).replaced_line);
    const FieldProblem chosen = *choose_field_problem(console_, /*offer_exit=*/false);
    if (chosen == model_.problem) return;
    model_.problem = chosen;
    reset_tables_for_new_problem(model_);
    console_.message(" *** Alle Erregungen, Potentiale und Materialparameter zurückgesetzt ***");
  }

  // --- DISKRET: each command but A and X changes the grid, which is mapped again.

  void diskret_menu(std::string_view carried) {
    const auto regridding = [this](void (*dialogue)(Console&, StructureModel&)) {
      return then(MenuNext::kPrompt, [this, dialogue] {
        dialogue(console_, model_);
        regrid();
      });
    };
    run_menu(console_, kDiskretStyle,
             {
                 {"S", "S - Strukturabmessungen", regridding(edit_extents)},
                 {"XX", "XX- Diskretisierung",
                  then(MenuNext::kPrompt,
                       [this] {
                         edit_axis_lines(console_, model_, x_axis(model_));
                         regrid();
                       })},
                 {"YY", "YY- Diskretisierung",
                  then(MenuNext::kPrompt,
                       [this] {
                         edit_axis_lines(console_, model_, y_axis(model_));
                         regrid();
                       })},
                 {"HP", "HP- Homogene Punktzahl", regridding(homogeneous_by_count)},
                 {"HA", "HA- Homogener Abstand", regridding(homogeneous_by_spacing)},
                 {"A", "A - Anzeige", then(MenuNext::kPrompt, [this] { display(); })},
                 {"X", "X - zum Hauptmenue", leave_menu},
             },
             carried);
  }

  // --- STRUKTUR: each command but T, A and X changes the parts, which are mapped again.

  void struktur(std::string_view carried) {
    if (model_.grid.nx == 0 || model_.grid.ny == 0) {
      console_.message(" ### Keine Diskretisierung ###");
      return;
    }
    const auto changing = [this](auto dialogue) {
      return then(MenuNext::kPrompt, [this, dialogue] {
        dialogue();
        rasterise_and_report(console_, model_);
      });
    };
    run_menu(console_, kStrukturStyle,
             {
                 {"P", "P - Punkt", changing([this] { enter_point(console_, model_, 0); })},
                 {"R", "R - Rechteck", changing([this] { enter_rectangle(console_, model_, 0); })},
                 {"D", "D - Dreieck", changing([this] { enter_triangle(console_, model_, 0); })},
                 {"K", "K - Kreis", changing([this] { enter_circle(console_, model_, 0); })},
                 {"N", "N - Rand", changing([this] { enter_border(console_, model_, 0); })},
                 {"T", "T - Tabelle", then(MenuNext::kPrompt, [this] { list_or_delete(console_, model_, true); })},
                 {"E", "E - Edit", changing([this] { edit_part(console_, model_); })},
                 {"L", "L - Löschen", changing([this] { list_or_delete(console_, model_, false); })},
                 {"A", "A - Anzeige", then(MenuNext::kPrompt, [this] { display(); })},
                 {"X", "X - zum Hauptmenue", leave_menu},
             },
             carried);
  }

  // --- ANZEIGE: the display window, the grid position and the picture switches.

  void anzeige_menu(std::string_view carried) {
    if (carried.empty() || carried[0] == ' ') {
      console_.record(grid_position_text(state_.grid_under_structure));
      console_.record(background_text(output_.white_background));
      console_.record(bitmap_text(output_.bitmap_off));
    }
    run_menu(
        console_, kAnzeigeStyle,
        {
            {"A", "A - Anzeige", then(MenuNext::kPrompt, [this] { display(); })},
            {"V", "V - Voll",
             then(MenuNext::kPrompt,
                  [this] {
                    set_full_window();
                    display();
                  })},
            {"Z", "Z - Zoom", then(MenuNext::kPrompt, [this] { zoom(); })},
            {"D", "D - Diskretisierung unter/über Struktur",
             toggle_setting(console_, state_.grid_under_structure, grid_position_text)},
            {"B", "B - Bitmap aktivieren/deaktivieren", toggle_setting(console_, output_.bitmap_off, bitmap_text)},
            {"H", "H - Hintergrund weiß/schwarz", toggle_setting(console_, output_.white_background, background_text)},
            {"X", "X - zum Hauptmenue", leave_menu},
        },
        carried);
  }

  void zoom() {
    double xlo = 0, ylo = 0, xru = 0, yru = 0;
    console_.prompt_after_empty_line(" Linke obere Ecke (Xlo Ylo):");
    if (!console_.read_numbers({xlo, ylo})) return;
    console_.prompt_after_empty_line(" Rechte untere Ecke (Xru Yru):");
    if (!console_.read_numbers({xru, yru})) return;
    const Grid& grid = model_.grid;
    state_.window.i1 = line_at_or_below(grid.x, grid.nx, xlo);
    state_.window.i2 = line_at_or_below(grid.x, grid.nx, xru);
    state_.window.j1 = line_at_or_below(grid.y, grid.ny, ylo);
    state_.window.j2 = line_at_or_below(grid.y, grid.ny, yru);
    display();
  }

  Console& console_;
  StructureModel& model_;
  GenerateState& state_;
  SessionFlags& session_;
  OutputSettings& output_;
  Pictures pictures_;
};

}  // namespace

void run_generate(Console& console, StructureModel& model, GenerateState& state, SessionFlags& session,
                  OutputSettings& output, Pictures pictures) {
  GenerateMenu(console, model, state, session, output, pictures).run();
}

}  // namespace tambri
