// The PNG picture of one slice of a model.
#pragma once

#include <cstdint>

#include "mesh/mesh.h"
#include "view/output_file.h"
#include "view/read_model.h"
#include "view/slice_choice.h"

/// Draws slice `index` (from 1) across `axis` of `model` and writes it to `file` as a
/// PNG, titled with `modelName`. Colours span the finite values of the whole model, so
/// that pictures of different slices compare. The PNG's text entries say where the
/// cells lie: "Plot area" (left top width height, in pixels), "Horizontal axis" and
/// "Vertical axis" (name and the coordinates at the two plot edges, low first),
/// "Value range" (the values at the two ends of the colour scale).
void writeSlicePicture(OutputFile& file, const Mesh& mesh, const ModelValues& model, SliceAxis axis,
                       int32_t index, const char* modelName);
