// The environment, the command line, time, threads, events and the end of the process on
// a POSIX system.
#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/platform/fill_system_calls.h"
#include "runtime/platform/join_command_line.h"

namespace {

// Stack of the threads started here: the event thread formats a diagnostic on it.
constexpr size_t kThreadStackBytes = 256 * 1024;

const char* environmentValue(const char* name) {
  return std::getenv(name);
}

const char* commandLine(int argc, const char* const* argv) {
  // Kept for the life of the process: the run splits it once, at start-up.
  static std::string line;
  std::vector<std::string> elements;
  for (int i = 0; i < argc; ++i) elements.emplace_back(argv[i] != nullptr ? argv[i] : "");
  line = joinCommandLine(elements);
  return line.c_str();
}

int64_t monotonicNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

void sleepMilliseconds(int milliseconds) {
  timespec pause{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000};
  nanosleep(&pause, nullptr);
}

struct ThreadStart {
  void (*body)(void*);
  void* argument;
};

void* runThread(void* argument) {
  const ThreadStart start = *static_cast<ThreadStart*>(argument);
  std::free(argument);
  start.body(start.argument);
  return nullptr;
}

ThreadHandle startThread(void (*body)(void*), void* argument) {
  auto* start = static_cast<ThreadStart*>(std::malloc(sizeof(ThreadStart)));
  if (start == nullptr) return 0;
  *start = ThreadStart{body, argument};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kThreadStackBytes);
  pthread_t thread;
  const bool started = pthread_create(&thread, &attributes, runThread, start) == 0;
  pthread_attr_destroy(&attributes);
  if (!started) {
    std::free(start);
    return 0;
  }
  return static_cast<ThreadHandle>(thread);
}

void joinThread(ThreadHandle thread) {
  pthread_join(static_cast<pthread_t>(thread), nullptr);
}

uint64_t currentThread() {
  return static_cast<uint64_t>(syscall(SYS_gettid));
}

// Events. Console events and terminating signals are blocked in every thread and taken
// by one thread of their own with sigwait, where their handlers may lock and wait;
// processor exceptions are handled on the faulting thread, on an alternate stack.

ProcessEventHandlers handlers;  // set once, before the event thread starts
sigset_t watched;

struct ConsoleSignal {
  int signal;
  ConsoleEvent event;
};

// Control-C, control-BREAK and the closing of the terminal.
constexpr ConsoleSignal kConsoleSignals[] = {
    {SIGINT, ConsoleEvent::Interrupt},
    {SIGQUIT, ConsoleEvent::Break},
    {SIGHUP, ConsoleEvent::Close},
};

// Signals whose default action ends the process and that mean nothing else here, besides
// the real-time signals.
constexpr int kTerminatingSignals[] = {SIGTERM,   SIGABRT,   SIGALRM, SIGUSR1, SIGUSR2,
                                       SIGVTALRM, SIGPROF,   SIGXCPU, SIGSYS,  SIGTRAP,
                                       SIGPWR,    SIGSTKFLT, SIGIO};

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};

bool ignoredAtStart(int signal) {
  struct sigaction current;
  return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void watch(int signal) {
  // A signal ignored by whoever started the process stays ignored.
  if (!ignoredAtStart(signal)) sigaddset(&watched, signal);
}

void waitForEvents(void*) {
  for (;;) {
    int signal = 0;
    if (sigwait(&watched, &signal) != 0) continue;
    bool console = false;
    for (const ConsoleSignal& entry : kConsoleSignals) {
      if (entry.signal != signal) continue;
      console = true;
      if (handlers.consoleEvent != nullptr) handlers.consoleEvent(entry.event);
    }
    // A handler that returns leaves the event to an end already under way.
    if (!console && handlers.terminatingSignal != nullptr) handlers.terminatingSignal(signal);
  }
}

// The main thread's stack, for telling a stack overflow from other access violations.
uintptr_t stackLow = 0;

void findMainStack() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return;
  void* address = nullptr;
  size_t size = 0;
  if (pthread_attr_getstack(&attributes, &address, &size) == 0) {
    stackLow = reinterpret_cast<uintptr_t>(address);
  }
  pthread_attr_destroy(&attributes);
}

