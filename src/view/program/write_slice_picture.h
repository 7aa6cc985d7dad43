// The picture of one slice of a model, as a PNG, SVG or PDF file.
#pragma once

#include <cstdint>
#include <string>

#include "mesh/mesh.h"
#include "model_files/output_file.h"
#include "model_files/read_model.h"
#include "view/program/view_arguments.h"
#include "view/slice/slice_choice.h"

/// Whether this build can draw every text the picture `arguments` ask for shows: the
/// label, the units, the title or the model's name it is made from. False with a
/// one-line `error` naming the text, in a build whose font lacks some of its characters.
bool pictureTextsDrawable(const ViewArguments& arguments, std::string& error);

/// Whether each range of coordinates `arguments` ask a picture to show (--easting,
/// --northing, --elevation) reaches into the extent of `mesh`; false with a one-line
/// `error` naming the option and the mesh's extent.
bool pictureRangesShowTheMesh(const Mesh& mesh, const ViewArguments& arguments, std::string& error);

/// Draws slice `index` (from 1) across `axis` of `model` and writes it to `file` in the
/// format, colours, colour bar label, part of the slice and size that `arguments` ask for,
/// titled with the model file's name and the slice's place, its coordinates with as many
/// digits as tell it from its neighbours, or with --title; axis titles with the units;
/// a scale of its own or --exaggeration (see layOutSlice). Without --clim, colours span
/// the values of the whole model, so that pictures of different slices compare. A PNG's
/// text entries say where the cells lie: "Plot area" (left top width height, in pixels),
/// "Horizontal axis" and "Vertical axis" (name and the mesh coordinates at the two plot
/// edges, low first), "Value range" (the values at the two ends of the colour scale) and
/// "Colour scale" ("linear" or "logarithmic").
CompanionFailure writeSlicePicture(OutputFile& file, const Mesh& mesh, const ModelValues& model,
                                   SliceAxis axis, int32_t index, const ViewArguments& arguments);
