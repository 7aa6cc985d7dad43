// The report as one JSON object (--json).
#pragma once

#include "check/block_file_report.h"
#include "check/mesh_summary.h"
#include "check/report_sink.h"
#include "mesh/mesh.h"

/// Writes {"mesh", "background", "background_cells", "blocks"} to `sink`, one block a
/// line. NaN and infinities are the strings "NaN", "Infinity" and "-Infinity".
void writeJsonReport(ReportSink& sink, const Mesh& mesh, const MeshSummary& summary,
                     const BlockFileReport& report);
