#include "dialogue/results_menu.h"

#include <string>
#include <vector>

#include "core/derived_fields.h"
#include "core/vtk_file.h"
#include "dialogue/arrows.h"
#include "dialogue/cut_plot.h"
#include "dialogue/equicolour.h"
#include "dialogue/isolines.h"
#include "dialogue/menu.h"
#include "dialogue/mountain.h"
#include "dialogue/output_messages.h"
#include "dialogue/path_integral_dialogue.h"
#include "dialogue/result_quantities.h"
#include "text/files.h"
#include "text/text_width.h"

namespace tambri {
namespace {

constexpr int kCommentWidth = 35;

constexpr MenuStyle kMainStyle{" RESULTS>", " HELP:  ", 3};
constexpr MenuStyle kTableStyle{" RESULTS\\TABELLE>", " Help:  ", 2, KeyMatch::kWhole};
constexpr MenuStyle kArrowStyle{" RESULTS\\PFEIL>", " Help: ", 2};
constexpr MenuStyle kZoomStyle{" RESULTS\\ZOOM>", " Help:  ", 1};
constexpr MenuStyle kOutputStyle{" RESULTS\\PS>",          " Help: ", 1, KeyMatch::kPrefix, true,
                                 /*help_after_wrong=*/true};

MenuStyle plot_style(PlotKind kind) {
  const char* prompt = " RESULTS\\COLOR>";
  switch (kind) {
    case PlotKind::kCut: prompt = " RESULTS\\SCHNITT>"; break;
    case PlotKind::kEquicolour: prompt = " RESULTS\\COLOR>"; break;
    case PlotKind::kIsolines: prompt = " RESULTS\\ISO>"; break;
    case PlotKind::kMountain: prompt = " RESULTS\\GEBIRGE>"; break;
  }
  return {prompt, " Help: ", 2, KeyMatch::kWhole};
}

class ResultsMenu {
 public:
  ResultsMenu(Console& console, const StructureModel& model, FieldArrays& arrays, OutputSettings& output,
              ResultsState& state, Pictures pictures, const Clock& clock)
      : console_(console),
        model_(model),
        arrays_(arrays),
        output_(output),
        state_(state),
        pictures_(pictures),
        clock_(clock) {}

  void run() {
    output_.comment = std::string(kCommentWidth, ' ');
    state_.window = full_display_window(model_.grid);
    compute_derived_fields(model_, arrays_.material, arrays_.solution, arrays_.derived);
    console_.record(" *** Felder ready ***");
    if (state_.write_vtk) write_vtk_file();

    const auto plot = [this](PlotKind kind) {
      return then(MenuNext::kHelp, [this, kind](std::string_view rest) {
        state_.plot_kind = kind;
        plot_menu(rest);
      });
    };
    run_menu(
        console_, kMainStyle,
        {
            {"T", "T - Tabellenausgabe", then(MenuNext::kHelp, [this](std::string_view rest) { table_menu(rest); })},
            {"C", "C - Äquicolordarstellung", plot(PlotKind::kEquicolour)},
            {"G", "G - Gebirgsdarstellung", plot(PlotKind::kMountain)},
            {"I", "I - Isoliniendarstellung", plot(PlotKind::kIsolines)},
            {"P", "P - Pfeildarstellung", then(MenuNext::kHelp, [this](std::string_view rest) { arrow_menu(rest); })},
            {"S", "S - Schnittdarstellung", plot(PlotKind::kCut)},
            {"Z", "Z - Zoom", then(MenuNext::kHelp, [this](std::string_view rest) { zoom_menu(rest); })},
            {"A", "A - PostScript/Bitmap-Ausgabe",
             then(MenuNext::kHelp, [this](std::string_view rest) { output_menu(rest); })},
            {"X", "X - Exit", leave_menu},
            {"H", "", [](std::string_view) { return MenuNext::kHelp; }},
        });
  }

 private:
  // "<stem>.vtr" beside the structure; a failure is told like any other file's.
  void write_vtk_file() {
    const std::string name = trim_trailing_blanks(model_.output_stem) + ".vtr";
    if (replace_file(name, vtk_rectilinear_grid(model_, arrays_)) != ReplaceResult::kDone) {
      console_.message(" ### Schreibfehler ###");
    }
  }

  ResultPicture picture() { return {console_, model_, output_, state_.window, pictures_, state_.memory}; }

  // --- the quantity sub-menus of the pictures S, C, I and G

  void plot_menu(std::string_view carried) {
    std::vector<MenuCommand> commands;
    for (const QuantityRow& row : quantity_rows(model_.problem)) {
      commands.push_back({row.keys, row.help, then(MenuNext::kPrompt, [this, &row] {
                            draw(state_.plot_kind, row.plot_quantity(arrays_));
                          })});
    }
    commands.push_back({"X", "X  - zum Hauptmenue", leave_menu});
    run_menu(console_, plot_style(state_.plot_kind), commands, carried);
  }

  void draw(PlotKind kind, const NodeQuantity& quantity) {
    ResultPicture p = picture();
    switch (kind) {
      case PlotKind::kCut: draw_cut(p, quantity); return;
      case PlotKind::kEquicolour: draw_equicolour(p, quantity); return;
      case PlotKind::kIsolines: draw_isolines(p, quantity); return;
      case PlotKind::kMountain: draw_mountain(p, quantity); return;
    }
  }

