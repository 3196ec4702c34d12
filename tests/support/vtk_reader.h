#pragma once
// Reads back the arrays of a VTK XML file as the program writes them: every
// <DataArray ... Name="..."> with its ASCII numbers, by name.
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tambri::test {

struct VtkFile {
  std::string whole_extent;
  std::map<std::string, std::vector<double>> arrays;
};

inline VtkFile read_vtk(const std::string& text) {
  VtkFile file;
  const std::string extent_key = "WholeExtent=\"";
  if (size_t at = text.find(extent_key); at != std::string::npos) {
    at += extent_key.size();
    file.whole_extent = text.substr(at, text.find('"', at) - at);
  }
  for (size_t at = text.find("<DataArray"); at != std::string::npos; at = text.find("<DataArray", at + 1)) {
    const size_t name = text.find("Name=\"", at) + 6;
    const size_t body = text.find('>', at) + 1;
    const size_t end = text.find("</DataArray>", body);
    std::istringstream numbers(text.substr(body, end - body));
    std::vector<double>& values = file.arrays[text.substr(name, text.find('"', name) - name)];
    for (double v; numbers >> v;) values.push_back(v);
  }
  return file;
}

}  // namespace tambri::test
