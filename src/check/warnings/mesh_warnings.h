// The warnings boxpaint-check gives for the mesh and the file names: what makes every
// block's work come to nothing, or costs the user a file.
#pragma once

#include <string>
#include <vector>

#include "check/reading/mesh_summary.h"
#include "mesh/mesh.h"
#include "mesh/read_mesh.h"

/// The warnings for the mesh, each a fixed phrase, a colon and the details with the
/// line of the mesh file they come from:
///   "the mesh has no cells": a count of 0 or less, so that the model is empty;
///   "cells of zero or negative width": per axis, the first few such cells (thickness
///     along elevation, from the top down) and how many more.
std::vector<std::string> meshWarnings(const Mesh& mesh, const MeshSummary& summary,
                                      const MeshLines& lines);

/// The warning "the model file is an input" when the model file named by the
/// blank-padded buffer `model` is the mesh file or the block file, named by their full
/// paths `meshPath` and `blockPath`: by name, or as the same file reached another way.
/// Empty when it is neither, or names a device.
std::string modelNameWarning(const char* model, int length, const std::string& meshPath,
                             const std::string& blockPath);

/// The warning "the model file is a device" when the model file named by the blank-padded
/// buffer `model` is a reserved device name (con.mod, nul.txt): boxpaint then writes the
/// model to that device and makes no file. Empty for any other name.
std::string modelDeviceWarning(const char* model, int length);
