// boxpaint-view: turns a mesh file and the model file boxpaint wrote for it into a VTK
// rectilinear grid or a picture of one slice.
#include <cstring>
#include <string>

#include "companion/end_program.h"
#include "mesh/read_mesh.h"
#include "runtime/connections/open_connection.h"
#include "runtime/process/finish_run.h"
#include "runtime/process/start_runtime.h"
#include "view/grid_flips.h"
#include "view/output_file.h"
#include "view/picture_backend.h"
#include "view/read_model.h"
#include "view/slice_choice.h"
#include "view/view_arguments.h"
#include "view/view_failure.h"
#include "view/write_rectilinear_grid.h"
#include "view/write_slice_picture.h"

int main(int argc, char** argv) {
  installViewFailureHook();
  startRuntime(argc, argv);

  ViewArguments arguments;
  std::string error;
  if (!parseViewArguments(argc, argv, arguments, error)) {
    failView(kUsageStatus, "%s", error.c_str());
  }
  if (arguments.help || arguments.version) {
    endProgramWithText(arguments.help ? kViewHelpText : "boxpaint-view " BOXPAINT_VERSION "\n");
  }

  if (arguments.output == OutputKind::Picture && arguments.format != PictureFormat::Png &&
      !drawsVectorPictures()) {
    failView(kUsageStatus, "%s: this boxpaint-view was built without cairo and writes .png only",
             arguments.outputName);
  }
  if (arguments.output == OutputKind::Picture && !pictureTextsDrawable(arguments, error)) {
    failView(kUsageStatus, "%s", error.c_str());
  }

  // Created first, so that an output that cannot be written is known before a large
  // model is read; every failure from here on removes it.
  OutputFile output = createOutputFile(arguments.outputName);

  // Its node arrays live until the process ends, as the mesh reader makes them.
  static Mesh mesh;
  setViewReading(arguments.meshName, nullptr);
  if (const Failure failure =
          readMesh(arguments.meshName, static_cast<int>(std::strlen(arguments.meshName)), mesh)) {
    if (isOpenRefusal(failure)) {
      failView(kFailureStatus, "%s: cannot open the mesh file", arguments.meshName);
    }
    endRunForFailure(failure);
  }
  setViewReading(nullptr, nullptr);
  if (meshCellCount(mesh) == 0) {
    failView(kFailureStatus, "%s: the mesh has no cells (%d x %d x %d)", arguments.meshName,
             mesh.easting.cellCount, mesh.northing.cellCount, mesh.elevation.cellCount);
  }
  GridFlips flips;
  if (arguments.output == OutputKind::Grid && !gridFlipsOf(mesh, flips, error)) {
    failView(kFailureStatus, "%s: %s", arguments.meshName, error.c_str());
  }
  int32_t sliceIndex = 0;
  if (arguments.output == OutputKind::Picture &&
      !sliceCellIndex(mesh, arguments.slice, sliceIndex, error)) {
    failView(kUsageStatus, "--slice: %s", error.c_str());
  }
  if (arguments.output == OutputKind::Picture &&
      !pictureRangesShowTheMesh(mesh, arguments, error)) {
    failView(kUsageStatus, "%s", error.c_str());
  }

  const ModelValues model = readModel(arguments.modelName, mesh);
  if (arguments.output == OutputKind::Grid) {
    writeRectilinearGrid(output, mesh, flips, model.values.get());
  } else {
    writeSlicePicture(output, mesh, model, arguments.slice.axis, sliceIndex, arguments);
  }
  commitOutputFile(output);
  endProgram(0);
}
