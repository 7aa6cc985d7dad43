// boxpaint: paints axis-aligned blocks into a rectilinear mesh and writes the model.
#include "app/run_driver.h"
#include "runtime/process/start_runtime.h"

int main(int argc, char** argv) {
  startRuntime(argc, argv);
  runDriver();
}
