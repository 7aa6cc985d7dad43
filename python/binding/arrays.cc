#include "arrays.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace py = pybind11;

static_assert(sizeof(boxpaint::Block) == 7 * sizeof(double), "a block is a row of seven doubles");

DoubleArray modelArray(const boxpaint::Mesh& mesh) {
  const int64_t count = boxpaint::modelCellCount(mesh);
  // Small pages: asking a fresh array of hundreds of megabytes for large ones makes the
  // system compact memory first, which took longer than the painting on a busy machine.
  void* memory = std::malloc(static_cast<size_t>(std::max<int64_t>(count, 1)) * 8);
  if (memory == nullptr) throw std::bad_alloc();
  py::capsule owner(memory, [](void* data) { std::free(data); });
  const auto cells = [](const boxpaint::MeshAxis& axis) {
    return static_cast<py::ssize_t>(std::max(axis.cellCount, 0));
  };
  return DoubleArray({cells(mesh.northing), cells(mesh.easting), cells(mesh.elevation)},
                     static_cast<double*>(memory), owner);
}

DoubleArray viewOf(const double* data, size_t count, py::handle owner) {
  DoubleArray view({static_cast<py::ssize_t>(count)}, {sizeof(double)}, data, owner);
  py::detail::array_proxy(view.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
  return view;
}

std::span<const boxpaint::Block> blockRows(const DoubleArray& blocks) {
  if (blocks.size() == 0) return {};
  if (blocks.ndim() != 2 || blocks.shape(1) != 7) {
    throw py::value_error("blocks must be an array of shape (N, 7): e1 e2 n1 n2 z1 z2 value");
  }
  return {reinterpret_cast<const boxpaint::Block*>(blocks.data()),
          static_cast<size_t>(blocks.shape(0))};
}

std::string pathText(const py::object& path) {
  // The bytes the system takes, whatever the name's encoding.
  return py::bytes(py::module_::import("os").attr("fsencode")(path));
}

boxpaint::Terminator terminatorOf(const std::string& text) {
  if (text == "\r\n") return boxpaint::Terminator::CRLF;
  if (text == "\n") return boxpaint::Terminator::LF;
  if (text == "\r") return boxpaint::Terminator::CR;
  throw py::value_error("terminator must be \"\\r\\n\", \"\\n\" or \"\\r\"");
}
