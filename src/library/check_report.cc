// The check report made by boxpaint-check's own work, kept in memory.
#include <string>

#include "boxpaint/check.h"
#include "check/program/run_check.h"
#include "library/file_call_lock.h"
#include "library/library_failure.h"

namespace boxpaint {

Failure checkReport(const std::string& meshPath, const std::string& blockPath,
                    const std::string* modelPath, std::string& json) {
  for (const std::string* path : {&meshPath, &blockPath, modelPath}) {
    if (path == nullptr) continue;
    if (Failure failure = nameFailure(*path); failed(failure)) return failure;
    if (Failure failure = nameLengthFailure(*path); failed(failure)) return failure;
  }
  const FileCallLock lock;
  return failingOnMemory([&] {
    CheckRequest request;
    request.mesh = meshPath;
    request.blocks = blockPath;
    if (modelPath != nullptr) request.model = *modelPath;
    request.json = true;
    ReportSink sink;
    sink.file = kNoFile;  // the report kept whole in memory
    if (const CompanionFailure failure = checkFiles(request, sink))
      return companionFailure(failure);
    json = std::move(sink.text);
    return Failure{};
  });
}

}  // namespace boxpaint
