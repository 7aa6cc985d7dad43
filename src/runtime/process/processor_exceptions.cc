#include "runtime/process/processor_exceptions.h"

#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/diagnostics/diagnostic_output.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/diagnostics/stack_listing.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/ending/run_end.h"
#include "runtime/records/output_channel_ring.h"

namespace {

char diagnosticText[kDiagnosticBufferBytes];

}  // namespace

void onProcessorException(const ProcessorFault& fault) {
  // Only the first thread to end the run does so; a fault while another thread is
  // already ending waits for it.
  if (!tryClaimRunEnd()) waitForRunEnd();
  Message message = processorExceptionMessage(fault.kind);
  const int64_t deadline = systemCalls().monotonicNanoseconds() + kEndHandOverNanoseconds;
  const FailureHandler handler = failureHandler();
  const DiagnosticSwitches switches = readDiagnosticSwitches();
  if (handler == nullptr) {
    MessageArgument code[2];
    code[0].number = fault.code;
    code[1].number = fault.code;
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

Message processorExceptionMessage(FaultKind kind) {
  switch (kind) {
    case FaultKind::AccessViolation:
      return Message::AccessViolation;
    case FaultKind::StackOverflow:
      return Message::StackOverflow;
    case FaultKind::BusError:
      return Message::BusError;
    case FaultKind::IllegalInstruction:
      return Message::IllegalInstruction;
    case FaultKind::IntegerDivideByZero:
      return Message::IntegerDivideByZero;
    case FaultKind::IntegerOverflow:
      return Message::IntegerOverflow;
    case FaultKind::FloatDivideByZero:
      return Message::FloatDivideByZero;
    case FaultKind::FloatOverflow:
      return Message::FloatOverflow;
    case FaultKind::FloatUnderflow:
      return Message::FloatUnderflow;
    case FaultKind::FloatInexact:
      return Message::FloatInexact;
    case FaultKind::FloatInvalid:
      return Message::FloatInvalid;
    case FaultKind::FloatDenormal:
      return Message::DenormalOperand;
    case FaultKind::SubscriptOutOfRange:
      return Message::SubscriptOutOfRange;
    case FaultKind::Breakpoint:
      return Message::Breakpoint;
    case FaultKind::SingleStep:
      return Message::SingleStep;
    case FaultKind::Unknown:
      break;
  }
  return Message::UnknownException;
}
