#include "support/call_faults.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "runtime/platform/join_command_line.h"
#include "runtime/process/finish_run.h"

namespace {

constexpr const char* kKinds[] = {"write", "read", "close", "ftruncate", "open", "alloc", "rename"};
enum Kind { kWrite, kRead, kClose, kCut, kOpen, kAlloc, kRename, kKindCount };

struct NamedError {
  const char* name;
  ErrorName error;
};

constexpr NamedError kErrors[] = {
    {"Interrupted", ErrorName::Interrupted},
    {"WouldBlock", ErrorName::WouldBlock},
    {"Io", ErrorName::Io},
    {"DiskFull", ErrorName::DiskFull},
    {"FileTooLarge", ErrorName::FileTooLarge},
    {"BrokenPipe", ErrorName::BrokenPipe},
    {"NotFound", ErrorName::NotFound},
    {"AccessDenied", ErrorName::AccessDenied},
    {"NoSuchDevice", ErrorName::NoSuchDevice},
    {"NameTooLong", ErrorName::NameTooLong},
    {"TooManyFiles", ErrorName::TooManyFiles},
    {"NoMemory", ErrorName::NoMemory},
};

enum class Action { None, Fail, Short };

// After a "fillsUp" fault: the file that filled up, which takes no more writes.
std::atomic<FileHandle> filledUp{kNoFile};

// The plan and what the wrappers saw; the wrappers run on any thread of the run.
SystemCalls real;
std::atomic<bool> armed{false};
std::atomic<long> counts[kKindCount];
int planKind = -1;
long planCall = 0;
Action planAction = Action::None;
SystemError planError = 0;
std::string planActionName;
FileHandle standardOutput = kNoFile;
FileHandle standardError = kNoFile;
std::map<std::string, std::string> variables;

// Set while the wrappers keep their own books, whose allocations are not the run's.
thread_local bool bookkeeping = false;

// Marks the wrappers' own work for its scope.
struct Bookkeeping {
  Bookkeeping() { bookkeeping = true; }
  ~Bookkeeping() { bookkeeping = false; }
};

std::mutex seenLock;
std::map<FileHandle, std::string> names;  // under seenLock
InjectorReport seen;                      // under seenLock: the faulted call

std::string nameOf(FileHandle file) {
  if (file == standardOutput) return "stdout";
  if (file == standardError) return "stderr";
  const auto found = names.find(file);
  return found != names.end() ? found->second : "";
}

// Counts one call of `kind` on `file` (or `path`) and says what to do with it.
Action countCall(int kind, FileHandle file, const char* path) {
  if (!armed.load() || bookkeeping) return Action::None;
  const long n = ++counts[kind];
  if (kind == planKind && n > planCall && file != kNoFile && file == filledUp.load()) {
    return Action::Fail;
  }
  if (kind != planKind || n != planCall) return Action::None;
  if (planActionName == "fillsUp") filledUp.store(file);
  Bookkeeping own;
  std::lock_guard<std::mutex> guard(seenLock);
  seen.faulted = true;
  seen.kind = kKinds[kind];
  seen.call = n;
  seen.action = planActionName == "Interrupted" ? "EINTR" : planActionName;
  seen.fd = file == standardOutput ? 1 : -1;
  seen.target = path != nullptr ? path : nameOf(file);
  if (kind == kOpen && planAction == Action::Fail) seen.openNumber = openRefusalMessage(planError);
  return planAction;
}

void remember(FileHandle file, const char* path) {
  if (file == kNoFile) return;
  Bookkeeping own;
  std::lock_guard<std::mutex> guard(seenLock);
  names[file] = path;
}

FileHandle openFile(const char* path, OpenIntent intent, SystemError* error) {
  if (countCall(kOpen, kNoFile, path) == Action::Fail) {
    *error = planError;
    return kNoFile;
  }
  const FileHandle file = real.openFile(path, intent, error);
  remember(file, path);
  return file;
}

FileHandle openNullDevice(OpenIntent intent, SystemError* error) {
  if (countCall(kOpen, kNoFile, "NUL") == Action::Fail) {
    *error = planError;
    return kNoFile;
  }
  const FileHandle file = real.openNullDevice(intent, error);
  remember(file, "NUL");
  return file;
}

int64_t readFile(FileHandle file, void* bytes, size_t count, SystemError* error) {
  switch (countCall(kRead, file, nullptr)) {
    case Action::Fail:
      *error = planError;
      return -1;
    case Action::Short:
      return real.readFile(file, bytes, count > 1 ? count / 2 : count, error);
    case Action::None:
      break;
  }
  return real.readFile(file, bytes, count, error);
}

int64_t writeFile(FileHandle file, const void* bytes, size_t count, SystemError* error) {
  switch (countCall(kWrite, file, nullptr)) {
    case Action::Fail:
      *error = planError;
      return -1;
    case Action::Short:
      return real.writeFile(file, bytes, count > 1 ? count / 2 : count, error);
    case Action::None:
      break;
  }
  return real.writeFile(file, bytes, count, error);
}

int64_t writeFileAt(FileHandle file, const void* bytes, size_t count, uint64_t offset,
                    SystemError* error) {
  switch (countCall(kWrite, file, nullptr)) {
    case Action::Fail:
      *error = planError;
      return -1;
    case Action::Short:
      return real.writeFileAt(file, bytes, count > 1 ? count / 2 : count, offset, error);
    case Action::None:
      break;
  }
  return real.writeFileAt(file, bytes, count, offset, error);
}

bool cutFile(FileHandle file, uint64_t length, SystemError* error) {
  if (countCall(kCut, file, nullptr) == Action::Fail) {
    *error = planError;
    return false;
  }
  return real.cutFile(file, length, error);
}

bool closeFile(FileHandle file, SystemError* error) {
  const Action action = countCall(kClose, file, nullptr);
  // A failing close still lets go of the handle, as the system's does.
  const bool closed = real.closeFile(file, error);
  {
    Bookkeeping own;
    std::lock_guard<std::mutex> guard(seenLock);
    names.erase(file);
  }
  if (action != Action::Fail) return closed;
  *error = planError;
  return false;
}

bool renameFile(const char* from, const char* to, SystemError* error) {
  if (countCall(kRename, kNoFile, to) == Action::Fail) {
    *error = planError;
    return false;
  }
  return real.renameFile(from, to, error);
}

void* allocate(size_t bytes) {
  return countCall(kAlloc, kNoFile, nullptr) == Action::Fail ? nullptr : real.allocate(bytes);
}

void* allocateZeroed(size_t bytes) {
  return countCall(kAlloc, kNoFile, nullptr) == Action::Fail ? nullptr : real.allocateZeroed(bytes);
}

FileHandle standardStream(StandardStream stream) {
  if (stream == StandardStream::Output) return standardOutput;
  if (stream == StandardStream::Error) return standardError;
  return real.standardStream(stream);
}

// The run's arguments as given, on every system: where the system keeps the process's
// own command line (Windows), the run in-process would otherwise see the test program's.
const char* commandLine(int argc, const char* const* argv) {
  static std::string line;
  line = joinCommandLine(std::vector<std::string>(argv, argv + argc));
  return line.c_str();
}

const char* environmentValue(const char* name) {
  const auto found = variables.find(name);
  return found != variables.end() ? found->second.c_str() : nullptr;
}

// `operator new` counts as an allocation while the wrappers are armed.
void* newMemory(size_t bytes, bool nothrow) {
  if (countCall(kAlloc, kNoFile, nullptr) != Action::Fail) {
    if (void* memory = std::malloc(bytes == 0 ? 1 : bytes)) return memory;
  }
  if (nothrow) return nullptr;
  // As the real one does: the new handler of the run ends it with message 41.
  if (std::new_handler handler = std::get_new_handler()) handler();
  throw std::bad_alloc();
}

}  // namespace

