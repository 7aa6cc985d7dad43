#include "runtime/process/start_runtime.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/run_end.h"
#include "runtime/environment/command_line.h"
#include "runtime/environment/environment_switches.h"
#include "runtime/process/console_events.h"
#include "runtime/process/processor_exceptions.h"

namespace {

// A standard descriptor that the process was started without is held by a
// read-only /dev/null, so that no file the run opens can take its number: output
// meant for a closed standard output then fails as a write error instead of
// landing in the model file.
void occupyStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    int opened = open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}

// Memory refused to the run's own strings and lists (the arguments, the full path of
// each file it opens) ends the run with message 41, as for its arrays, instead of an
// uncaught exception that would end the process by SIGABRT.
void reportRefusedMemory() {
  reportSevere(Message::OutOfMemory);
}

}  // namespace

void startRuntime(int argc, const char* const* argv) {
  occupyStandardDescriptors();
  std::set_new_handler(reportRefusedMemory);
  setCommandLine(argc, argv);
  // Error dialogs do not exist here; the switch is read and has no effect.
  (void)switchIsTrue("FOR_NOERROR_DIALOGS");
  if (!switchIsTrue("FOR_IGNORE_EXCEPTIONS")) installProcessorExceptionHandlers();
  startConsoleEventThread();
}
