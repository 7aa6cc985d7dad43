#include "fault_plan.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

struct Named {
  const char* name;
  int value;
};

constexpr const char* kKindNames[kCallKinds] = {"write",     "read", "close",
                                                "ftruncate", "open", "alloc"};

constexpr Named kErrnos[] = {
    {"ENOSPC", ENOSPC}, {"EIO", EIO},         {"EACCES", EACCES}, {"ENOENT", ENOENT},
    {"EMFILE", EMFILE}, {"ENOMEM", ENOMEM},   {"EPERM", EPERM},   {"EROFS", EROFS},
    {"EISDIR", EISDIR}, {"ENOTDIR", ENOTDIR}, {"ENXIO", ENXIO},   {"ENODEV", ENODEV},
    {"EEXIST", EEXIST}, {"EINVAL", EINVAL},   {"ENFILE", ENFILE}, {"ETXTBSY", ETXTBSY},
    {"EBUSY", EBUSY},   {"ELOOP", ELOOP},     {"EFBIG", EFBIG},   {"EPIPE", EPIPE},
    {"EDQUOT", EDQUOT}, {"EINTR", EINTR},     {"EAGAIN", EAGAIN}, {"ENAMETOOLONG", ENAMETOOLONG},
};

constexpr Named kSignals[] = {
    {"SIGSEGV", SIGSEGV}, {"SIGBUS", SIGBUS},   {"SIGILL", SIGILL},   {"SIGFPE", SIGFPE},
    {"SIGINT", SIGINT},   {"SIGQUIT", SIGQUIT}, {"SIGHUP", SIGHUP},   {"SIGTERM", SIGTERM},
    {"SIGKILL", SIGKILL}, {"SIGPIPE", SIGPIPE}, {"SIGXFSZ", SIGXFSZ},
};

// The plan, fixed before counting starts.
int planKind = -1;
long planCall = 0;
FaultAction planAction = FaultAction::None;
int planErrno = 0;
int planSignal = 0;
const char* planText = "";
const char* planActionText = "";
const char* reportPath = nullptr;

std::atomic<bool> counting{false};
std::atomic<long> calls[kCallKinds];
std::atomic<bool> finalReportWritten{false};

// The line that names the faulted call, built when it is made.
char faultLine[1024];
size_t faultLength = 0;

// Appends to a fixed buffer without allocating: the caller may be inside malloc.
struct Line {
  char* data;
  size_t capacity;
  size_t length = 0;
  void text(const char* s) {
    while (*s != '\0' && length + 1 < capacity) data[length++] = *s++;
  }
  void number(long long value) {
    char digits[24];
    int n = 0;
    unsigned long long v = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    do digits[n++] = static_cast<char>('0' + v % 10);
    while ((v /= 10) != 0);
    if (value < 0) text("-");
    while (n > 0 && length + 1 < capacity) data[length++] = digits[--n];
  }
};

// Ends the process with a word on standard error: the plan cannot be carried out.
[[noreturn]] void refusePlan(const char* why) {
  Line line{faultLine, sizeof faultLine};
  line.text("fault injector: ");
  line.text(why);
  line.text(": ");
  line.text(planText);
  line.text("\n");
  syscall(SYS_write, 2, faultLine, line.length);
  syscall(SYS_exit_group, 125);
  __builtin_unreachable();
}

int lookUp(const Named* table, size_t count, const char* name) {
  for (size_t i = 0; i < count; ++i) {
    if (std::strcmp(table[i].name, name) == 0) return table[i].value;
  }
  char* end = nullptr;
  long value = std::strtol(name, &end, 10);
  return end != name && *end == '\0' && value > 0 ? static_cast<int>(value) : 0;
}

