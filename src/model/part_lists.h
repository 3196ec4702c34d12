#pragma once
// The five part lists of a model as one sequence, in the order of the
// structure file (points, rectangles, triangles, circles, borders), so that
// code which treats every shape alike visits them here instead of switching
// over the shape codes itself.
//
//   for_each_part_list(model, [](auto& list) { list.count = 0; });
//   visit_part_list(model, kShapeCircle, [](const auto& circles) { ... });
//
// `Model` is StructureModel or const StructureModel; the list handed on has
// the same constness.
#include <cstdint>
#include <tuple>
#include <utility>

#include "model/structure_model.h"

namespace tambri {

// The lists as a tuple of references, in file order.
template <class Model>
auto part_lists(Model& model) {
  return std::tie(model.points, model.rectangles, model.triangles, model.circles, model.borders);
}

// The shape code of a list's parts.
template <class List>
constexpr int32_t shape_of(const List&) {
  return List::PartType::kShape;
}

// Calls f with each list in turn.
template <class Model, class F>
void for_each_part_list(Model& model, F&& f) {
  std::apply([&](auto&... lists) { (f(lists), ...); }, part_lists(model));
}

// Calls f with the list of a shape code; false (and no call) when the code
// names no shape.
template <class Model, class F>
bool visit_part_list(Model& model, int32_t shape, F&& f) {
  bool found = false;
  for_each_part_list(model, [&](auto& list) {
    if (shape_of(list) != shape) return;
    found = true;
    f(list);
  });
  return found;
}

}  // namespace tambri