void keepThreadOutOfCount() {
  bookkeeping = true;
}

const char* const kErrorActionNames[] = {"Interrupted",  "Io",           "DiskFull",
                                         "NotFound",     "AccessDenied", "TooManyFiles",
                                         "NoSuchDevice", "NameTooLong",  nullptr};

std::vector<std::string> openFaultActions() {
  std::vector<std::string> actions;
  for (const char* const* name = kErrorActionNames; *name != nullptr; ++name) {
    actions.push_back(*name);
  }
  return actions;
}

void refuseMemoryAsTheProgramsDo() {
  endRunForFailure(failureOf(Message::OutOfMemory));
}

CallFaults::CallFaults(const CallFaultPlan& plan, FileHandle output, FileHandle error,
                       const std::map<std::string, std::string>& environment) {
  real = systemCalls();
  for (auto& count : counts) count.store(0);
  seen = InjectorReport{};
  names.clear();
  planKind = -1;
  for (int k = 0; k < kKindCount; ++k) {
    if (plan.kind == kKinds[k]) planKind = k;
  }
  planCall = plan.call;
  planActionName = plan.action;
  planAction = plan.action == "short" || plan.action == "fillsUp" ? Action::Short : Action::Fail;
  filledUp.store(kNoFile);
  planError = systemError(plan.action == "fillsUp" ? ErrorName::DiskFull : ErrorName::Io);
  for (const NamedError& named : kErrors) {
    if (plan.action == named.name) planError = systemError(named.error);
  }
  standardOutput = output;
  standardError = error;
  variables = environment;
  SystemCalls& table = systemCalls();
  table.openFile = openFile;
  table.openNullDevice = openNullDevice;
  table.readFile = readFile;
  table.writeFile = writeFile;
  table.writeFileAt = writeFileAt;
  table.cutFile = cutFile;
  table.closeFile = closeFile;
  table.renameFile = renameFile;
  table.allocate = allocate;
  table.allocateZeroed = allocateZeroed;
  table.standardStream = standardStream;
  table.environmentValue = environmentValue;
  table.commandLine = commandLine;
}

void CallFaults::arm() {
  armed.store(true);
}

CallFaults::~CallFaults() {
  armed.store(false);
  systemCalls() = real;
}

InjectorReport CallFaults::report() const {
  // Making the report allocates: nothing more is counted.
  armed.store(false);
  std::lock_guard<std::mutex> guard(seenLock);
  InjectorReport report = seen;
  for (int k = 0; k < kKindCount; ++k) report.calls[kKinds[k]] = counts[k].load();
  return report;
}

// The program's allocations, counted and faulted like the run-time's own.
void* operator new(size_t bytes) {
  return newMemory(bytes, false);
}

void* operator new[](size_t bytes) {
  return newMemory(bytes, false);
}

void* operator new(size_t bytes, const std::nothrow_t&) noexcept {
  return newMemory(bytes, true);
}

void* operator new[](size_t bytes, const std::nothrow_t&) noexcept {
  return newMemory(bytes, true);
}

void operator delete(void* memory) noexcept {
  std::free(memory);
}

void operator delete[](void* memory) noexcept {
  std::free(memory);
}

void operator delete(void* memory, size_t) noexcept {
  std::free(memory);
}

void operator delete[](void* memory, size_t) noexcept {
  std::free(memory);
}
