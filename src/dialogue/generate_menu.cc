#include "dialogue/generate_menu.h"

#include <string>

#include "dialogue/discretisation.h"
#include "dialogue/geometry_entry.h"
#include "dialogue/geometry_list.h"
#include "dialogue/uncovered_parts.h"
#include "dialogue/structure_display.h"
#include "dialogue/value_tables.h"
#include "dialogue/structure_dialogs.h"

namespace tambri {
namespace {

void write_generate_help(Console& console) {
  console.empty_line();
  console.record(" HELP:  A - Anzeige Struktur");
  console.record("        D - Diskretisierung erzeugen");
  console.record("        S - Struktur erzeugen");
  console.record("        E - Erregungen belegen");
  console.record("        M - Materialeigenschaften belegen");
  console.record("        P - Potentiale belegen");
  console.record("        T - Feldtyp ändern");
  console.record("        N - Neue Struktur");
  console.record("        W - Struktur sichern");
  console.record("        X - Exit");
}

void write_diskret_help(Console& console) {
  console.empty_line();
  console.record(" Help:  S - Strukturabmessungen");
  console.record("        XX- Diskretisierung");
  console.record("        YY- Diskretisierung");
  console.record("        HP- Homogene Punktzahl");
  console.record("        HA- Homogener Abstand");
  console.record("        A - Anzeige");
  console.record("        X - zum Hauptmenue");
}

void write_struktur_help(Console& console) {
  console.empty_line();
  console.record(" Help:  P - Punkt");
  console.record("        R - Rechteck");
  console.record("        D - Dreieck");
  console.record("        K - Kreis");
  console.record("        N - Rand");
  console.record("        T - Tabelle");
  console.record("        E - Edit");
  console.record("        L - Löschen");
  console.record("        A - Anzeige");
  console.record("        X - zum Hauptmenue");
}

void write_anzeige_help(Console& console) {
  console.empty_line();
  console.record(" Help:  A - Anzeige");
  console.record("        V - Voll");
  console.record("        Z - Zoom");
  console.record("        D - Diskretisierung unter/über Struktur");
  console.record("        B - Bitmap aktivieren/deaktivieren");
  console.record("        H - Hintergrund weiß/schwarz");
  console.record("        X - zum Hauptmenue");
}

const char* grid_position_text(bool under) {
  return under ? " *** Anzeige Diskretisierung unter Struktur ***"
               : " *** Anzeige Diskretisierung über Struktur ***";
}
const char* background_text(bool white) {
  return white ? " *** Bildhintergrund weiß ***" : " *** Bildhintergrund schwarz ***";
}
const char* bitmap_text(bool off) {
  return off ? " *** Bitmap-Ausgabe deaktiviert ***" : " *** Bitmap-Ausgabe aktiviert ***";
}

// Largest line index whose coordinate is at most v; 1 when none is.
int last_line_at_or_below(const std::array<double, kMaxLines + 1>& lines, int count, double v) {
  int index = 1;
  for (int i = 1; i <= count; ++i) {
    if (lines[i] <= v) index = i;
  }
  return index;
}

// What a save request should do afterwards.
enum class SaveRequest { Stay, Leave, NewStructure };

class GenerateMenu {
 public:
  GenerateMenu(Console& console, StructureModel& model, GenerateState& state,
               OutputSettings& output, Pictures pictures)
      : console_(console), model_(model), state_(state), output_(output), pictures_(pictures) {}

  void run() {
    if (!enter()) return;
    for (;;) {
      console_.prompt_after_empty_line(" GENERATE>");
      const std::string answer = console_.read_letters(3);
      switch (answer[0]) {
        case 'D': diskret_menu(answer.substr(1, 2)); break;
        case 'A': anzeige_menu(answer[1]); break;
        case 'E':
          if (model_.problem == kProblemS) console_.message(" ### Keine Erregung möglich ###");
          else edit_value_table(console_, model_, ValueTable::Excitation);
          break;
        case 'N':
          if (!new_structure()) return;
          break;
        case 'S':
          if (model_.grid.nx == 0 || model_.grid.ny == 0) console_.message(" ### Keine Diskretisierung ###");
          else struktur_menu(answer[1]);
          break;
        case 'M': edit_value_table(console_, model_, ValueTable::Material); break;
        case 'P': edit_value_table(console_, model_, ValueTable::Potential); break;
        case 'W': save(SaveRequest::Stay); break;
        case 'T': change_field_type(); break;
        case 'X':
          if (leave_requested()) return;
          break;
        case ' ': write_generate_help(console_); break;
        default: console_.message(" ### Falsche Eingabe ###"); break;
      }
    }
  }

