#include "check/report/report_sink.h"

namespace {

constexpr size_t kFlushBytes = 1 << 16;

}  // namespace

bool flushSink(ReportSink& sink, bool all) {
  if (sink.file == kNoFile || (!all && sink.text.size() < kFlushBytes)) return sink.error == 0;
  if (sink.error == 0) sink.error = writeWhole(sink.file, sink.text.data(), sink.text.size());
  sink.text.clear();
  return sink.error == 0;
}
