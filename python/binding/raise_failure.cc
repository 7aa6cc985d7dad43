#include "raise_failure.h"

namespace py = pybind11;

void raiseFailure(const boxpaint::Failure& failure) {
  if (!boxpaint::failed(failure)) return;
  // A stop asked for by a signal handler's exception (KeyboardInterrupt) raises that.
  if (failure.number == boxpaint::kStopped && PyErr_Occurred() != nullptr) {
    throw py::error_already_set();
  }
  if (failure.number == boxpaint::kBadArgument) throw py::value_error(failure.text);
  py::object exception =
      py::module_::import("boxpaint._errors")
          .attr("_failure")(failure.number, failure.text, failure.file, failure.line);
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception.ptr())), exception.ptr());
  throw py::error_already_set();
}

bool onSignalThread() {
  static const unsigned long mainThread =
      py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();
  return PyThread_get_thread_ident() == mainThread;
}
