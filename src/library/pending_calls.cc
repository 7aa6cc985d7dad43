// The calls whose work boxpaint-view and boxpaint-check do, but not yet in a form that
// hands every failure back to its caller: each fails with kNotAvailable rather than risk
// ending the caller's process.
#include "boxpaint/boxpaint.h"
#include "library/library_failure.h"

namespace boxpaint {

Failure checkReport(const std::string&, const std::string&, const std::string*, std::string&) {
  return notAvailable("checkReport");
}

Failure writeRectilinearGrid(const std::string&, const Mesh&, std::span<const double>,
                             const std::string&) {
  return notAvailable("writeRectilinearGrid");
}

}  // namespace boxpaint
