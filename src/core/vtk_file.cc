#include "core/vtk_file.h"

#include <charconv>
#include <functional>
#include <string_view>

#include "core/assembly.h"

namespace tambri {
namespace {

void append_number(std::string& out, double v) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, ec == std::errc() ? end : buffer);
  out.push_back(' ');
}

// One DataArray of `count` values, six to a line.
void append_array(std::string& out, std::string_view name, int count, const std::function<double(int)>& value) {
  out += "        <DataArray type=\"Float64\" Name=\"";
  out += name;
  out += "\" format=\"ascii\">\n";
  for (int n = 1; n <= count; ++n) {
    if ((n - 1) % 6 == 0) out += "          ";
    append_number(out, value(n));
    if (n % 6 == 0 || n == count) out += "\n";
  }
  out += "        </DataArray>\n";
}

}  // namespace

std::string vtk_rectilinear_grid(const StructureModel& model, const FieldArrays& arrays) {
  const Grid& g = model.grid;
  const int nodes = g.nodes();
  const FileArrayNames& names = traits_of(model.problem).file_arrays;
  const DerivedFields& d = arrays.derived;
  const std::string extent =
      "0 " + std::to_string(g.nx > 0 ? g.nx - 1 : 0) + " 0 " + std::to_string(g.ny > 0 ? g.ny - 1 : 0) + " 0 0";
  std::string out;
  out += "<?xml version=\"1.0\"?>\n";
  out += "<VTKFile type=\"RectilinearGrid\" version=\"0.1\" byte_order=\"LittleEndian\">\n";
  out += "  <RectilinearGrid WholeExtent=\"" + extent + "\">\n";
  out += "    <Piece Extent=\"" + extent + "\">\n";
  out += "      <PointData Scalars=\"" + std::string(names.potential) + "\">\n";
  const auto of = [](const NodeArray& a) { return [&a](int k) { return a[k]; }; };
  append_array(out, names.potential, nodes, of(arrays.solution.potential));
  append_array(out, names.strength_x, nodes, of(d.strength_x));
  append_array(out, names.strength_y, nodes, of(d.strength_y));
  append_array(out, names.flux_x, nodes, of(d.flux_x));
  append_array(out, names.flux_y, nodes, of(d.flux_y));
  append_array(out, names.density, nodes, of(d.density));
  append_array(out, "Belegung", nodes, [&](int k) { return static_cast<double>(model.occupancy[k]); });
  // In problem M the coefficient is the reluctivity; the file gives the
  // permeability, as the tables do.
  append_array(out, names.material, nodes, [&](int k) { return shown_material(model.problem, arrays.material.c[k]); });
  out += "      </PointData>\n";
  out += "      <Coordinates>\n";
  append_array(out, "x (m)", g.nx, [&](int i) { return g.x[i]; });
  append_array(out, "y (m)", g.ny, [&](int j) { return g.y[j]; });
  append_array(out, "z (m)", 1, [](int) { return 0.0; });
  out += "      </Coordinates>\n";
  out += "    </Piece>\n";
  out += "  </RectilinearGrid>\n";
  out += "</VTKFile>\n";
  return out;
}

}  // namespace tambri
