// The Python module boxpaint: the library's calls over numpy arrays.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <optional>
#include <string>

#include "arrays.h"
#include "boxpaint/boxpaint.h"
#include "mesh_binding.h"
#include "released_call.h"

namespace py = pybind11;

namespace {

DoubleArray paint(const boxpaint::Mesh& mesh, double background, const DoubleArray& blocks) {
  const std::span<const boxpaint::Block> rows = blockRows(blocks);
  // A model boxpaint refuses is refused before its memory is asked for.
  raiseFailure(boxpaint::checkModelSize(mesh));
  DoubleArray cells = modelArray(mesh);
  const std::span<double> out(cells.mutable_data(), static_cast<size_t>(cells.size()));
  releasedCall([&](const boxpaint::CallControl* control) {
    return boxpaint::paintModel(mesh, background, rows, out, control);
  });
  return cells;
}

void writeModel(const py::object& path, const DoubleArray& values, const std::string& terminator) {
  const std::string name = pathText(path);
  const boxpaint::Terminator end = terminatorOf(terminator);
  const std::span<const double> cells(values.data(), static_cast<size_t>(values.size()));
  releasedCall([&](const boxpaint::CallControl* control) {
    return boxpaint::writeModel(name, cells, end, control);
  });
}

py::bytes renderModel(const DoubleArray& values, const std::string& terminator) {
  const boxpaint::Terminator end = terminatorOf(terminator);
  const std::span<const double> cells(values.data(), static_cast<size_t>(values.size()));
  py::bytes records(nullptr, cells.size() * boxpaint::recordLength(end));
  char* out = PyBytes_AsString(records.ptr());
  {
    py::gil_scoped_release release;
    boxpaint::renderModelRecords(cells, end, out);
  }
  return records;
}

void writeBlocks(const py::object& path, double background, const DoubleArray& blocks) {
  const std::string name = pathText(path);
  const std::span<const boxpaint::Block> rows = blockRows(blocks);
  releasedCall(
      [&](const boxpaint::CallControl*) { return boxpaint::writeBlocks(name, background, rows); });
}

boxpaint::Mesh readMesh(const py::object& path) {
  const std::string name = pathText(path);
  boxpaint::Mesh mesh;
  releasedCall([&](const boxpaint::CallControl*) { return boxpaint::readMesh(name, mesh); });
  return mesh;
}

py::tuple readBlocks(const py::object& path) {
  const std::string name = pathText(path);
  boxpaint::BlockFile file;
  releasedCall([&](const boxpaint::CallControl*) { return boxpaint::readBlocks(name, file); });
  DoubleArray blocks({static_cast<py::ssize_t>(file.blocks.size()), py::ssize_t{7}});
  if (!file.blocks.empty()) {
    std::copy_n(&file.blocks.front().e1, file.blocks.size() * 7, blocks.mutable_data());
  }
  return py::make_tuple(file.background, blocks);
}

DoubleArray readModel(const py::object& path, const boxpaint::Mesh& mesh) {
  const std::string name = pathText(path);
  DoubleArray cells = modelArray(mesh);
  const std::span<double> out(cells.mutable_data(), static_cast<size_t>(cells.size()));
  releasedCall([&](const boxpaint::CallControl* control) {
    return boxpaint::readModel(name, mesh, out, control);
  });
  return cells;
}

void build(const py::object& meshPath, const py::object& blockPath, const py::object& modelPath) {
  const std::string mesh = pathText(meshPath), blocks = pathText(blockPath),
                    model = pathText(modelPath);
  releasedCall([&](const boxpaint::CallControl* control) {
    return boxpaint::buildModel(mesh, blocks, model, control);
  });
}

py::object check(const py::object& meshPath, const py::object& blockPath,
                 const py::object& modelPath) {
  const std::string mesh = pathText(meshPath), blocks = pathText(blockPath);
  std::optional<std::string> model;
  if (!modelPath.is_none()) model = pathText(modelPath);
  std::string json;
  releasedCall([&](const boxpaint::CallControl*) {
    return boxpaint::checkReport(mesh, blocks, model ? &*model : nullptr, json);
  });
  return py::module_::import("json").attr("loads")(json);
}

void writeVtr(const py::object& path, const boxpaint::Mesh& mesh, const DoubleArray& values,
              const std::string& name) {
  const std::string file = pathText(path);
  const std::span<const double> cells(values.data(), static_cast<size_t>(values.size()));
  releasedCall([&](const boxpaint::CallControl*) {
    return boxpaint::writeRectilinearGrid(file, mesh, cells, name);
  });
}

}  // namespace

