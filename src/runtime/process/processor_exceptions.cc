#include "runtime/process/processor_exceptions.h"

#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/process/finish_run.h"

void onProcessorException(const ProcessorFault& fault) {
  // Only the first thread to end the run does so; a fault while another thread is
  // already ending waits for it.
  if (!tryClaimRunEnd()) waitForRunEnd();
  const Message message = processorExceptionMessage(fault.kind);
  RunFailure failure;
  failure.number = failure.status = numberOf(message);
  failure.kind = FailureKind::ProcessorException;
  if (failureHandler() != nullptr) failure.reason = messageReason(message);
  Diagnostic notice;
  notice.message = message;
  notice.arguments[0].number = fault.code;
  notice.arguments[1].number = fault.code;
  notice.argumentCount = 2;
  finishRun(numberOf(message), RunEndKind::Severe, &notice, &failure, EndSetting::SignalHandler);
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
