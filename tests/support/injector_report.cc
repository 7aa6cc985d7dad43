#include "support/injector_report.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#include "support/run_boxpaint.h"

namespace {

// The message number for an open refused with the errno named `error`.
int openRefusalNumber(const std::string& error) {
  struct Row {
    int error;
    int number;
  };
  constexpr Row kRows[] = {
      {ENOENT, 29}, {ENOTDIR, 29}, {EACCES, 9},  {EPERM, 9},         {EROFS, 9},   {EISDIR, 9},
      {ENXIO, 42},  {ENODEV, 42},  {EEXIST, 10}, {ENAMETOOLONG, 43}, {EINVAL, 43},
  };
  for (const Row& row : kRows) {
    if (error == strerrorname_np(row.error)) return row.number;
  }
  return 30;
}

}  // namespace

InjectorReport readInjectorReport(const std::string& path) {
  InjectorReport report;
  std::istringstream lines(readFile(path));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "calls") {
      std::string kind;
      for (long count; words >> kind >> count;) report.calls[kind] = count;
    } else if (first == "fault") {
      report.faulted = true;
      words >> report.kind >> report.call >> report.action >> report.fd;
      words.get();  // the blank before the target, which may hold blanks itself
      std::getline(words, report.target);
      if (report.kind == "open") report.openNumber = openRefusalNumber(report.action);
    }
  }
  return report;
}

const char* faultInjectorPath() {
  return BOXPAINT_FAULT_INJECTOR;
}

const char* whyNoInjector() {
#if defined(__SANITIZE_ADDRESS__)
  return "a sanitizer refuses a preloaded allocator";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return "a sanitizer refuses a preloaded allocator";
#endif
#endif
  if (runsUnderWrapper()) return "the wrapper command would take the preloaded library";
  return nullptr;
}
