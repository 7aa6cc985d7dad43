// The report as one JSON object (--json).
#pragma once

#include <string>
#include <vector>

#include "check/reading/block_file_report.h"
#include "check/reading/mesh_summary.h"
#include "check/report/report_sink.h"
#include "mesh/mesh.h"

/// Writes {"mesh", "warnings" (`fileWarnings`, those of meshWarnings and
/// modelNameWarning), "background", "background_cells", "blocks"} to `sink`, one block a
/// line, and flushes it. Numbers are exact; NaN and infinities are the strings "NaN",
/// "Infinity" and "-Infinity". False, with the error in the sink, as soon as a write fails.
bool writeJsonReport(ReportSink& sink, const Mesh& mesh, const MeshSummary& summary,
                     const BlockFileReport& report, const std::vector<std::string>& fileWarnings);
