// Walking the call stack and naming its frames on a POSIX system with the GNU C library.
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <link.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "runtime/platform/fill_system_calls.h"

namespace {

// Loaded modules, recorded beforehand for frames named inside a fault handler.
struct ModuleRange {
  uintptr_t base;
  uintptr_t low;
  uintptr_t high;
  char name[64];
};
constexpr int kMaxModules = 64;
ModuleRange modules[kMaxModules];
std::atomic<int> moduleCount{0};

std::string_view baseName(const char* path) {
  if (path == nullptr || path[0] == '\0') return {};
  std::string_view name(path);
  const size_t slash = name.rfind('/');
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

// Copies `text` into `field` of `size` bytes, cut to fit, NUL-terminated.
void copyName(char* field, size_t size, std::string_view text) {
  const size_t length = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

int recordModule(dl_phdr_info* info, size_t, void*) {
  const int index = moduleCount.load();
  if (index >= kMaxModules) return 1;
  ModuleRange& module = modules[index];
  module.base = info->dlpi_addr;
  module.low = UINTPTR_MAX;
  module.high = 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD) continue;
    const uintptr_t start = info->dlpi_addr + segment.p_vaddr;
    if (start < module.low) module.low = start;
    if (start + segment.p_memsz > module.high) module.high = start + segment.p_memsz;
  }
  std::string_view name = baseName(info->dlpi_name);
  if (name.empty() && index == 0) {
    // The main program has no name here; take it from the process.
    static char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
      self[n] = '\0';
      name = baseName(self);
    }
  }
  copyName(module.name, sizeof module.name, name);
  moduleCount.store(index + 1);
  return 0;
}

void prepareStackWalk() {
  void* frames[4];
  backtrace(frames, 4);  // loads the unwinder now rather than inside a fault handler
  if (moduleCount.load() == 0) dl_iterate_phdr(recordModule, nullptr);
}

int walkStack(void** addresses, int capacity, bool* cut, bool) {
  // One more frame than asked for: the first is this function itself.
  constexpr int kMaxFrames = 257;
  void* frames[kMaxFrames];
  const int wanted = capacity + 1 < kMaxFrames ? capacity + 1 : kMaxFrames;
  const int count = backtrace(frames, wanted);
  *cut = count >= wanted;
  const int kept = count > 1 ? count - 1 : 0;
  for (int i = 0; i < kept; ++i) addresses[i] = frames[i + 1];
  return kept;
}

void nameFrame(void* address, FrameNames* names, bool signalSafe) {
  *names = FrameNames{};
  uintptr_t offset = reinterpret_cast<uintptr_t>(address);
  if (signalSafe) {
    const int known = moduleCount.load();
    for (int m = 0; m < known; ++m) {
      if (offset >= modules[m].low && offset < modules[m].high) {
        copyName(names->image, sizeof names->image, modules[m].name);
        offset -= modules[m].base;
        break;
      }
    }
    names->pc = static_cast<uint32_t>(offset);
    return;
  }
  Dl_info info;
  if (dladdr(address, &info) != 0) {
    copyName(names->image, sizeof names->image, baseName(info.dli_fname));
    offset -= reinterpret_cast<uintptr_t>(info.dli_fbase);
    if (info.dli_sname != nullptr) {
      int status = 0;
      char* demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
      std::string_view routine(status == 0 && demangled != nullptr ? demangled : info.dli_sname);
      // Parameter lists would only push the name out of its column.
      copyName(names->routine, sizeof names->routine, routine.substr(0, routine.find('(')));
      std::free(demangled);
    }
  }
  names->pc = static_cast<uint32_t>(offset);
}

}  // namespace

void fillStackCalls(SystemCalls& table) {
  table.prepareStackWalk = prepareStackWalk;
  table.walkStack = walkStack;
  table.nameFrame = nameFrame;
}
