// A call of the library made without the GIL, which control-C can stop between pieces.
#pragma once

#include <pybind11/pybind11.h>

#include <chrono>

#include "boxpaint/failure.h"
#include "raise_failure.h"

/// Where a call that control-C may stop stands.
struct SignalWatch {
  std::chrono::steady_clock::time_point lastLook;
};

/// Looks at Python's signals at most every 20 ms, each time taking the GIL for a moment to
/// run their handlers: false when one raised (control-C's KeyboardInterrupt), which stays
/// set for raiseFailure. Seldom, so that a busy thread holding the GIL slows no call much.
inline bool signalsAllowGoingOn(void* context) {
  SignalWatch& watch = *static_cast<SignalWatch*>(context);
  const auto now = std::chrono::steady_clock::now();
  if (now - watch.lastLook < std::chrono::milliseconds(20)) return true;
  watch.lastLook = now;
  pybind11::gil_scoped_acquire gil;
  return PyErr_CheckSignals() == 0;
}

/// True on the thread Python runs its signal handlers on, the only one they can stop.
bool onSignalThread();

/// Runs `call` (a library call that returns a Failure and takes a CallControl*) with the
/// GIL released, control-C stopping it between pieces on the main thread, then raises
/// what it returned.
template <typename Call>
void releasedCall(Call call) {
  boxpaint::Failure failure;
  {
    SignalWatch watch{std::chrono::steady_clock::now()};
    boxpaint::CallControl control;
    if (onSignalThread()) control = {signalsAllowGoingOn, &watch};
    pybind11::gil_scoped_release release;
    failure = call(&control);
  }
  raiseFailure(failure);
}