PYBIND11_MODULE(_boxpaint, module) {
  module.doc() = "The boxpaint library's calls; import them from the package boxpaint.";
  module.attr("__version__") = boxpaint::version();
  defineMesh(module);

  module.def("paint", &paint, py::arg("mesh"), py::arg("background"), py::arg("blocks"),
             R"(Paints the model of `mesh`: every cell starts at `background` and each block
(a row e1 e2 n1 n2 z1 z2 value of the (N, 7) array `blocks`), in order, takes the cells
between the mesh nodes nearest its bounds, as boxpaint paints them.

Returns a new float64 array of shape mesh.shape, (northing, easting, elevation), in the
model file's order. Each cell holds the value its record in boxpaint's model file reads
back as (four significant digits), so the array equals the model file boxpaint writes
for the same mesh and blocks, read back. Raises boxpaint.Error 179 for a model too large
for boxpaint.)");
  module.def("write_model", &writeModel, py::arg("path"), py::arg("values"),
             py::arg("terminator") = "\r\n",
             R"(Writes the model file `path`: one 10-character record per value of `values`
(any shape, taken in C order), ended by `terminator` ("\r\n", as boxpaint writes by
default, "\n" or "\r"), the exact bytes boxpaint writes for those values. An existing
file is cut just before the first records take its place; after a failure or control-C
it holds whole records only.)");
  module.def("render_model", &renderModel, py::arg("values"), py::arg("terminator") = "\r\n",
             R"(The bytes write_model writes for `values`, in memory.)");
  module.def("write_blocks", &writeBlocks, py::arg("path"), py::arg("background"),
             py::arg("blocks"),
             R"(Writes the block file `path` of `background` and `blocks` (an (N, 7) array of
rows e1 e2 n1 n2 z1 z2 value), each number in the shortest text that boxpaint reads back
as the same double.)");
  module.def("read_mesh", &readMesh, py::arg("path"),
             R"(Reads the mesh file `path` as boxpaint does; returns a Mesh.)");
  module.def("read_blocks", &readBlocks, py::arg("path"),
             R"(Reads the block file `path` as boxpaint does; returns (background, blocks),
blocks a float64 array of shape (N, 7): e1 e2 n1 n2 z1 z2 value, a field left out holding
the value it carries over.)");
  module.def("read_model", &readModel, py::arg("path"), py::arg("mesh"),
             R"(Reads the model file `path` of `mesh` into a new float64 array of shape
mesh.shape (northing, easting, elevation), as boxpaint-view reads it: every form boxpaint
writes (1.000+100 and the largest doubles' 1.798+308 included), each record read to the
double it stands for, and files of one number per line that other tools write. A file
of another number of records than mesh.size, or with a record that is not one number,
raises boxpaint.Error -3 naming the record (.line); one that cannot be opened raises
boxpaint's number for it (29 not found, also a FileNotFoundError).)");
  module.def("build", &build, py::arg("mesh_path"), py::arg("block_path"), py::arg("model_path"),
             R"(Does what `boxpaint mesh_path block_path model_path` does: the same model
file, the same failures, raised as boxpaint.Error.)");
  module.def("check", &check, py::arg("mesh_path"), py::arg("block_path"),
             py::arg("model_path") = py::none(),
             R"(The report of `boxpaint-check --json mesh_path block_path [model_path]`, as a
dict: the mesh, each block's snapped cells, what it paints and what stays visible, and
the warnings. A file boxpaint cannot read raises boxpaint.Error with boxpaint's number
for it, as build does.)");
  module.def("write_vtr", &writeVtr, py::arg("path"), py::arg("mesh"), py::arg("values"),
             py::arg("name") = "value",
             R"(Writes `values` on `mesh` as the VTK rectilinear grid file `path` for
ParaView, the same bytes boxpaint-view writes, its cell array named `name`. The file gets
its name only when complete; one that cannot be written raises boxpaint.Error -3.)");
}
