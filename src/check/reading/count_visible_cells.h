// Which block's value each cell of the finished model shows.
#pragma once

#include "check/reading/block_file_report.h"
#include "mesh/mesh.h"

/// Paints the model piece by piece with block numbers, as boxpaint's streamed writer
/// produces it, and counts for each block the cells that keep its value (`visible`) and
/// the cells no block covers (`backgroundCells`). Returns no failure, or the memory the
/// painter was refused (41).
Failure countVisibleCells(const Mesh& mesh, BlockFileReport& report);
