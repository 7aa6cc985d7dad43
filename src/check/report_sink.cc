#include "check/report_sink.h"

#include <unistd.h>

#include <cerrno>

namespace {

constexpr size_t kFlushBytes = 1 << 16;

}  // namespace

bool flushSink(ReportSink& sink, bool all) {
  if (!all && sink.text.size() < kFlushBytes) return sink.error == 0;
  const char* data = sink.text.data();
  size_t left = sink.text.size();
  while (left > 0 && sink.error == 0) {
    const ssize_t n = write(sink.fd, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      sink.error = n < 0 ? errno : EIO;
      break;
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  sink.text.clear();
  return sink.error == 0;
}
