// The Python class boxpaint.Mesh over the library's mesh.
#pragma once

#include <pybind11/pybind11.h>

/// Defines boxpaint.Mesh in `module`.
void defineMesh(pybind11::module_& module);
