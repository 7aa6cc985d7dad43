#include "model_files/output_file.h"

#include "companion/companion_events.h"
#include "companion/exit_status.h"
#include "companion/system_files.h"
#include "model_files/split_path.h"
#include "model_files/view_failure.h"

OutputFile::~OutputFile() {
  if (handle != kNoFile) closeFile(handle);
  if (!tempPath.empty()) {
    removeFile(tempPath.c_str());
    setUnfinishedOutput(nullptr);
  }
}

CompanionFailure createOutputFile(const char* finalPath, OutputFile& file) {
  file.finalPath = finalPath;
  if (CompanionFailure device = deviceRefusal(finalPath, false)) return device;
  if (isFolder(finalPath)) return formattedFailure(kFailureStatus, "%s: is a folder", finalPath);
  // Replacing the file takes only a writable folder; a file its owner made read-only is
  // refused, as boxpaint refuses to write such a model file.
  if (const SystemError refusal = replaceRefusal(finalPath); refusal != 0) {
    return formattedFailure(kFailureStatus, "%s: cannot replace the file: %s", finalPath,
                            errorText(refusal).c_str());
  }
  const PathParts parts = splitPath(finalPath);
  std::string name = std::string(parts.folder) + "." + std::string(parts.base) + ".XXXXXX";
  SystemError error = 0;
  file.handle = createUniqueFile(name, error);
  if (file.handle == kNoFile) {
    return formattedFailure(kFailureStatus, "%s: cannot create the file: %s", finalPath,
                            errorText(error).c_str());
  }
  // Known to the end of the run before anything more can fail.
  setUnfinishedOutput(name.c_str());
  file.tempPath = std::move(name);
  return {};
}

bool writeOutput(OutputFile& file, const void* data, size_t length) {
  if (file.error == 0) file.error = writeWhole(file.handle, data, length);
  return file.error == 0;
}

CompanionFailure outputWriteFailure(const OutputFile& file) {
  return formattedFailure(kFailureStatus, "%s: cannot write: %s", file.finalPath.c_str(),
                          errorText(file.error).c_str());
}

CompanionFailure commitOutputFile(OutputFile& file) {
  const SystemError closing = closeFile(file.handle);
  file.handle = kNoFile;
  if (file.error == 0) file.error = closing;
  if (file.error == 0) file.error = renameFile(file.tempPath.c_str(), file.finalPath.c_str());
  if (file.error != 0) return outputWriteFailure(file);
  file.tempPath.clear();
  setUnfinishedOutput(nullptr);
  return {};
}
