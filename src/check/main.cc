// boxpaint-check: explains what a block file does on a mesh, reading both files exactly as
// boxpaint reads them.
#include <string>
#include <string_view>
#include <vector>

#include "check/block_file_report.h"
#include "check/check_arguments.h"
#include "check/check_failure.h"
#include "check/count_visible_cells.h"
#include "check/json_output.h"
#include "check/mesh_summary.h"
#include "check/mesh_warnings.h"
#include "check/report_sink.h"
#include "check/table_cells.h"
#include "check/text_output.h"
#include "companion/end_program.h"
#include "companion/system_files.h"
#include "mesh/read_mesh.h"
#include "model/blocks/model_size.h"
#include "runtime/connections/open_connection.h"
#include "runtime/connections/resolve_file_name.h"
#include "runtime/environment/command_line.h"
#include "runtime/process/finish_run.h"
#include "runtime/process/start_runtime.h"

namespace {

// A file name as boxpaint takes it: the argument cut to the buffer, blank-padded.
struct FileName {
  char buffer[kNameLength];
  std::string shown;  // without the trailing blanks, as boxpaint names the file
};

void fetchFileName(int index, FileName& name) {
  getArgument(index, name.buffer, kNameLength);
  name.shown = nameInBuffer(name.buffer, kNameLength);
}

}  // namespace

int main(int argc, char** argv) {
  installCheckFailureHandler();
  startRuntime(argc, argv);

  CheckArguments arguments;
  std::string error;
  if (!parseCheckArguments(argc, argv, arguments, error)) {
    const std::string line = "boxpaint-check: " + error + "\n";
    writeWhole(standardOutput(true), line.data(), line.size());
    endProgram(kUsageStatus);
  }
  if (arguments.help || arguments.version) {
    endProgramWithText(arguments.help ? kCheckHelpText : "boxpaint-check " BOXPAINT_VERSION "\n");
  }
  setFailureJson(arguments.json);

  FileName meshName, blockName, modelName;
  fetchFileName(arguments.meshIndex, meshName);
  fetchFileName(arguments.blockIndex, blockName);
  if (arguments.modelIndex != 0) fetchFileName(arguments.modelIndex, modelName);

  // Its node arrays live until the process ends, as the mesh reader makes them.
  static Mesh mesh;
  MeshLines meshLines;
  setCheckReading(meshName.shown.c_str(), nullptr);
  if (const Failure failure = readMesh(meshName.buffer, kNameLength, mesh, &meshLines)) {
    if (isOpenRefusal(failure)) failMissingFile(meshName.buffer, kNameLength);
    endRunForFailure(failure);
  }
  // boxpaint refuses a model too large for it before it opens the block file.
  if (const Failure tooLarge = checkModelSize(mesh)) endRunForFailure(tooLarge);

  BlockFileReport report;
  setCheckReading(blockName.shown.c_str(), "the background and the number of blocks");
  if (!readBlockFile(blockName.buffer, kNameLength, mesh, report)) {
    failMissingFile(blockName.buffer, kNameLength);
  }
  setCheckReading(nullptr, nullptr);

  // The text of the table is made on a second thread while the model is painted.
  TableCells cells;
  if (!arguments.json) startTableCells(cells, report);
  countVisibleCells(mesh, report);
  const MeshSummary summary = summariseMesh(mesh);
  std::vector<std::string> fileWarnings = meshWarnings(mesh, summary, meshLines);
  if (arguments.modelIndex != 0) {
    ResolvedName meshPath;
    resolveFileName(meshName.buffer, kNameLength, meshPath);
    const std::string warning =
        modelNameWarning(modelName.buffer, kNameLength, meshPath.fileName, report.path);
    if (!warning.empty()) fileWarnings.push_back(warning);
    const std::string device = modelDeviceWarning(modelName.buffer, kNameLength);
    if (!device.empty()) fileWarnings.push_back(device);
  }
  ReportSink sink;
  const bool written = arguments.json ? writeJsonReport(sink, mesh, summary, report, fileWarnings)
                                      : writeTextReport(sink, meshName.shown, blockName.shown, mesh,
                                                        summary, report, fileWarnings, cells);
  if (!written) {
    // Said even to a reader that has gone (a closed pipe): a report cut short is no report.
    const std::string line =
        "boxpaint-check: cannot write the report: " + errorText(sink.error) + "\n";
    writeWhole(standardOutput(true), line.data(), line.size());
    endProgram(kFailureStatus);
  }
  endProgram(0);
}