 private:
  // Entering GENERATE: load or start a problem when none is loaded. Returns
  // false when loading was refused and GENERATE ends.
  bool enter() {
    model_.flags.load_refused = false;
    model_.flags.structure_available = false;
    if (!model_.flags.problem_loaded) {
      model_.flags.modified = false;
      model_.flags.results_available = false;
      load_dialogue(console_, model_);
      set_full_window();
      if (model_.flags.load_refused) {
        console_.message(" ### Abbruch GENERATE ###");
        return false;
      }
      model_.flags.problem_loaded = true;
    }
    write_generate_help(console_);
    return true;
  }

  void set_full_window() { state_.window = {1, 1, model_.grid.nx, model_.grid.ny}; }

  void regrid() {
    rasterise_and_report(console_, model_);
    set_full_window();
  }

  void display() {
    show_structure(console_, model_, state_.window, state_.grid_under_structure, output_, pictures_);
  }

  // Y, N or a repeated question; true for Y.
  bool ask_save() {
    console_.empty_line();
    console_.record(" *** Struktur wurde modifiziert ***");
    console_.empty_line();
    for (;;) {
      console_.prompt(" Speichern [Y/N]:");
      const char answer = console_.read_letter();
      if (answer == 'Y') return true;
      if (answer == 'N') return false;
    }
  }

  // X: returns true when GENERATE is left.
  bool leave_requested() {
    if (model_.flags.modified && ask_save()) return save(SaveRequest::Leave);
    leave();
    return true;
  }

  void leave() {
    if (model_.sequence_length > 0) model_.flags.structure_available = true;
  }

  // N: returns false when GENERATE ends because the new load was refused.
  bool new_structure() {
    if (model_.flags.modified && ask_save()) {
      // A save that cannot run keeps the old structure in place.
      if (!save(SaveRequest::NewStructure)) return true;
    }
    model_.flags.problem_loaded = false;
    return enter();
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
    switch (model_.problem) {
      case kProblemE: console_.record(" *** Elektrostatisch ***"); break;
      case kProblemS: console_.record(" *** Staionär elektrisch ***"); break;
      case kProblemM: console_.record(" *** Staionär magnetisch ***"); break;
      default: break;
    }
    int32_t chosen = 0;
    while (chosen == 0) {
      console_.record(" Neues Feldproblem:");
      console_.record(" Elektrostatisch      - E");
      console_.record(" Stationär elektrisch - S");
      console_.prompt(" Stationär magnetisch - M      -->");
      switch (console_.read_letter()) {
        case 'E': chosen = kProblemE; break;
        case 'S': chosen = kProblemS; break;
        case 'M': chosen = kProblemM; break;
        default: break;
      }
    }
    if (chosen == model_.problem) return;
    model_.problem = chosen;
    reset_tables_for_new_problem(model_);
    console_.message(" *** Alle Erregungen, Potentiale und Materialparameter zurückgesetzt ***");
  }

  // The three sub-menus share one shape: a command carried over from the
  // GENERATE> answer runs at once, otherwise the help text comes first; a
  // blank answer shows the help again; X returns to GENERATE>.
  template <class Command>
  void sub_menu(std::string answer, int letters, const char* prompt, void (*help)(Console&),
                Command command) {
    if (answer[0] == ' ') help(console_);
    else if (!command(answer)) return;
    for (;;) {
      console_.prompt_after_empty_line(prompt);
      answer = console_.read_letters(letters);
      if (answer[0] == ' ') help(console_);
      else if (!command(answer)) return;
    }
  }

  void diskret_menu(const std::string& carried) {
    sub_menu(carried, 2, " GENERATE\\DISKRET>", write_diskret_help,
             [this](const std::string& answer) { return diskret_command(answer); });
  }

