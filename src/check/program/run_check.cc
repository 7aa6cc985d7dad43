#include "check/program/run_check.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "check/program/check_arguments.h"
#include "check/program/check_failure.h"
#include "check/reading/block_file_report.h"
#include "check/reading/count_visible_cells.h"
#include "check/reading/mesh_summary.h"
#include "check/report/json_output.h"
#include "check/report/table_cells.h"
#include "check/report/text_output.h"
#include "check/warnings/mesh_warnings.h"
#include "companion/end_program.h"
#include "companion/exit_status.h"
#include "companion/system_files.h"
#include "mesh/read_mesh.h"
#include "model/blocks/model_size.h"
#include "runtime/connections/resolve_file_name.h"
#include "runtime/environment/command_line.h"

namespace {

// A file name as boxpaint takes it: cut to the buffer and blank-padded.
struct FileName {
  char buffer[kNameLength];
  std::string shown;  // without the trailing blanks, as boxpaint names the file

  explicit FileName(std::string_view given) {
    const size_t kept = std::min(given.size(), static_cast<size_t>(kNameLength));
    std::memcpy(buffer, given.data(), kept);
    std::memset(buffer + kept, ' ', kNameLength - kept);
    shown = nameInBuffer(buffer, kNameLength);
  }
};

// A mesh off the stack (with its snap tables it is a few hundred kilobytes), its node
// arrays given back when it goes.
struct HeldMesh {
  std::unique_ptr<Mesh> mesh = std::make_unique<Mesh>();
  ~HeldMesh() { releaseMesh(*mesh); }
};

// The warnings on the model file's name: one that would write over an input, one that
// names a device.
void modelNameWarnings(const FileName& mesh, const FileName& model, const std::string& blockPath,
                       std::vector<std::string>& warnings) {
  ResolvedName meshPath;
  resolveFileName(mesh.buffer, kNameLength, meshPath);
  const std::string warning =
      modelNameWarning(model.buffer, kNameLength, meshPath.fileName, blockPath);
  if (!warning.empty()) warnings.push_back(warning);
  const std::string device = modelDeviceWarning(model.buffer, kNameLength);
  if (!device.empty()) warnings.push_back(device);
}

// The command line's argument `index` as boxpaint fetches it.
std::string argumentText(int index) {
  char buffer[kNameLength];
  getArgument(index, buffer, kNameLength);
  return std::string(nameInBuffer(buffer, kNameLength));
}

}  // namespace

CompanionFailure checkFiles(const CheckRequest& request, ReportSink& sink) {
  const FileName meshName(request.mesh), blockName(request.blocks);
  HeldMesh held;
  Mesh& mesh = *held.mesh;
  MeshLines meshLines;
  for (const std::string* file : {&meshName.shown, &blockName.shown}) {
    if (CompanionFailure device = inputDeviceRefusal(*file, request.json)) return device;
  }
  ReadingPlace place;
  place.file = meshName.shown;
  if (const Failure failure = readMesh(meshName.buffer, kNameLength, mesh, &meshLines)) {
    return readingFailure(failure, place, request.json);
  }
  // boxpaint refuses a model too large for it before it opens the block file.
  if (const Failure tooLarge = checkModelSize(mesh)) {
    return readingFailure(tooLarge, place, request.json);
  }

  BlockFileReport report;
  BlockReading reading;
  if (const Failure failure = readBlockFile(blockName.buffer, kNameLength, mesh, report, reading)) {
    place.file = blockName.shown;
    place.part = reading.headRead ? nullptr : "the background and the number of blocks";
    place.block = reading.block;
    place.blockCount = report.blockCount;
    place.blockRecord = reading.blockRecord;
    place.blocksRead = std::span<const BlockLines>(report.lines.data(), report.lines.size());
    return readingFailure(failure, place, request.json);
  }

  // The text of the table is made on a second thread while the model is painted.
  TableCells cells;
  if (!request.json) startTableCells(cells, report);
  if (const Failure failure = countVisibleCells(mesh, report)) {
    return readingFailure(failure, ReadingPlace{}, request.json);
  }
  const MeshSummary summary = summariseMesh(mesh);
  std::vector<std::string> fileWarnings = meshWarnings(mesh, summary, meshLines);
  if (request.model) {
    modelNameWarnings(meshName, FileName(*request.model), report.path, fileWarnings);
  }
  const bool written = request.json ? writeJsonReport(sink, mesh, summary, report, fileWarnings)
                                    : writeTextReport(sink, meshName.shown, blockName.shown, mesh,
                                                      summary, report, fileWarnings, cells);
  // A report cut short is no report.
  if (!written) {
    return failureOf(kFailureStatus, "cannot write the report: " + errorText(sink.error));
  }
  return {};
}

CompanionFailure runCheck(int argc, const char* const* argv) {
  CheckArguments arguments;
  std::string error;
  if (!parseCheckArguments(argc, argv, arguments, error)) return failureOf(kUsageStatus, error);
  if (arguments.help || arguments.version) {
    return writeHelpOrVersion(arguments.help, kCheckHelpText, kCheckProgram);
  }
  CheckRequest request;
  request.mesh = argumentText(arguments.meshIndex);
  request.blocks = argumentText(arguments.blockIndex);
  if (arguments.modelIndex != 0) request.model = argumentText(arguments.modelIndex);
  request.json = arguments.json;
  setFailureJson(arguments.json);
  ReportSink sink;
  return checkFiles(request, sink);
}
