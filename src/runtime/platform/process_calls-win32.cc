// The environment, the command line, time, threads, events and the end of the process on
// Windows.
#include <windows.h>

#include <cstdlib>

#include "runtime/platform/console_control.h"
#include "runtime/platform/fill_system_calls.h"

namespace {

// Stack of the threads started here: the writer thread needs little, and console events
// come on a thread of the system's own.
constexpr SIZE_T kThreadStackBytes = 256 * 1024;

// Stack kept in reserve on the main thread for reporting its own overflow: the message,
// the walk of the stack and the hand-over of the records run on it.
constexpr ULONG kOverflowReserveBytes = 128 * 1024;

const char* environmentValue(const char* name) {
  return std::getenv(name);
}

const char* commandLine(int, const char* const*) {
  // The system keeps the line as the process was started, for the whole run.
  return GetCommandLineA();
}

int64_t monotonicNanoseconds() {
  static const int64_t ticksPerSecond = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<int64_t>(frequency.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const int64_t ticks = now.QuadPart;
  // Whole seconds and the rest apart, so that the product cannot overflow.
  return ticks / ticksPerSecond * 1000000000 + ticks % ticksPerSecond * 1000000000 / ticksPerSecond;
}

void sleepMilliseconds(int milliseconds) {
  Sleep(static_cast<DWORD>(milliseconds));
}

struct ThreadStart {
  void (*body)(void*);
  void* argument;
};

DWORD WINAPI runThread(LPVOID argument) {
  const ThreadStart start = *static_cast<ThreadStart*>(argument);
  std::free(argument);
  start.body(start.argument);
  return 0;
}

ThreadHandle startThread(void (*body)(void*), void* argument) {
  auto* start = static_cast<ThreadStart*>(std::malloc(sizeof(ThreadStart)));
  if (start == nullptr) return 0;
  *start = ThreadStart{body, argument};
  const HANDLE thread = CreateThread(nullptr, kThreadStackBytes, runThread, start,
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) {
    std::free(start);
    return 0;
  }
  return reinterpret_cast<ThreadHandle>(thread);
}

void joinThread(ThreadHandle thread) {
  const HANDLE handle = reinterpret_cast<HANDLE>(thread);
  WaitForSingleObject(handle, INFINITE);
  CloseHandle(handle);
}

uint64_t currentThread() {
  return GetCurrentThreadId();
}

// Events. Console events come on a thread that the system starts for each, where the
// handler may lock and wait; processor exceptions reach the unhandled-exception filter
// on the faulting thread. Windows has no terminating signals.

ProcessEventHandlers handlers;  // set once, before any handler is registered

BOOL WINAPI onConsoleControl(DWORD type) {
  return takeConsoleControl(type) ? TRUE : FALSE;
}

FaultKind faultKindOf(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
      return FaultKind::AccessViolation;
    case EXCEPTION_STACK_OVERFLOW:
      return FaultKind::StackOverflow;
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_IN_PAGE_ERROR:
      return FaultKind::BusError;
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
      return FaultKind::IllegalInstruction;
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return FaultKind::IntegerDivideByZero;
    case EXCEPTION_INT_OVERFLOW:
      return FaultKind::IntegerOverflow;
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
      return FaultKind::FloatDivideByZero;
    case EXCEPTION_FLT_OVERFLOW:
      return FaultKind::FloatOverflow;
    case EXCEPTION_FLT_UNDERFLOW:
      return FaultKind::FloatUnderflow;
    case EXCEPTION_FLT_INEXACT_RESULT:
      return FaultKind::FloatInexact;
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_STACK_CHECK:
      return FaultKind::FloatInvalid;
    case EXCEPTION_FLT_DENORMAL_OPERAND:
      return FaultKind::FloatDenormal;
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
      return FaultKind::SubscriptOutOfRange;
    case EXCEPTION_BREAKPOINT:
      return FaultKind::Breakpoint;
    case EXCEPTION_SINGLE_STEP:
      return FaultKind::SingleStep;
    default:
      return FaultKind::Unknown;
  }
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* pointers) {
  ProcessorFault fault;
  const DWORD code = pointers->ExceptionRecord->ExceptionCode;
  fault.kind = faultKindOf(code);
  fault.code = code;
  // The handler ends the process; were it to return, the system's own handling would.
  handlers.processorException(fault);
  return EXCEPTION_CONTINUE_SEARCH;
}

void watchProcessEvents(const ProcessEventHandlers& chosen) {
  handlers = chosen;
  if (handlers.processorException != nullptr) {
    ULONG reserve = kOverflowReserveBytes;
    SetThreadStackGuarantee(&reserve);
    SetUnhandledExceptionFilter(onUnhandledException);
  }
  // A process started with control-C ignored is not sent it: it stays ignored.
  if (handlers.consoleEvent != nullptr) SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

void suppressErrorDialogs() {
  // 0x8003: no dialog for critical errors, for faults and for files that cannot be
  // opened; failures surface as diagnostics and exit statuses only.
  static_assert((SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX) ==
                0x8003);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
}

[[noreturn]] void exitProcess(int status) {
  ExitProcess(static_cast<UINT>(status));
}

[[noreturn]] void abortProcess() {
  std::abort();
}

[[noreturn]] void endBySignal(int signal) {
  // No signals end a process here; the status says which would have.
  ExitProcess(static_cast<UINT>(128 + signal));
}

}  // namespace

bool takeConsoleControl(unsigned long type) {
  ConsoleEvent event;
  switch (type) {
    case CTRL_C_EVENT:
      event = ConsoleEvent::Interrupt;
      break;
    case CTRL_BREAK_EVENT:
      event = ConsoleEvent::Break;
      break;
    case CTRL_CLOSE_EVENT:
      event = ConsoleEvent::Close;
      break;
    default:
      // Log-off and shut-down are left to the system and to other handlers.
      return false;
  }
  if (handlers.consoleEvent == nullptr) return false;
  handlers.consoleEvent(event);
  // The handler returns only when the run is already ending on another thread, which
  // ends the process; returning would let the system end it first, cutting that short.
  for (;;) Sleep(INFINITE);
}

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
