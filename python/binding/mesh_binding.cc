#include "mesh_binding.h"

#include <pybind11/stl.h>

#include <array>
#include <string>

#include "arrays.h"
#include "boxpaint/mesh.h"
#include "released_call.h"

namespace py = pybind11;

namespace {

using boxpaint::Mesh;
using boxpaint::MeshAxis;

// The three axes of `mesh`, in the order the mesh file gives them.
std::array<const MeshAxis*, 3> axesOf(const Mesh& mesh) {
  return {&mesh.easting, &mesh.northing, &mesh.elevation};
}

// A tuple of one read-only array per axis, made by `pick`, each keeping the mesh alive.
template <typename Pick>
py::tuple axisArrays(py::object self, Pick pick) {
  const Mesh& mesh = self.cast<const Mesh&>();
  py::tuple arrays(3);
  size_t i = 0;
  for (const MeshAxis* axis : axesOf(mesh)) {
    const std::vector<double>& values = pick(*axis);
    arrays[i++] = viewOf(values.data(), values.size(), self);
  }
  return arrays;
}

// The mesh of widths `easting`, `northing` and `elevation` (thicknesses, from the top
// down) from the first node `origin`.
Mesh makeMesh(const DoubleArray& easting, const DoubleArray& northing, const DoubleArray& elevation,
              const std::array<double, 3>& origin) {
  for (const DoubleArray* widths : {&easting, &northing, &elevation}) {
    if (widths->ndim() != 1) throw py::value_error("the widths of an axis are a 1-d array");
  }
  Mesh mesh;
  boxpaint::Failure failure;
  {
    py::gil_scoped_release release;
    failure = boxpaint::makeMesh(origin.data(), {easting.data(), size_t(easting.size())},
                                 {northing.data(), size_t(northing.size())},
                                 {elevation.data(), size_t(elevation.size())}, mesh);
  }
  raiseFailure(failure);
  return mesh;
}

}  // namespace

void defineMesh(py::module_& module) {
  py::class_<Mesh>(module, "Mesh", R"(A rectilinear mesh, as a boxpaint mesh file gives it.

Mesh(easting, northing, elevation, origin=(0.0, 0.0, 0.0)) makes one from the widths of
the cells along each axis (elevation: thicknesses, from the top down) and the first node:
the west edge, the south edge and the top of the mesh. Easting and northing nodes rise
from the origin, elevation nodes fall from the top, each by running sums exactly as
boxpaint makes them from a mesh file that holds these numbers.

A model of the mesh is an array of shape `mesh.shape`, (northing, easting, elevation),
elevation index 0 the top layer: the order of boxpaint's model file.)")
      .def(py::init(&makeMesh), py::arg("easting"), py::arg("northing"), py::arg("elevation"),
           py::arg("origin") = std::array<double, 3>{0.0, 0.0, 0.0})
      .def_property_readonly(
          "counts",
          [](const Mesh& mesh) {
            return py::make_tuple(mesh.easting.cellCount, mesh.northing.cellCount,
                                  mesh.elevation.cellCount);
          },
          "Cells along easting, northing and elevation, as the mesh file gives them.")
      .def_property_readonly(
          "origin",
          [](const Mesh& mesh) {
            return py::make_tuple(mesh.easting.origin, mesh.northing.origin, mesh.elevation.origin);
          },
          "The first node: easting, northing and the elevation of the top of the mesh.")
      .def_property_readonly(
          "widths",
          [](py::object self) {
            return axisArrays(self, [](const MeshAxis& axis) -> const std::vector<double>& {
              return axis.widths;
            });
          },
          "The cell widths along easting, northing and elevation (thicknesses, from the "
          "top down): three read-only arrays.")
      .def_property_readonly(
          "nodes",
          [](py::object self) {
            return axisArrays(self, [](const MeshAxis& axis) -> const std::vector<double>& {
              return axis.nodes;
            });
          },
          "The node coordinates along easting, northing and elevation, exactly as boxpaint "
          "computes them (elevation falling from the top): three read-only arrays.")
      .def_property_readonly(
          "centres",
          [](const Mesh& mesh) {
            py::tuple centres(3);
            size_t i = 0;
            for (const MeshAxis* axis : axesOf(mesh)) {
              const std::vector<double> values = boxpaint::cellCentres(*axis);
              centres[i++] = DoubleArray(static_cast<py::ssize_t>(values.size()), values.data());
            }
            return centres;
          },
          "The cell centres along easting, northing and elevation: halfway between each "
          "node and the next.")
      .def_property_readonly(
          "shape",
          [](const Mesh& mesh) {
            const auto cells = [](const MeshAxis& axis) { return std::max(axis.cellCount, 0); };
            return py::make_tuple(cells(mesh.northing), cells(mesh.easting), cells(mesh.elevation));
          },
          "The shape of a model of the mesh: (northing, easting, elevation) cells.")
      .def_property_readonly("size", &boxpaint::modelCellCount, "The number of cells.")
      .def(
          "write",
          [](const Mesh& mesh, const py::object& path) {
            const std::string name = pathText(path);
            releasedCall(
                [&](const boxpaint::CallControl*) { return boxpaint::writeMesh(name, mesh); });
          },
          py::arg("path"),
          R"(Writes the mesh file `path`, which boxpaint reads back to the same counts,
origin and widths: each number in the shortest text that reads back as the same double.)")
      .def("__repr__",
           [](const Mesh& mesh) {
             return "Mesh(counts=(" + std::to_string(mesh.easting.cellCount) + ", " +
                    std::to_string(mesh.northing.cellCount) + ", " +
                    std::to_string(mesh.elevation.cellCount) + "), origin=" +
                    std::string(py::repr(py::make_tuple(mesh.easting.origin, mesh.northing.origin,
                                                        mesh.elevation.origin))) +
                    ")";
           })
      .def(py::pickle(
          [](py::object self) {
            const Mesh& mesh = self.cast<const Mesh&>();
            return py::make_tuple(py::make_tuple(mesh.easting.cellCount, mesh.northing.cellCount,
                                                 mesh.elevation.cellCount),
                                  self.attr("origin"), self.attr("widths"));
          },
          [](const py::tuple& state) {
            const py::tuple counts = state[0], origin = state[1], widths = state[2];
            Mesh mesh = makeMesh(
                widths[0].cast<DoubleArray>(), widths[1].cast<DoubleArray>(),
                widths[2].cast<DoubleArray>(),
                {origin[0].cast<double>(), origin[1].cast<double>(), origin[2].cast<double>()});
            // An axis of fewer than no cells, as a mesh file may give, has no node.
            for (auto [axis, i] : {std::pair{&mesh.easting, 0}, std::pair{&mesh.northing, 1},
                                   std::pair{&mesh.elevation, 2}}) {
              const int32_t count = counts[static_cast<size_t>(i)].cast<int32_t>();
              if (count < 0) *axis = boxpaint::MeshAxis{count, 0.0, {}, {}};
            }
            return mesh;
          }));
}
