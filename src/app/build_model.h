// The run sequence of a model build.
#pragma once

/// Reads the mesh, paints the blocks and writes the model, each name a 200-character
/// blank-padded buffer; a missing input file gives the not-found message. Never returns.
[[noreturn]] void buildModel(const char* meshName, const char* blockName, const char* modelName);
