#include "view/output_file.h"

#include "companion/system_files.h"
#include "companion/write_all.h"
#include "view/split_path.h"
#include "view/view_failure.h"

OutputFile createOutputFile(const char* finalPath) {
  OutputFile file;
  file.finalPath = finalPath;
  if (isFolder(finalPath)) failView(kFailureStatus, "%s: is a folder", finalPath);
  // Replacing the file takes only a writable folder; a file its owner made read-only is
  // refused, as boxpaint refuses to write such a model file.
  if (const int refusal = replaceRefusal(finalPath); refusal != 0) {
    failView(kFailureStatus, "%s: cannot replace the file: %s", finalPath,
             errorText(refusal).c_str());
  }
  const PathParts parts = splitPath(finalPath);
  file.tempPath = std::string(parts.folder) + "." + std::string(parts.base) + ".XXXXXX";
  int error = 0;
  file.fd = createUniqueFile(file.tempPath, error);
  if (file.fd < 0) {
    failView(kFailureStatus, "%s: cannot create the file: %s", finalPath, errorText(error).c_str());
  }
  setUnfinishedOutput(file.tempPath.c_str());
  return file;
}

void writeOutput(OutputFile& file, const void* data, size_t length) {
  if (const int error = writeAll(file.fd, data, length); error != 0) {
    failView(kFailureStatus, "%s: cannot write: %s", file.finalPath.c_str(),
             errorText(error).c_str());
  }
}

void commitOutputFile(OutputFile& file) {
  // The temporary file is private; a finished output gets what any new file gets.
  int error = closeNewFile(file.fd);
  file.fd = -1;
  if (error == 0) error = renameFile(file.tempPath.c_str(), file.finalPath.c_str());
  if (error != 0) {
    failView(kFailureStatus, "%s: cannot write: %s", file.finalPath.c_str(),
             errorText(error).c_str());
  }
  setUnfinishedOutput(nullptr);
}