  void struktur_menu(char carried) {
    sub_menu(std::string(1, carried), 1, " GENERATE\\STRUKTUR>", write_struktur_help,
             [this](const std::string& answer) { return struktur_command(answer[0]); });
  }

  void anzeige_menu(char carried) {
    if (carried == ' ') {
      console_.record(grid_position_text(state_.grid_under_structure));
      console_.record(background_text(output_.white_background));
      console_.record(bitmap_text(output_.bitmap_off));
    }
    sub_menu(std::string(1, carried), 1, " GENERATE\\ANZEIGE>", write_anzeige_help,
             [this](const std::string& answer) { return anzeige_command(answer[0]); });
  }

  // Each returns false for X (leave the sub-menu).
  bool diskret_command(const std::string& answer) {
    if (answer == "XX") {
      edit_axis_lines(console_, model_, x_axis(model_));
    } else if (answer == "YY") {
      edit_axis_lines(console_, model_, y_axis(model_));
    } else if (answer == "HP") {
      homogeneous_by_count(console_, model_);
    } else if (answer == "HA") {
      homogeneous_by_spacing(console_, model_);
    } else if (answer[0] == 'S') {
      edit_extents(console_, model_);
    } else if (answer[0] == 'A') {
      display();
      return true;
    } else if (answer[0] == 'X') {
      return false;
    } else {
      console_.message(" ### Falsche Eingabe ###");
      return true;
    }
    regrid();
    return true;
  }

  bool struktur_command(char answer) {
    switch (answer) {
      case 'P': enter_point(console_, model_, 0); break;
      case 'R': enter_rectangle(console_, model_, 0); break;
      case 'D': enter_triangle(console_, model_, 0); break;
      case 'K': enter_circle(console_, model_, 0); break;
      case 'N': enter_border(console_, model_, 0); break;
      case 'E': edit_part(console_, model_); break;
      case 'L': list_or_delete(console_, model_, false); break;
      case 'T': list_or_delete(console_, model_, true); return true;
      case 'A': display(); return true;
      case 'X': return false;
      default: console_.message(" ### Falsche Eingabe ###"); return true;
    }
    rasterise_and_report(console_, model_);
    return true;
  }

  bool anzeige_command(char answer) {
    switch (answer) {
      case 'A': display(); break;
      case 'V':
        set_full_window();
        display();
        break;
      case 'Z': zoom(); break;
      case 'D':
        state_.grid_under_structure = !state_.grid_under_structure;
        console_.message(grid_position_text(state_.grid_under_structure));
        break;
      case 'H':
        output_.white_background = !output_.white_background;
        console_.message(background_text(output_.white_background));
        break;
      case 'B':
        output_.bitmap_off = !output_.bitmap_off;
        console_.message(bitmap_text(output_.bitmap_off));
        break;
      case 'X': return false;
      default: console_.message(" ### Falsche Eingabe ###"); break;
    }
    return true;
  }

  void zoom() {
    double xlo = 0, ylo = 0, xru = 0, yru = 0;
    console_.prompt_after_empty_line(" Linke obere Ecke (Xlo Ylo):");
    if (!console_.read_numbers({xlo, ylo})) return;
    console_.prompt_after_empty_line(" Rechte untere Ecke (Xru Yru):");
    if (!console_.read_numbers({xru, yru})) return;
    const Grid& grid = model_.grid;
    state_.window.i1 = last_line_at_or_below(grid.x, grid.nx, xlo);
    state_.window.i2 = last_line_at_or_below(grid.x, grid.nx, xru);
    state_.window.j1 = last_line_at_or_below(grid.y, grid.ny, ylo);
    state_.window.j2 = last_line_at_or_below(grid.y, grid.ny, yru);
    display();
  }

  Console& console_;
  StructureModel& model_;
  GenerateState& state_;
  OutputSettings& output_;
  Pictures pictures_;
};

}  // namespace

void run_generate(Console& console, StructureModel& model, GenerateState& state,
                  OutputSettings& output, Pictures pictures) {
  GenerateMenu(console, model, state, output, pictures).run();
}

}  // namespace tambri
