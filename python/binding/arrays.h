// numpy arrays handed to and from the library.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>

#include "boxpaint/blocks.h"
#include "boxpaint/mesh.h"
#include "boxpaint/model.h"

/// A float64 array as the library takes it: C order, converted from anything that
/// numpy can make one of.
using DoubleArray =
    pybind11::array_t<double, pybind11::array::c_style | pybind11::array::forcecast>;

/// An array of `model`'s shape for the cells of `mesh`: (northing, easting, elevation),
/// C order, so that it lies in the model file's order. Its memory goes when the array
/// goes. Raises MemoryError when refused.
DoubleArray modelArray(const boxpaint::Mesh& mesh);

/// A read-only view of `count` doubles at `data` that keeps `owner` alive.
DoubleArray viewOf(const double* data, size_t count, pybind11::handle owner);

/// The blocks of an (N, 7) array, rows of e1 e2 n1 n2 z1 z2 value; an empty array is no
/// block. Raises ValueError for any other shape.
std::span<const boxpaint::Block> blockRows(const DoubleArray& blocks);

/// The name of a file given as str, bytes or os.PathLike, as the system takes it.
std::string pathText(const pybind11::object& path);

/// The terminator of "\r\n", "\n" or "\r"; raises ValueError for any other.
boxpaint::Terminator terminatorOf(const std::string& text);
