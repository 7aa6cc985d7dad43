#include "app/run_driver.h"

#include <cstring>

#include "app/build_model.h"
#include "app/console_texts.h"
#include "output/record_writer.h"
#include "runtime/connections/open_connection.h"
#include "runtime/environment/command_line.h"
#include "runtime/process/finish_run.h"
#include "runtime/process/stop_run.h"

namespace {

// Ends the run for a failure that reached the driver, or with the plain stop.
[[noreturn]] void endWith(const Failure& failure) {
  if (failure) endRunForFailure(failure);
  stopRun();
}

[[noreturn]] void printAndStop(OutputLayout layout) {
  RecordWriter writer = consoleWriter();
  emit(writer, layout, {});
  endWith(writer.failure);
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
  BuildStep step = BuildStep::Mesh;
  const Failure failure = buildModel(meshName, blockName, modelName, &step);
  // An input file that cannot be opened is the one failure the driver handles itself: it
  // says so on the console, and the run ends as a plain stop.
  if (failure && step != BuildStep::Model && isOpenRefusal(failure)) {
    endWith(reportMissingInput(step == BuildStep::Mesh ? meshName : blockName, kNameLength));
  }
  endWith(failure);
}
