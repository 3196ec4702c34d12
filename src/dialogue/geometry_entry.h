#pragma once
// The entry dialogues of the five part shapes: point, rectangle, triangle,
// circle and border. Each one adds a new part (index < 1) or re-enters part
// `index` of its own shape list (index >= 1, edit mode: no list, no capacity
// check, no confirmation; the part keeps its place in the entry sequence).
//
// The answers are kept in working variables until the last one is given, so a
// dialogue that ends early (X at the kind question, another side letter, a
// failed read) leaves the model as it was. The caller rasterises afterwards;
// EndOfInput from the console propagates.
#include <cstdint>

#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

void enter_point(Console& console, StructureModel& model, int index);
void enter_rectangle(Console& console, StructureModel& model, int index);
void enter_triangle(Console& console, StructureModel& model, int index);
void enter_circle(Console& console, StructureModel& model, int index);
void enter_border(Console& console, StructureModel& model, int index);

// "Oben", "Unten", "Links", "Rechts" or "Gesamt" for sides 1..5; "" otherwise.
const char* border_side_name(int32_t side);

}  // namespace tambri
