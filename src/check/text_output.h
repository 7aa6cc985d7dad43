// The report as text for a terminal.
#pragma once

#include <string>

#include "check/block_file_report.h"
#include "check/mesh_summary.h"
#include "check/report_sink.h"
#include "mesh/mesh.h"

/// Writes the mesh summary, the table of blocks with the warnings under each block, the
/// cells left at the background and the number of blocks with warnings to `sink`.
/// `meshName` and `blockName` are the files' names as given.
void writeTextReport(ReportSink& sink, const std::string& meshName, const std::string& blockName,
                     const Mesh& mesh, const MeshSummary& summary, const BlockFileReport& report);
