#include "boxpaint/boxpaint.h"

namespace boxpaint {

const char* version() {
  return BOXPAINT_VERSION;
}

}  // namespace boxpaint
