// boxpaint-view: turns a mesh file and the model file boxpaint wrote for it into a VTK
// rectilinear grid or a picture of one slice.
#include "companion/end_program.h"
#include "model_files/view_failure.h"
#include "runtime/process/start_runtime.h"
#include "view/program/run_view.h"

int main(int argc, char** argv) {
  installViewFailureHook();
  startRuntime(argc, argv);
  endProgram(kViewProgram, runView(argc, argv));
}
