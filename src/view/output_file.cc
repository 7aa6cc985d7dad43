#include "view/output_file.h"

#include "companion/system_files.h"
#include "view/split_path.h"
#include "view/view_failure.h"

OutputFile createOutputFile(const char* finalPath) {
  OutputFile file;
  file.finalPath = finalPath;
  if (isFolder(finalPath)) failView(kFailureStatus, "%s: is a folder", finalPath);
  // Replacing the file takes only a writable folder; a file its owner made read-only is
  // refused, as boxpaint refuses to write such a model file.
  if (const SystemError refusal = replaceRefusal(finalPath); refusal != 0) {
    failView(kFailureStatus, "%s: cannot replace the file: %s", finalPath,
             errorText(refusal).c_str());
  }
  const PathParts parts = splitPath(finalPath);
  file.tempPath = std::string(parts.folder) + "." + std::string(parts.base) + ".XXXXXX";
  SystemError error = 0;
  file.handle = createUniqueFile(file.tempPath, error);
  if (file.handle == kNoFile) {
    failView(kFailureStatus, "%s: cannot create the file: %s", finalPath, errorText(error).c_str());
  }
  setUnfinishedOutput(file.tempPath.c_str());
  return file;
}

void writeOutput(OutputFile& file, const void* data, size_t length) {
  if (const SystemError error = writeWhole(file.handle, data, length); error != 0) {
    failView(kFailureStatus, "%s: cannot write: %s", file.finalPath.c_str(),
             errorText(error).c_str());
  }
}

void commitOutputFile(OutputFile& file) {
  SystemError error = closeFile(file.handle);
  file.handle = kNoFile;
  if (error == 0) error = renameFile(file.tempPath.c_str(), file.finalPath.c_str());
  if (error != 0) {
    failView(kFailureStatus, "%s: cannot write: %s", file.finalPath.c_str(),
             errorText(error).c_str());
  }
  setUnfinishedOutput(nullptr);
}
