// The report of what a block file does on a mesh.
#pragma once

#include <string>

#include "boxpaint/failure.h"

namespace boxpaint {

/// Makes in `json` the report `boxpaint-check --json` writes for the mesh file `meshPath`,
/// the block file `blockPath` and, when `modelPath` is given, the model file name a run
/// would be given.
Failure checkReport(const std::string& meshPath, const std::string& blockPath,
                    const std::string* modelPath, std::string& json);

}  // namespace boxpaint
