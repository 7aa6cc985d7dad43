#include "runtime/diagnostics/stack_listing.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <link.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string_view>

namespace {

constexpr int kMaxFrames = 256;
constexpr size_t kTrailerRoom = sizeof kListingOverflow > sizeof kListingTerminated
                                    ? sizeof kListingOverflow
                                    : sizeof kListingTerminated;
constexpr std::string_view kUnknown = "Unknown";

std::mutex listingLock;
std::atomic<bool> listingInProgress{false};

// Loaded modules, recorded at start-up for listings made inside fault handlers.
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
  size_t slash = name.rfind('/');
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

int recordModule(dl_phdr_info* info, size_t, void*) {
  int index = moduleCount.load();
  if (index >= kMaxModules) return 1;
  ModuleRange& module = modules[index];
  module.base = info->dlpi_addr;
  module.low = UINTPTR_MAX;
  module.high = 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD) continue;
    uintptr_t start = info->dlpi_addr + segment.p_vaddr;
    if (start < module.low) module.low = start;
    if (start + segment.p_memsz > module.high) module.high = start + segment.p_memsz;
  }
  std::string_view name = baseName(info->dlpi_name);
  if (name.empty() && index == 0) {
    // The main program has no name here; take it from the process.
    static char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
      self[n] = '\0';
      name = baseName(self);
    }
  }
  size_t length = name.size() < sizeof module.name - 1 ? name.size() : sizeof module.name - 1;
  std::memcpy(module.name, name.data(), length);
  module.name[length] = '\0';
  moduleCount.store(index + 1);
  return 0;
}

// One frame as the listing shows it.
struct FrameText {
  std::string_view image = kUnknown;
  uint32_t pc = 0;
  std::string_view routine = kUnknown;
};

void appendFrameLine(TextBuffer& buffer, const FrameText& frame) {
  appendField(buffer, frame.image, 17, 17, true);
  appendText(buffer, "  ");
  appendHex(buffer, frame.pc, 8, true);
  appendText(buffer, "  ");
  appendField(buffer, frame.routine, 17, 17, true);
  appendText(buffer, "  ");
  appendField(buffer, kUnknown, 10, 10, false);
  appendText(buffer, "  ");
  appendText(buffer, kUnknown);
  appendText(buffer, "\n");
}

void appendVerboseFrame(TextBuffer& buffer, int ordinal, const FrameText& frame, void* address,
                        void* returnAddress) {
  appendText(buffer, "--------- Frame # ");
  appendDecimal(buffer, ordinal);
  appendText(buffer, " ---------\nImage: ");
  appendText(buffer, frame.image);
  appendText(buffer, "\nPC: ");
  appendHex(buffer, frame.pc, 8, true);
  appendText(buffer, "\nRoutine name: ");
  appendText(buffer, frame.routine);
  appendText(buffer, "\nSource file: Unknown\nLine number: Unknown\n");
  appendText(buffer, "PC = 0x");
  appendHex(buffer, reinterpret_cast<uintptr_t>(address), 16, true);
  appendText(buffer, "  Return address = ");
  if (returnAddress != nullptr) {
    appendText(buffer, "0x");
    appendHex(buffer, reinterpret_cast<uintptr_t>(returnAddress), 16, true);
  } else {
    appendText(buffer, kUnknown);
  }
  appendText(buffer, "\nFrame address = Unknown  Stack address = Unknown\n");
  appendText(buffer, "Parameters: Unknown Unknown Unknown Unknown\n\n");
}

// Appends the frames of `addresses`, keeping room for the closing texts.
void appendFrames(TextBuffer& buffer, void* const* addresses, int count, bool walkCut, bool verbose,
                  bool symbolNames) {
  bool overflow = buffer.length + kTrailerRoom > buffer.capacity;
  size_t capacity = overflow ? buffer.length : buffer.capacity - kTrailerRoom;
  for (int i = 0; i < count && !overflow; ++i) {
    FrameText frame;
    char* demangled = nullptr;
    uintptr_t address = reinterpret_cast<uintptr_t>(addresses[i]);
    if (symbolNames) {
      Dl_info info;
      if (dladdr(addresses[i], &info) != 0) {
        if (!baseName(info.dli_fname).empty()) frame.image = baseName(info.dli_fname);
        address -= reinterpret_cast<uintptr_t>(info.dli_fbase);
        if (info.dli_sname != nullptr) {
          int status = 0;
          demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
          std::string_view routine(status == 0 && demangled != nullptr ? demangled
                                                                       : info.dli_sname);
          // Parameter lists would only push the name out of its column.
          routine = routine.substr(0, routine.find('('));
          if (!routine.empty()) frame.routine = routine;
        }
      }
    } else {
      int known = moduleCount.load();
      for (int m = 0; m < known; ++m) {
        if (address >= modules[m].low && address < modules[m].high) {
          if (modules[m].name[0] != '\0') frame.image = modules[m].name;
          address -= modules[m].base;
          break;
        }
      }
    }
    frame.pc = static_cast<uint32_t>(address);

    char lineStorage[1024];
    TextBuffer line{lineStorage, sizeof lineStorage, 0, false};
    if (verbose) {
      appendVerboseFrame(line, i + 1, frame, addresses[i],
                         i + 1 < count ? addresses[i + 1] : nullptr);
    } else {
      appendFrameLine(line, frame);
    }
    std::free(demangled);
    if (buffer.length + line.length > capacity) {
      overflow = true;
      break;
    }
    appendText(buffer, std::string_view(line.data, line.length));
  }
  if (overflow) {
    appendText(buffer, kListingOverflow);
  } else if (walkCut) {
    appendText(buffer, kListingTerminated);
  }
}

void appendHeading(TextBuffer& buffer, bool verbose) {
  if (verbose) {
    appendText(buffer, "\n\nTraceback symbolic or hex stack dump follows:\n\n");
    return;
  }
  appendField(buffer, "Image", 19, 19, true);
  appendField(buffer, "PC", 10, 10, true);
  appendField(buffer, "Routine", 19, 19, true);
  appendField(buffer, "Line", 12, 12, true);
  appendField(buffer, "Source", 19, 19, true);
  appendText(buffer, "\n");
}

}  // namespace

void prepareStackListing() {
  void* frames[4];
  backtrace(frames, 4);  // loads the unwinder now rather than inside a fault handler
  if (moduleCount.load() == 0) dl_iterate_phdr(recordModule, nullptr);
}

void appendCallStackListing(TextBuffer& buffer, bool verbose) {
  if (listingInProgress.load()) return;
  std::lock_guard<std::mutex> guard(listingLock);
  listingInProgress.store(true);
  void* addresses[kMaxFrames];
  int count = backtrace(addresses, kMaxFrames);
  appendHeading(buffer, verbose);
  // The first frame is this function itself.
  appendFrames(buffer, addresses + 1, count > 0 ? count - 1 : 0, count >= kMaxFrames, verbose,
               true);
  listingInProgress.store(false);
}

void appendSignalSafeListing(TextBuffer& buffer) {
  if (listingInProgress.exchange(true)) return;
  void* addresses[kMaxFrames];
  int count = backtrace(addresses, kMaxFrames);
  appendHeading(buffer, false);
  appendFrames(buffer, addresses + 1, count > 0 ? count - 1 : 0, count >= kMaxFrames, false, false);
  listingInProgress.store(false);
}
