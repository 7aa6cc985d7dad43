#include "runtime/process/processor_exceptions.h"

#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/diagnostics/diagnostic_output.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/diagnostics/stack_listing.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/ending/monotonic_clock.h"
#include "runtime/ending/run_end.h"
#include "runtime/records/output_channel_ring.h"

namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};

// The main thread's stack, for telling a stack overflow from other faults.
uintptr_t stackLow = 0;
uintptr_t stackHigh = 0;

char diagnosticText[kDiagnosticBufferBytes];

void findMainStack() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return;
  void* address = nullptr;
  size_t size = 0;
  if (pthread_attr_getstack(&attributes, &address, &size) == 0) {
    stackLow = reinterpret_cast<uintptr_t>(address);
    stackHigh = stackLow + size;
  }
  pthread_attr_destroy(&attributes);
}

bool inStackGuard(const void* faultAddress) {
  uintptr_t address = reinterpret_cast<uintptr_t>(faultAddress);
  constexpr uintptr_t kGuardReach = 1 << 20;  // guard pages and the red zone below them
  return stackLow != 0 && address < stackLow + 4096 && address + kGuardReach >= stackLow;
}

void onFault(int signal, siginfo_t* info, void*) {
  // Only the first thread to end the run does so; a fault while another thread is
  // already ending waits for it.
  if (!tryClaimRunEnd()) waitForRunEnd();
  Message message = processorExceptionMessage(signal, info->si_code, inStackGuard(info->si_addr));
  const int64_t deadline = monotonicNanoseconds() + kEndHandOverNanoseconds;
  const FailureHandler handler = failureHandler();
  const DiagnosticSwitches switches = readDiagnosticSwitches();
  if (handler == nullptr) {
    MessageArgument code[2];
    code[0].number = signal;
    code[1].number = signal;
    TextBuffer buffer{diagnosticText, sizeof diagnosticText, 0, false};
    formatMessageLine(buffer, message, code, 2);
    if (!switches.disableListing || switches.forceListing) appendSignalSafeListing(buffer);
    writeDiagnosticText(switches, buffer.data, buffer.length);
  }
  // Hand over exactly the complete records that have not reached their files; the
  // locks may be held by the faulting code, so none is taken.
  const Connection* refused = nullptr;
  for (int slot = 0; slot < kMaxConnections; ++slot) {
    Connection* connection = connectionInSlot(slot);
    if (connection != nullptr && connection->access == Access::Write &&
        !handOverForEnd(connection->output, deadline, true) && refused == nullptr) {
      refused = connection;
    }
  }
  if (handler != nullptr) {
    RunFailure failure;
    failure.number = failure.status = numberOf(message);
    failure.kind = FailureKind::ProcessorException;
    failure.reason = messageReason(message);
    handler(failure);
    endProcess(numberOf(message));
  }
  if (refused != nullptr) {
    // The records could not all be handed over: that failure ends the run.
    MessageArgument values[2];
    values[0].number = refused->unit;
    values[1].isText = true;
    values[1].text = refused->fileName;
    TextBuffer buffer{diagnosticText, sizeof diagnosticText, 0, false};
    message = Message::WriteError;
    formatMessageLine(buffer, message, values, 2);
    writeDiagnosticText(switches, buffer.data, buffer.length);
  }
  if (switches.dumpOnSevere) abortProcess();
  endProcess(numberOf(message));
}

}  // namespace

Message processorExceptionMessage(int signal, int code, bool stackGuard) {
  switch (signal) {
    case SIGSEGV:
      return stackGuard ? Message::StackOverflow : Message::AccessViolation;
    case SIGBUS:
      return Message::BusError;
    case SIGILL:
      return Message::IllegalInstruction;
    case SIGFPE:
      switch (code) {
        case FPE_INTDIV:
          return Message::IntegerDivideByZero;
        case FPE_INTOVF:
          return Message::IntegerOverflow;
        case FPE_FLTDIV:
          return Message::FloatDivideByZero;
        case FPE_FLTOVF:
          return Message::FloatOverflow;
        case FPE_FLTUND:
          return Message::FloatUnderflow;
        case FPE_FLTRES:
          return Message::FloatInexact;
        case FPE_FLTINV:
          return Message::FloatInvalid;
        case FPE_FLTSUB:
          return Message::SubscriptOutOfRange;
        default:
          return Message::UnknownException;
      }
    default:
      return Message::UnknownException;
  }
}

void installProcessorExceptionHandlers() {
  findMainStack();
  prepareStackListing();
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
