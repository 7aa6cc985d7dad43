// A call of the library made without the GIL, which control-C can stop between pieces.
#pragma once

#include <pybind11/pybind11.h>

#include "boxpaint/failure.h"
#include "raise_failure.h"

/// Takes the GIL for a moment and runs Python's signal handlers; false when one raised
/// (control-C's KeyboardInterrupt), which stays set for raiseFailure.
inline bool signalsAllowGoingOn(void*) {
  pybind11::gil_scoped_acquire gil;
  return PyErr_CheckSignals() == 0;
}

/// Runs `call` (a library call that returns a Failure and takes a CallControl*) with the
/// GIL released, control-C stopping it between pieces, then raises what it returned.
template <typename Call>
void releasedCall(Call call) {
  boxpaint::Failure failure;
  {
    const boxpaint::CallControl control{signalsAllowGoingOn, nullptr};
    pybind11::gil_scoped_release release;
    failure = call(&control);
  }
  raiseFailure(failure);
}
