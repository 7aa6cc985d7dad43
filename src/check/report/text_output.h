// The report as text for a terminal.
#pragma once

#include <string>
#include <vector>

#include "check/reading/block_file_report.h"
#include "check/reading/mesh_summary.h"
#include "check/report/report_sink.h"
#include "check/report/table_cells.h"
#include "mesh/mesh.h"

/// Writes the mesh summary with `fileWarnings` (those of meshWarnings and
/// modelNameWarning) under it, the table of blocks with the warnings under each block,
/// the cells left at the background and the number of warnings to `sink`, and flushes
/// it. `meshName` and `blockName` are the files' names as given; `cells` holds the table's
/// cells as startTableCells began them. False, with the error in the sink, as soon as a
/// write fails.
bool writeTextReport(ReportSink& sink, const std::string& meshName, const std::string& blockName,
                     const Mesh& mesh, const MeshSummary& summary, const BlockFileReport& report,
                     const std::vector<std::string>& fileWarnings, TableCells& cells);
