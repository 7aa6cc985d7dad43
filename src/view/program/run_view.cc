#include "view/program/run_view.h"

#include <cstring>
#include <memory>
#include <string>

#include "companion/end_program.h"
#include "companion/exit_status.h"
#include "mesh/read_mesh.h"
#include "model_files/grid_flips.h"
#include "model_files/output_file.h"
#include "model_files/read_model.h"
#include "model_files/view_failure.h"
#include "model_files/write_rectilinear_grid.h"
#include "runtime/connections/open_connection.h"
#include "view/drawing/picture_backend.h"
#include "view/program/view_arguments.h"
#include "view/program/write_slice_picture.h"
#include "view/slice/slice_choice.h"

namespace {

// A mesh off the stack (with its snap tables it is a few hundred kilobytes), its node
// arrays given back when it goes.
struct HeldMesh {
  std::unique_ptr<Mesh> mesh = std::make_unique<Mesh>();
  ~HeldMesh() { releaseMesh(*mesh); }
};

// What the command line asks that cannot be known before the mesh is read.
CompanionFailure checkPictureRequest(const ViewArguments& arguments) {
  std::string error;
  if (arguments.format != PictureFormat::Png && !drawsVectorPictures()) {
    return formattedFailure(kUsageStatus,
                            "%s: this boxpaint-view was built without cairo and writes .png only",
                            arguments.outputName);
  }
  if (!pictureTextsDrawable(arguments, error)) return failureOf(kUsageStatus, error);
  return {};
}

// Reads the mesh, and checks it against what the command line asks of it.
CompanionFailure readViewMesh(const ViewArguments& arguments, Mesh& mesh, GridFlips& flips,
                              int32_t& sliceIndex) {
  if (CompanionFailure device = deviceRefusal(arguments.meshName, true)) return device;
  if (const Failure failure =
          readMesh(arguments.meshName, static_cast<int>(std::strlen(arguments.meshName)), mesh)) {
    if (!isOpenRefusal(failure)) return viewFailureOf(failure, arguments.meshName);
    CompanionFailure refused =
        formattedFailure(kFailureStatus, "%s: cannot open the mesh file", arguments.meshName);
    refused.file = arguments.meshName;
    refused.message = numberOf(failure.message);
    return refused;
  }
  int64_t cells = 0;
  if (CompanionFailure failure = meshCellCount(mesh, cells)) return failure;
  if (cells == 0) {
    return formattedFailure(kFailureStatus, "%s: the mesh has no cells (%d x %d x %d)",
                            arguments.meshName, mesh.easting.cellCount, mesh.northing.cellCount,
                            mesh.elevation.cellCount);
  }
  std::string error;
  if (arguments.output == OutputKind::Grid) {
    if (!gridFlipsOf(mesh, flips, error)) {
      return formattedFailure(kFailureStatus, "%s: %s", arguments.meshName, error.c_str());
    }
    return {};
  }
  if (!sliceCellIndex(mesh, arguments.slice, sliceIndex, error)) {
    return failureOf(kUsageStatus, "--slice: " + error);
  }
  if (!pictureRangesShowTheMesh(mesh, arguments, error)) return failureOf(kUsageStatus, error);
  return {};
}

// Makes the output the command line asks for.
CompanionFailure viewModel(const ViewArguments& arguments) {
  if (arguments.output == OutputKind::Picture) {
    if (CompanionFailure failure = checkPictureRequest(arguments)) return failure;
  }
  // Created first, so that an output that cannot be written is known before a large
  // model is read; it is removed on every way out before its commit.
  OutputFile output;
  if (CompanionFailure failure = createOutputFile(arguments.outputName, output)) return failure;
  HeldMesh held;
  const Mesh& mesh = *held.mesh;
  GridFlips flips;
  int32_t sliceIndex = 0;
  if (CompanionFailure failure = readViewMesh(arguments, *held.mesh, flips, sliceIndex)) {
    return failure;
  }
  ModelValues model;
  if (CompanionFailure failure = readModel(arguments.modelName, mesh, model)) return failure;
  const CompanionFailure written =
      arguments.output == OutputKind::Grid
          ? writeRectilinearGrid(output, mesh, flips, model.values.get())
          : writeSlicePicture(output, mesh, model, arguments.slice.axis, sliceIndex, arguments);
  if (written) return written;
  return commitOutputFile(output);
}

}  // namespace

CompanionFailure runView(int argc, const char* const* argv) {
  ViewArguments arguments;
  std::string error;
  if (!parseViewArguments(argc, argv, arguments, error)) return failureOf(kUsageStatus, error);
  if (arguments.help || arguments.version) {
    return writeHelpOrVersion(arguments.help, kViewHelpText, kViewProgram);
  }
  return viewModel(arguments);
}
