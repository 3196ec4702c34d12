#include "dialogue/discretisation.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "text/fortran_format.h"

namespace tambri {
namespace {

// Grid lines six to a line, each line a blank and up to six E10.3 values.
void write_line_list(Console& console, const AxisLines& axis) {
  std::string row;
  for (int i = 1; i <= axis.count; ++i) {
    row += format_e10(axis.lines[i]);
    if (i % 6 == 0 || i == axis.count) {
      console.record(" " + row);
      row.clear();
    }
  }
}

void set_lines(AxisLines& axis, const std::vector<double>& lines) {
  axis.count = static_cast<int32_t>(lines.size());
  std::copy(lines.begin(), lines.end(), axis.lines.begin() + 1);
}

// count lines from `begin`, each the previous plus the spacing (as the grid
// has always been built, so old and new grids agree to the last bit).
void fill_homogeneous(AxisLines axis, int count) {
  const double step = (axis.end - axis.begin) / (count - 1);
  axis.count = count;
  axis.lines[1] = axis.begin;
  for (int i = 2; i <= count; ++i) axis.lines[i] = axis.lines[i - 1] + step;
}

bool domain_is_empty(const StructureModel& model) { return model.xe <= model.xb || model.ye <= model.yb; }

}  // namespace

AxisLines x_axis(StructureModel& model) { return {'X', model.grid.nx, model.grid.x, model.xb, model.xe}; }

AxisLines y_axis(StructureModel& model) { return {'Y', model.grid.ny, model.grid.y, model.yb, model.ye}; }

void fit_lines_to_extents(AxisLines axis) {
  std::vector<double> lines(axis.lines.begin() + 1, axis.lines.begin() + 1 + axis.count);
  if (lines.empty()) {
    set_lines(axis, {axis.begin, axis.end});
    return;
  }
  if (axis.begin < lines.front()) {
    if (static_cast<int>(lines.size()) == kMaxLines) lines.front() = axis.begin;
    else lines.insert(lines.begin(), axis.begin);
  } else if (axis.begin > lines.front()) {
    std::erase_if(lines, [&](double v) { return v < axis.begin; });
  }
  if (!lines.empty() && axis.end > lines.back()) {
    if (static_cast<int>(lines.size()) == kMaxLines) lines.back() = axis.end;
    else lines.push_back(axis.end);
  } else if (!lines.empty() && axis.end < lines.back()) {
    std::erase_if(lines, [&](double v) { return v > axis.end; });
  }
  if (lines.size() < 2) lines = {axis.begin, axis.end};
  set_lines(axis, lines);
}

std::optional<std::vector<double>> merge_equidistant_lines(const AxisLines& axis, double first, double last, int n) {
  std::vector<double> merged;
  const double step = (last - first) / (n - 1);
  for (int i = 1; i <= axis.count; ++i) {
    if (axis.lines[i] < first - kMergeTolerance) merged.push_back(axis.lines[i]);
  }
  double newest = first;
  for (int k = 1; k <= n; ++k) {
    newest = first + (k - 1) * step;
    merged.push_back(newest);
  }
  for (int i = 1; i <= axis.count; ++i) {
    if (axis.lines[i] > newest + kMergeTolerance) merged.push_back(axis.lines[i]);
  }
  if (static_cast<int>(merged.size()) > kMaxLines) return std::nullopt;
  return merged;
}

void edit_extents(Console& console, StructureModel& model) {
  console.message(" Strukturabmessungen (m): Xb=" + format_e10(model.xb) + "  Yb=" + format_e10(model.yb));
  console.record(" " + std::string(24, ' ') + "  Xe=" + format_e10(model.xe) + "  Ye=" + format_e10(model.ye));
  for (;;) {
    console.prompt_after_empty_line(" Neue Werte:  Xb Yb Xe Ye>");
    if (!console.read_numbers({model.xb, model.yb, model.xe, model.ye})) return;
    if (model.xe - model.xb > 0 && model.ye - model.yb > 0) break;
    console.message(" ### Strukturabmessung Null ###");
  }
  Grid& grid = model.grid;
  if (grid.nx == 0) {
    grid.nx = 2;
    grid.x[1] = model.xb;
    grid.x[2] = model.xe;
  }
  if (grid.ny == 0) {
    grid.ny = 2;
    grid.y[1] = model.yb;
    grid.y[2] = model.ye;
  }
  fit_lines_to_extents(x_axis(model));
  fit_lines_to_extents(y_axis(model));
  model.modified = true;
}

void edit_axis_lines(Console& console, StructureModel& model, AxisLines axis) {
  const std::string name(1, axis.name);
  if (axis.end <= axis.begin) {
    console.message(" ### " + name + "-Strukturabmessung Null ###");
    return;
  }
  console.message(" " + name + "-Koordinaten (" + format_i(axis.count, 3) + "):");
  console.empty_line();
  write_line_list(console, axis);
  const double low = axis.count > 0 ? axis.lines[1] - kRangeTolerance : 0.0;
  const double high = axis.count > 0 ? axis.lines[axis.count] + kRangeTolerance : -1.0;
  for (;;) {
    console.prompt(" " + name + "beg " + name + "end Anzahl >");
    double first = 0, last = 0;
    int n = 0;
    if (!console.read_numbers({first, last, n})) return;
    if (!(first >= low && first <= high)) {
      console.record(" ### " + name + "beg außerhalb der Struktur ###");
    } else if (!(last >= low && last <= high)) {
      console.record(" ### " + name + "end außerhalb der Struktur ###");
    } else if (first >= last) {
      console.record(" ### " + name + "beg größer/gleich " + name + "end ###");
    } else if (n > kMaxLines) {
      console.record(" ### Anzahl zu groß ###");
    } else if (n <= 1) {  // NOLINT(bugprone-branch-clone): must come before the merge, which needs n > 1
      console.record(" ### Anzahl zu klein ###");
    } else if (std::optional<std::vector<double>> merged = merge_equidistant_lines(axis, first, last, n); !merged) {
      console.message(" ### Anzahl zu groß ###");
      console.empty_line();
    } else if (merged->size() <= 2) {
      console.record(" ### Anzahl zu klein ###");
    } else {
      set_lines(axis, *merged);
      model.modified = true;
      console.message(" Neue " + name + "-Koordinaten (" + format_i(axis.count, 3) + "):");
      console.empty_line();
      write_line_list(console, axis);
      return;
    }
  }
}

void homogeneous_by_count(Console& console, StructureModel& model) {
  if (domain_is_empty(model)) {
    console.message(" ### Strukturabmessung Null ###");
    return;
  }
  int n = 0;
  for (;;) {
    console.prompt_after_empty_line(" Punktzahl (max. " + format_i(kMaxLines, 3) + " ) >");
    if (!console.read_numbers({n})) return;
    if (n > kMaxLines) console.message(" ### Punktzahl zu groß ###");
    else if (n < 3) console.message(" ### Punktzahl zu klein ###");
    else break;
  }
  fill_homogeneous(x_axis(model), n);
  fill_homogeneous(y_axis(model), n);
  const double dx = (model.xe - model.xb) / (n - 1);
  const double dy = (model.ye - model.yb) / (n - 1);
  console.message(" *** Äquidistante Diskretisierung: dx=" + format_e10(dx) + "   dy=" + format_e10(dy));
  model.modified = true;
}

void homogeneous_by_spacing(Console& console, StructureModel& model) {
  if (domain_is_empty(model)) {
    console.message(" ### Strukturabmessung Null ###");
    return;
  }
  const double lx = model.xe - model.xb;
  const double ly = model.ye - model.yb;
  const double lmax = std::max(lx, ly);
  // Lines per direction for spacing h; the spacing was checked to be at least
  // a hundredth of the longer side, so the count is small and finite.
  auto lines_for = [](double length, double h) { return static_cast<int>(length / h + kRangeTolerance + 1); };
  int nx = 0, ny = 0;
  for (;;) {
    double h = 0;
    console.prompt_after_empty_line(" Abstand (m) >");
    if (!console.read_numbers({h})) return;
    if (h > 0.5 * lx || h > 0.5 * ly) {
      console.message(" ### Abstand zu groß ###");
      continue;
    }
    if (h < kSpacingMinFactor * lmax - kSpacingMinOffset) {
      console.message(" ### Abstand zu klein ###");
      continue;
    }
    // Both directions are checked before the grid changes, so a refused
    // spacing leaves the whole grid as it was.
    nx = lines_for(lx, h);
    ny = lines_for(ly, h);
    if (nx > kMaxLines || ny > kMaxLines) {
      console.message(" ### Abstand zu klein ###");
      continue;
    }
    break;
  }
  fill_homogeneous(x_axis(model), nx);
  fill_homogeneous(y_axis(model), ny);
  const double dx = lx / (nx - 1);
  const double dy = ly / (ny - 1);
  console.message(" *** Äquidistante Diskretisierung: dx=" + format_e10(dx) + "  dy=" + format_e10(dy) +
                  "  mx= " + format_i(nx, 3) + "  ny= " + format_i(ny, 3));
  model.modified = true;
}

}  // namespace tambri
