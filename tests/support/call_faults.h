// In-process fault injection: the run-time's table of system calls is replaced entry by
// entry with wrappers that count every open, read, write, cut, close, rename and
// allocation (and every `operator new` of the program) and make the one the plan names
// fail or come up short. Standard output and standard error go to files of the test's, and the
// environment is a list of the test's. It needs no preloaded library, so it works on
// every platform.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "runtime/platform/system_calls.h"
#include "support/injector_report.h"

/// The call to fault: the `call`-th of `kind` ("write", "read", "close", "ftruncate",
/// "open", "alloc" or "rename"), with `action` "short", "fillsUp" (a write that comes up short, and
/// every later write to the same file fails as on a full disk) or the name of an ErrorName
/// ("DiskFull", "Interrupted", ...). An empty kind faults nothing and only counts.
struct CallFaultPlan {
  std::string kind;
  long call = 0;
  std::string action;
};

/// The actions of a sweep: each name an ErrorName, besides "short".
extern const char* const kErrorActionNames[];

/// The actions an open is swept with: every one of kErrorActionNames.
std::vector<std::string> openFaultActions();

/// A new handler for the runs of a sweep: memory refused to the run's own strings and
/// lists ends the run with message 41, as the real programs' handler does.
void refuseMemoryAsTheProgramsDo();

/// Makes every allocation of the calling thread the test's own, never counted: for a
/// thread that stands in for a reader at the far end of a pipe.
void keepThreadOutOfCount();

/// While it lives, every call of the table goes through the wrappers: standard output and
/// error reach `output` and `error`, and the environment holds only `environment`. They
/// count, and fault, from `arm` to `report`. One at a time.
class CallFaults {
 public:
  CallFaults(const CallFaultPlan& plan, FileHandle output, FileHandle error,
             const std::map<std::string, std::string>& environment);
  ~CallFaults();
  CallFaults(const CallFaults&) = delete;
  CallFaults& operator=(const CallFaults&) = delete;

  /// Starts counting: everything that allocates from here on is the run's.
  void arm();

  /// Stops counting and returns the calls counted, and the faulted one, in the words of
  /// the preloaded injector's report ("EINTR" for an interrupted call, the message number
  /// for an open).
  InjectorReport report() const;
};