  // --- tables and path integrals

  void table_menu(std::string_view carried) {
    const TableExtras& extras = table_extras(model_.problem);
    const auto table_of = [this](const QuantityRow& row) {
      return then(MenuNext::kPrompt, [this, &row] {
        print_result_table(console_, model_, arrays_, row.table_selector, row.table_title, clock_);
      });
    };
    std::vector<MenuCommand> commands = {
        {extras.occupancy.keys, extras.occupancy.help, table_of(extras.occupancy)},
        {extras.material.keys, extras.material.help, table_of(extras.material)},
    };
    if (!extras.material_keys.empty()) commands.push_back({extras.material_keys, "", table_of(extras.material)});
    for (const QuantityRow& row : quantity_rows(model_.problem)) {
      commands.push_back({row.keys, row.help, table_of(row)});
    }
    commands.push_back({extras.path_keys, extras.path_help, then(MenuNext::kPrompt, [this] {
                          ResultPicture p = picture();
                          integrate_along_path(p, arrays_.derived);
                        })});
    commands.push_back({"X", "X  - zum Hauptmenue", leave_menu});
    run_menu(console_, kTableStyle, commands, carried);
  }

  // --- arrows

  void arrow_menu(std::string_view carried) {
    std::vector<MenuCommand> commands;
    for (const ArrowRow& row : arrow_rows(model_.problem)) {
      commands.push_back({row.keys, row.help, then(MenuNext::kPrompt, [this, &row] {
                            ResultPicture p = picture();
                            draw_arrows(p, row.quantity(arrays_));
                          })});
    }
    commands.push_back({"X", "X - zum Hauptmenue", leave_menu});
    run_menu(console_, kArrowStyle, commands, carried);
  }

  // --- zoom

  void zoom_menu(std::string_view carried) {
    run_menu(
        console_, kZoomStyle,
        {
            {"V", "V - Voll", then(MenuNext::kPrompt, [this] { state_.window = full_display_window(model_.grid); })},
            {"Z", "Z - Zoom", then(MenuNext::kPrompt, [this] { zoom(); })},
            {"X", "X - zum Hauptmenue", leave_menu},
        },
        carried);
  }

  void zoom() {
    double xlo = 0, ylo = 0, xru = 0, yru = 0;
    console_.prompt(" Linke obere Ecke (Xlo Ylo):");
    if (!console_.read_numbers({xlo, ylo})) return;
    console_.prompt(" Rechte untere Ecke (Xru Yru):");
    if (!console_.read_numbers({xru, yru})) return;
    if (!(xru > xlo && yru > ylo)) {
      console_.message(" ### Keine Darstellungsfläche ###");
      return;
    }
    const Grid& grid = model_.grid;
    const DisplayWindow w{line_at_or_below(grid.x, grid.nx, xlo), line_at_or_below(grid.y, grid.ny, ylo),
                          line_at_or_below(grid.x, grid.nx, xru), line_at_or_below(grid.y, grid.ny, yru)};
    if (w.i2 <= w.i1 || w.j2 <= w.j1) {
      console_.message(" ### Keine Darstellungsfläche ###");
      state_.window = full_display_window(grid);
      return;
    }
    state_.window = w;
  }

  // --- output settings

  void output_menu(std::string_view carried) {
    if (carried.empty() || carried[0] == ' ') {
      console_.record(postscript_text(output_.postscript_off));
      console_.record(colour_text(output_.black_and_white));
      console_.record(bitmap_text(output_.bitmap_off));
      console_.record(background_text(output_.white_background));
    }
    run_menu(
        console_, kOutputStyle,
        {
            {"P", "P - PS-Ausgabe aktivieren/deaktivieren",
             toggle_setting(console_, output_.postscript_off, postscript_text)},
            {"F", "F - PS-Ausgabe farbig/schwarz-weiß", toggle_setting(console_, output_.black_and_white, colour_text)},
            {"B", "B - Bitmap aktivieren/deaktivieren", toggle_setting(console_, output_.bitmap_off, bitmap_text)},
            {"K", "K - Kommentar in PS-Ausgabe", then(MenuNext::kPrompt, [this] { comment(); })},
            {"H", "H - Bildhintergrund weiß/schwarz",
             toggle_setting(console_, output_.white_background, background_text)},
            {"X", "X - zum Hauptmenue", leave_menu},
        },
        carried.substr(0, 1));
  }

  void comment() {
    console_.prompt(" Kommentar (max.35 Zeichen):");
    output_.comment = std::string(kCommentWidth, ' ');
    output_.comment = console_.read_text(kCommentWidth);
  }

  Console& console_;
  const StructureModel& model_;
  FieldArrays& arrays_;
  OutputSettings& output_;
  ResultsState& state_;
  Pictures pictures_;
  const Clock& clock_;
};

}  // namespace

void run_results(Console& console, const StructureModel& model, FieldArrays& arrays, OutputSettings& output,
                 ResultsState& state, Pictures pictures, const Clock& clock) {
  ResultsMenu(console, model, arrays, output, state, pictures, clock).run();
}

}  // namespace tambri
