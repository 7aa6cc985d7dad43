#include "runtime/diagnostics/stack_listing.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string_view>

#include "runtime/platform/system_calls.h"

namespace {

constexpr int kMaxFrames = 256;
constexpr size_t kTrailerRoom = sizeof kListingOverflow > sizeof kListingTerminated
                                    ? sizeof kListingOverflow
                                    : sizeof kListingTerminated;
constexpr std::string_view kUnknown = "Unknown";

std::mutex listingLock;
std::atomic<bool> listingInProgress{false};

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
                  bool signalSafe) {
  bool overflow = buffer.length + kTrailerRoom > buffer.capacity;
  size_t capacity = overflow ? buffer.length : buffer.capacity - kTrailerRoom;
  for (int i = 0; i < count && !overflow; ++i) {
    FrameNames names;
    systemCalls().nameFrame(addresses[i], &names, signalSafe);
    FrameText frame;
    if (names.image[0] != '\0') frame.image = names.image;
    if (names.routine[0] != '\0') frame.routine = names.routine;
    frame.pc = names.pc;

    char lineStorage[1024];
    TextBuffer line{lineStorage, sizeof lineStorage, 0, false};
    if (verbose) {
      appendVerboseFrame(line, i + 1, frame, addresses[i],
                         i + 1 < count ? addresses[i + 1] : nullptr);
    } else {
      appendFrameLine(line, frame);
    }
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

// The heading and the frames of a walk of `count` return addresses, the first of them the
// listing function's own, which is left out.
void appendWalk(TextBuffer& buffer, void* const* addresses, int count, bool cut, bool verbose,
                bool signalSafe) {
  appendHeading(buffer, verbose);
  appendFrames(buffer, addresses + 1, count > 0 ? count - 1 : 0, cut, verbose, signalSafe);
}

}  // namespace

void prepareStackListing() {
  systemCalls().prepareStackWalk();
}

void appendCallStackListing(TextBuffer& buffer, bool verbose) {
  if (listingInProgress.load()) return;
  std::lock_guard<std::mutex> guard(listingLock);
  listingInProgress.store(true);
  void* addresses[kMaxFrames];
  bool cut = false;
  const int count = systemCalls().walkStack(addresses, kMaxFrames, &cut, false);
  appendWalk(buffer, addresses, count, cut, verbose, false);
  listingInProgress.store(false);
}

void appendSignalSafeListing(TextBuffer& buffer) {
  if (listingInProgress.exchange(true)) return;
  void* addresses[kMaxFrames];
  bool cut = false;
  const int count = systemCalls().walkStack(addresses, kMaxFrames, &cut, true);
  appendWalk(buffer, addresses, count, cut, false, true);
  listingInProgress.store(false);
}
