#include "app/run_driver.h"

#include <cstring>

#include "app/build_model.h"
#include "app/console_texts.h"
#include "output/record_writer.h"
#include "runtime/environment/command_line.h"
#include "runtime/process/stop_run.h"

namespace {

[[noreturn]] void printAndStop(OutputLayout layout) {
  RecordWriter writer = consoleWriter();
  emit(writer, layout, {});
  stopRun();
}

}  // namespace

void runDriver() {
  int32_t count = argumentCount();
  if (count == 1) {
    char argument[kNameLength];
    getArgument(1, argument, kNameLength);
    // Only the first four characters count, case and all: -input asks for the sample too.
    if (std::memcmp(argument, "-inp", 4) == 0) printAndStop(sampleLayout);
  }
  if (count != 3) printAndStop(usageLayout);
  char meshName[kNameLength];
  char blockName[kNameLength];
  char modelName[kNameLength];
  getArgument(1, meshName, kNameLength);
  getArgument(2, blockName, kNameLength);
  getArgument(3, modelName, kNameLength);
  buildModel(meshName, blockName, modelName);
}
