// Walking the call stack and naming its frames on 64-bit Windows, with the debugging
// help library (dbghelp).
#include <windows.h>

#include <dbghelp.h>

#include <cstdint>
#include <cstring>
#include <mutex>
#include <string_view>

#include "runtime/platform/fill_system_calls.h"

namespace {

// The debugging help library serves one thread at a time.
std::mutex symbolLock;

// Takes the lock; inside a fault handler only when it is free, since the faulting
// thread may hold it.
bool lockSymbols(std::unique_lock<std::mutex>& guard, bool signalSafe) {
  if (signalSafe) return guard.try_lock();
  guard.lock();
  return true;
}

// Copies `text` into `field` of `size` bytes, cut to fit, NUL-terminated.
void copyName(char* field, size_t size, std::string_view text) {
  const size_t length = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

std::string_view baseName(const char* path) {
  std::string_view name(path);
  const size_t folder = name.find_last_of("\\/");
  return folder == std::string_view::npos ? name : name.substr(folder + 1);
}

void prepareStackWalk() {
  // The library is loaded with the program; nothing is needed beforehand.
}

// The unwinding data of the function holding `address`, found in its module's own
// tables, so that the walk needs no symbols loaded.
PVOID CALLBACK functionTableOf(HANDLE, DWORD64 address) {
  DWORD64 base = 0;
  return RtlLookupFunctionEntry(address, &base, nullptr);
}

DWORD64 CALLBACK moduleBaseOf(HANDLE, DWORD64 address) {
  DWORD64 base = 0;
  return RtlLookupFunctionEntry(address, &base, nullptr) != nullptr ? base : 0;
}

int walkStack(void** addresses, int capacity, bool* cut, bool signalSafe) {
  *cut = false;
  std::unique_lock<std::mutex> guard(symbolLock, std::defer_lock);
  if (!lockSymbols(guard, signalSafe)) {
    *cut = true;
    return 0;
  }
  const HANDLE process = GetCurrentProcess();
  const HANDLE thread = GetCurrentThread();
  CONTEXT context;
  RtlCaptureContext(&context);
  SymInitialize(process, nullptr, FALSE);
  STACKFRAME64 frame{};
  frame.AddrPC.Offset = context.Rip;
  frame.AddrPC.Mode = AddrModeFlat;
  frame.AddrFrame.Offset = context.Rbp;
  frame.AddrFrame.Mode = AddrModeFlat;
  frame.AddrStack.Offset = context.Rsp;
  frame.AddrStack.Mode = AddrModeFlat;
  // The first frame is this function itself, which the caller does not want.
  int count = -1;
  while (StackWalk64(IMAGE_FILE_MACHINE_AMD64, process, thread, &frame, &context, nullptr,
                     functionTableOf, moduleBaseOf, nullptr) &&
         frame.AddrPC.Offset != 0) {
    if (count >= capacity) {
      *cut = true;
      break;
    }
    if (count >= 0) addresses[count] = reinterpret_cast<void*>(frame.AddrPC.Offset);
    ++count;
  }
  SymCleanup(process);
  return count > 0 ? count : 0;
}

void nameFrame(void* address, FrameNames* names, bool signalSafe) {
  *names = FrameNames{};
  uintptr_t offset = reinterpret_cast<uintptr_t>(address);
  HMODULE module = nullptr;
  char path[MAX_PATH] = {};
  if (GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &module)) {
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length > 0 && length < sizeof path) {
      copyName(names->image, sizeof names->image, baseName(path));
    }
    offset -= reinterpret_cast<uintptr_t>(module);
  }
  names->pc = static_cast<uint32_t>(offset);
  if (signalSafe || module == nullptr) return;

  // Only the symbols of the frame's own module are loaded: loading every module's
  // takes seconds.
  std::unique_lock<std::mutex> guard(symbolLock);
  const HANDLE process = GetCurrentProcess();
  SymSetOptions(SymGetOptions() | SYMOPT_UNDNAME);
  if (!SymInitialize(process, nullptr, FALSE)) return;
  SymLoadModuleEx(process, nullptr, path, nullptr, reinterpret_cast<DWORD64>(module), 0, nullptr,
                  0);
  alignas(SYMBOL_INFO) char storage[sizeof(SYMBOL_INFO) + 256];
  auto* symbol = reinterpret_cast<SYMBOL_INFO*>(storage);
  std::memset(storage, 0, sizeof storage);
  symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
  symbol->MaxNameLen = 256 - 1;
  DWORD64 displacement = 0;
  if (SymFromAddr(process, reinterpret_cast<DWORD64>(address), &displacement, symbol)) {
    const std::string_view routine(symbol->Name);
    // Parameter lists would only push the name out of its column.
    copyName(names->routine, sizeof names->routine, routine.substr(0, routine.find('(')));
  }
  SymCleanup(process);
}

}  // namespace

void fillStackCalls(SystemCalls& table) {
  table.prepareStackWalk = prepareStackWalk;
  table.walkStack = walkStack;
  table.nameFrame = nameFrame;
}
