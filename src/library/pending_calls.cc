// The calls that read files, or write them as boxpaint's programs do. Their failures
// still end the process in the internal libraries, so none of them is offered yet: each
// fails with kNotAvailable rather than risk ending the caller's process.
#include "boxpaint/boxpaint.h"
#include "library/library_failure.h"

namespace boxpaint {

Failure readMesh(const std::string&, Mesh&) {
  return notAvailable("readMesh");
}

Failure readBlocks(const std::string&, BlockFile&) {
  return notAvailable("readBlocks");
}

Failure readModel(const std::string&, const Mesh&, std::span<double>, const CallControl*) {
  return notAvailable("readModel");
}

Failure buildModel(const std::string&, const std::string&, const std::string&, const CallControl*) {
  return notAvailable("buildModel");
}

Failure checkReport(const std::string&, const std::string&, const std::string*, std::string&) {
  return notAvailable("checkReport");
}

Failure writeRectilinearGrid(const std::string&, const Mesh&, std::span<const double>,
                             const std::string&) {
  return notAvailable("writeRectilinearGrid");
}

}  // namespace boxpaint
