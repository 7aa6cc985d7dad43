// A failure the library returns, raised in Python.
#pragma once

#include <pybind11/pybind11.h>

#include "boxpaint/failure.h"

/// Raises `failure` (the GIL held): a KeyboardInterrupt or other exception already set
/// while the call was stopped, ValueError for arguments refused, else boxpaint.Error
/// (FileMissingError, also a FileNotFoundError, for a file not found) with the message's number,
/// text, file and line. Nothing when the call succeeded.
void raiseFailure(const boxpaint::Failure& failure);