bool inStackGuard(const void* faultAddress) {
  const uintptr_t address = reinterpret_cast<uintptr_t>(faultAddress);
  constexpr uintptr_t kGuardReach = 1 << 20;  // guard pages and the red zone below them
  return stackLow != 0 && address < stackLow + 4096 && address + kGuardReach >= stackLow;
}

FaultKind floatFault(int code) {
  switch (code) {
    case FPE_INTDIV:
      return FaultKind::IntegerDivideByZero;
    case FPE_INTOVF:
      return FaultKind::IntegerOverflow;
    case FPE_FLTDIV:
      return FaultKind::FloatDivideByZero;
    case FPE_FLTOVF:
      return FaultKind::FloatOverflow;
    case FPE_FLTUND:
      return FaultKind::FloatUnderflow;
    case FPE_FLTRES:
      return FaultKind::FloatInexact;
    case FPE_FLTINV:
      return FaultKind::FloatInvalid;
    case FPE_FLTSUB:
      return FaultKind::SubscriptOutOfRange;
    default:
      return FaultKind::Unknown;
  }
}

void onFault(int signal, siginfo_t* info, void*) {
  ProcessorFault fault;
  fault.code = signal;
  switch (signal) {
    case SIGSEGV:
      fault.kind =
          inStackGuard(info->si_addr) ? FaultKind::StackOverflow : FaultKind::AccessViolation;
      break;
    case SIGBUS:
      fault.kind = FaultKind::BusError;
      break;
    case SIGILL:
      fault.kind = FaultKind::IllegalInstruction;
      break;
    case SIGFPE:
      fault.kind = floatFault(info->si_code);
      break;
    default:
      break;
  }
  // The handler ends the process. Were it to return, the fault would come again with its
  // default action, which ends the process too.
  handlers.processorException(fault);
}

void installFaultHandlers() {
  findMainStack();
  static char alternateStack[64 * 1024];
  stack_t stack{};
  stack.ss_sp = alternateStack;
  stack.ss_size = sizeof alternateStack;
  if (sigaltstack(&stack, nullptr) != 0) return;
  for (int signal : kFaultSignals) {
    struct sigaction action {};
    action.sa_sigaction = onFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

void watchProcessEvents(const ProcessEventHandlers& chosen) {
  handlers = chosen;
  if (handlers.processorException != nullptr) installFaultHandlers();
  sigemptyset(&watched);
  if (handlers.consoleEvent != nullptr) {
    for (const ConsoleSignal& entry : kConsoleSignals) watch(entry.signal);
  }
  if (handlers.terminatingSignal != nullptr) {
    for (int signal : kTerminatingSignals) watch(signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) watch(signal);
  }
  sigset_t blocked = watched;
  // A write to a closed pipe or beyond the file-size limit then fails with an error
  // number and is reported as a write error, rather than ending the process.
  sigaddset(&blocked, SIGPIPE);
  sigaddset(&blocked, SIGXFSZ);
  pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
  // Without the thread the events keep their default effect.
  if (startThread(waitForEvents, nullptr) == 0) pthread_sigmask(SIG_UNBLOCK, &watched, nullptr);
}

void suppressErrorDialogs() {
  // No system dialogs exist here.
}

[[noreturn]] void exitProcess(int status) {
  _exit(status);
}

// Restores the default action of `signal` and lets it through on this thread.
void restoreDefault(int signal) {
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigaction(signal, &standard, nullptr);
  sigset_t one;
  sigemptyset(&one);
  sigaddset(&one, signal);
  pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
}

[[noreturn]] void abortProcess() {
  restoreDefault(SIGABRT);
  abort();
}

[[noreturn]] void endBySignal(int signal) {
  restoreDefault(signal);
  raise(signal);
  _exit(128 + signal);  // not reached: the default action ends the process
}

}  // namespace

void fillProcessCalls(SystemCalls& table) {
  table.environmentValue = environmentValue;
  table.commandLine = commandLine;
  table.monotonicNanoseconds = monotonicNanoseconds;
  table.sleepMilliseconds = sleepMilliseconds;
  table.startThread = startThread;
  table.joinThread = joinThread;
  table.currentThread = currentThread;
  table.watchProcessEvents = watchProcessEvents;
  table.suppressErrorDialogs = suppressErrorDialogs;
  table.exitProcess = exitProcess;
  table.abortProcess = abortProcess;
  table.endBySignal = endBySignal;
}