// Reads "kind:N:action" with action an errno name, "short" or "signal=NAME".
void readPlan(const char* text) {
  planText = text;
  char kind[16] = {}, action[32] = {};
  const char* first = std::strchr(text, ':');
  const char* second = first != nullptr ? std::strchr(first + 1, ':') : nullptr;
  if (second == nullptr || first - text >= 16 || std::strlen(second + 1) >= 32) {
    refusePlan("expected kind:N:action");
  }
  std::memcpy(kind, text, first - text);
  std::strcpy(action, second + 1);
  planActionText = second + 1;
  for (int k = 0; k < kCallKinds; ++k) {
    if (std::strcmp(kKindNames[k], kind) == 0) planKind = k;
  }
  planCall = std::strtol(first + 1, nullptr, 10);
  if (planKind < 0 || planCall <= 0) refusePlan("unknown call kind or count");
  if (std::strcmp(action, "short") == 0) {
    planAction = FaultAction::Short;
  } else if (std::strncmp(action, "signal=", 7) == 0) {
    planAction = FaultAction::Signal;
    planSignal = lookUp(kSignals, std::size(kSignals), action + 7);
  } else {
    planAction = FaultAction::Fail;
    planErrno = lookUp(kErrnos, std::size(kErrnos), action);
  }
  if ((planAction == FaultAction::Signal && planSignal == 0) ||
      (planAction == FaultAction::Fail && planErrno == 0)) {
    refusePlan("unknown errno or signal");
  }
}

// Replaces the report file with `text`, by system calls that nothing counts.
void writeReport(const char* text, size_t length) {
  if (reportPath == nullptr) return;
  long fd =
      syscall(SYS_openat, AT_FDCWD, reportPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  while (length > 0) {
    long n = syscall(SYS_write, fd, text, length);
    if (n <= 0) break;
    text += n;
    length -= static_cast<size_t>(n);
  }
  syscall(SYS_close, fd);
}

// Describes the faulted call: "fault write 7 ENOSPC 4 /path/of/fd/4".
void noteFault(int fd, const char* path, size_t size) {
  Line line{faultLine, sizeof faultLine};
  line.text("fault ");
  line.text(kKindNames[planKind]);
  line.text(" ");
  line.number(planCall);
  line.text(" ");
  line.text(planActionText);
  line.text(" ");
  line.number(fd);
  line.text(" ");
  if (path != nullptr) {
    line.text(path);
  } else if (fd >= 0) {
    char link[32];
    Line name{link, sizeof link};
    name.text("/proc/self/fd/");
    name.number(fd);
    link[name.length] = '\0';
    char target[512];
    long n = syscall(SYS_readlinkat, AT_FDCWD, link, target, sizeof target - 1);
    target[n > 0 ? n : 0] = '\0';
    line.text(target);
  } else {
    line.text("size=");
    line.number(static_cast<long long>(size));
  }
  line.text("\n");
  faultLength = line.length;
}

}  // namespace

void startCounting() {
  const char* plan = std::getenv("BOXPAINT_FAULT");
  reportPath = std::getenv("BOXPAINT_FAULT_REPORT");
  if (plan != nullptr && *plan != '\0') readPlan(plan);
  counting.store(true);
}

FaultAction countCall(CallKind kind, int fd, const char* path, size_t size) {
  if (!counting.load(std::memory_order_relaxed)) return FaultAction::None;
  int k = static_cast<int>(kind);
  long call = calls[k].fetch_add(1, std::memory_order_relaxed) + 1;
  if (k != planKind || call != planCall) return FaultAction::None;
  noteFault(fd, path, size);
  // The report names the fault at once: a run that dies by a signal writes no other.
  // A signal is noted as it is sent, so that a reader of the report knows it is due.
  if (planAction != FaultAction::Signal) writeReport(faultLine, faultLength);
  return planAction;
}

int faultErrno() {
  return planErrno;
}

void raiseFaultSignal() {
  writeReport(faultLine, faultLength);
  kill(getpid(), planSignal);
}

void writeFinalReport() {
  if (!counting.load() || finalReportWritten.exchange(true)) return;
  char text[sizeof faultLine + 256];
  Line line{text, sizeof text};
  line.text("calls");
  for (int k = 0; k < kCallKinds; ++k) {
    line.text(" ");
    line.text(kKindNames[k]);
    line.text(" ");
    line.number(calls[k].load());
  }
  line.text("\n");
  std::memcpy(text + line.length, faultLine, faultLength);
  writeReport(text, line.length + faultLength);
}
