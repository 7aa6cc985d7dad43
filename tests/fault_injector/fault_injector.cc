// A fault injector for end-to-end tests, loaded into boxpaint with LD_PRELOAD. It
// counts the process's writes, reads, closes, truncations, opens and allocations from
// the moment `main` begins, on any thread, and makes the one call that BOXPAINT_FAULT
// names fail, come up short, or be followed by a signal. The counts and the faulted
// call are written to BOXPAINT_FAULT_REPORT (see fault_plan.h).
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "fault_plan.h"

namespace {

// The next definition of each interposed function, found once before `main`.
template <typename Function>
Function next(Function& slot, const char* name) {
  if (slot == nullptr) slot = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
  return slot;
}

#define NEXT(name) next(real_##name, #name)

ssize_t (*real_write)(int, const void*, size_t);
ssize_t (*real_pwrite)(int, const void*, size_t, off_t);
ssize_t (*real_pwrite64)(int, const void*, size_t, off64_t);
ssize_t (*real_writev)(int, const iovec*, int);
ssize_t (*real_read)(int, void*, size_t);
ssize_t (*real_pread)(int, void*, size_t, off_t);
ssize_t (*real_pread64)(int, void*, size_t, off64_t);
int (*real_close)(int);
int (*real_ftruncate)(int, off_t);
int (*real_ftruncate64)(int, off64_t);
int (*real_open)(const char*, int, ...);
int (*real_open64)(const char*, int, ...);
int (*real_openat)(int, const char*, int, ...);
int (*real_openat64)(int, const char*, int, ...);
void* (*real_malloc)(size_t);
void* (*real_calloc)(size_t, size_t);
void* (*real_realloc)(void*, size_t);
void (*real_free)(void*);
int (*real_posix_memalign)(void**, size_t, size_t);
void* (*real_aligned_alloc)(size_t, size_t);
void (*real__exit)(int);
void (*real_abort)();

// dlsym may allocate while the allocators are being found: those few bytes come from
// here and are never given back.
alignas(64) char arena[16384];
size_t arenaUsed = 0;
bool findingAllocators = false;

void* arenaAllocate(size_t size) {
  size_t rounded = (size + 63) & ~size_t{63};
  if (arenaUsed + rounded > sizeof arena) return nullptr;
  void* block = arena + arenaUsed;
  arenaUsed += rounded;
  return block;
}

bool inArena(const void* block) {
  return block >= arena && block < arena + sizeof arena;
}

// False while the allocators are still being found (the caller uses the arena).
bool allocatorsFound() {
  if (real_free != nullptr) return true;
  if (findingAllocators) return false;
  findingAllocators = true;
  NEXT(malloc), NEXT(calloc), NEXT(realloc), NEXT(posix_memalign), NEXT(aligned_alloc);
  NEXT(free);
  findingAllocators = false;
  return true;
}

__attribute__((constructor)) void findEverything() {
  allocatorsFound();
  NEXT(write), NEXT(pwrite), NEXT(pwrite64), NEXT(writev), NEXT(read), NEXT(pread);
  NEXT(pread64), NEXT(close), NEXT(ftruncate), NEXT(ftruncate64), NEXT(open), NEXT(open64);
  NEXT(openat), NEXT(openat64), NEXT(_exit), NEXT(abort);
}

__attribute__((destructor)) void reportAtExit() {
  writeFinalReport();
}

// One read or write on `fd`: `transfer(count)` performs it with the count given.
template <typename Transfer>
ssize_t transferCall(CallKind kind, int fd, size_t count, Transfer transfer) {
  switch (countCall(kind, fd, nullptr, 0)) {
    case FaultAction::Fail:
      errno = faultErrno();
      return -1;
    case FaultAction::Short:
      return transfer(count > 1 ? count / 2 : count);
    case FaultAction::Signal: {
      ssize_t result = transfer(count);
      int saved = errno;
      raiseFaultSignal();
      errno = saved;
      return result;
    }
    case FaultAction::None:
      break;
  }
  return transfer(count);
}

// A call that succeeds or fails as a whole: `call()` performs it.
template <typename Call>
auto wholeCall(CallKind kind, int fd, const char* path, Call call) {
  FaultAction action = countCall(kind, fd, path, 0);
  if (action == FaultAction::Fail) {
    // A failing close still releases its descriptor, as Linux's does.
    if (kind == CallKind::Close) call();
    errno = faultErrno();
    return decltype(call())(-1);
  }
  auto result = call();
  if (action == FaultAction::Signal) {
    int saved = errno;
    raiseFaultSignal();
    errno = saved;
  }
  return result;
}

// An allocation of `size` bytes: `allocate()` performs it.
template <typename Allocate>
auto allocation(size_t size, Allocate allocate) -> decltype(allocate()) {
  FaultAction action = countCall(CallKind::Alloc, -1, nullptr, size);
  if (action == FaultAction::Fail) {
    errno = faultErrno();
    return decltype(allocate())();
  }
  auto result = allocate();
  if (action == FaultAction::Signal) raiseFaultSignal();
  return result;
}

// The mode argument of an open, present only when the flags create a file.
mode_t modeOf(int flags, va_list arguments) {
  return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
}

}  // namespace

extern "C" {

int __libc_start_main(int (*main)(int, char**, char**), int argc, char** argv, void (*init)(),
                      void (*fini)(), void (*rtldFini)(), void* stackEnd) {
  static int (*programMain)(int, char**, char**) = main;
  auto countingMain = [](int c, char** v, char** e) {
    startCounting();
    return programMain(c, v, e);
  };
  using StartMain =
      int (*)(int (*)(int, char**, char**), int, char**, void (*)(), void (*)(), void (*)(), void*);
  auto start = reinterpret_cast<StartMain>(dlsym(RTLD_NEXT, "__libc_start_main"));
  return start(+countingMain, argc, argv, init, fini, rtldFini, stackEnd);
}

ssize_t write(int fd, const void* bytes, size_t count) {
  return transferCall(CallKind::Write, fd, count,
                      [&](size_t n) { return NEXT(write)(fd, bytes, n); });
}

ssize_t pwrite(int fd, const void* bytes, size_t count, off_t at) {
  return transferCall(CallKind::Write, fd, count,
                      [&](size_t n) { return NEXT(pwrite)(fd, bytes, n, at); });
}

ssize_t pwrite64(int fd, const void* bytes, size_t count, off64_t at) {
  return transferCall(CallKind::Write, fd, count,
                      [&](size_t n) { return NEXT(pwrite64)(fd, bytes, n, at); });
}

ssize_t writev(int fd, const iovec* pieces, int count) {
  size_t total = 0;
  for (int i = 0; i < count; ++i) total += pieces[i].iov_len;
  return transferCall(CallKind::Write, fd, total, [&](size_t n) {
    if (n == total || count > 64) return NEXT(writev)(fd, pieces, count);
    // A short write: the first `n` bytes of the pieces.
    iovec first[64];
    int used = 0;
    for (; used < count && n > 0; ++used) {
      first[used] = pieces[used];
      if (first[used].iov_len > n) first[used].iov_len = n;
      n -= first[used].iov_len;
    }
    return NEXT(writev)(fd, first, used);
  });
}

ssize_t read(int fd, void* bytes, size_t count) {
  return transferCall(CallKind::Read, fd, count,
                      [&](size_t n) { return NEXT(read)(fd, bytes, n); });
}

ssize_t pread(int fd, void* bytes, size_t count, off_t at) {
  return transferCall(CallKind::Read, fd, count,
                      [&](size_t n) { return NEXT(pread)(fd, bytes, n, at); });
}

ssize_t pread64(int fd, void* bytes, size_t count, off64_t at) {
  return transferCall(CallKind::Read, fd, count,
                      [&](size_t n) { return NEXT(pread64)(fd, bytes, n, at); });
}

int close(int fd) {
  return wholeCall(CallKind::Close, fd, nullptr, [&] { return NEXT(close)(fd); });
}

int ftruncate(int fd, off_t length) noexcept {
  return wholeCall(CallKind::Ftruncate, fd, nullptr, [&] { return NEXT(ftruncate)(fd, length); });
}

int ftruncate64(int fd, off64_t length) noexcept {
  return wholeCall(CallKind::Ftruncate, fd, nullptr, [&] { return NEXT(ftruncate64)(fd, length); });
}

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  mode_t mode = modeOf(flags, arguments);
  va_end(arguments);
  return wholeCall(CallKind::Open, -1, path, [&] { return NEXT(open)(path, flags, mode); });
}

int open64(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  mode_t mode = modeOf(flags, arguments);
  va_end(arguments);
  return wholeCall(CallKind::Open, -1, path, [&] { return NEXT(open64)(path, flags, mode); });
}

int openat(int directory, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  mode_t mode = modeOf(flags, arguments);
  va_end(arguments);
  return wholeCall(CallKind::Open, -1, path,
                   [&] { return NEXT(openat)(directory, path, flags, mode); });
}

int openat64(int directory, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  mode_t mode = modeOf(flags, arguments);
  va_end(arguments);
  return wholeCall(CallKind::Open, -1, path,
                   [&] { return NEXT(openat64)(directory, path, flags, mode); });
}

void* malloc(size_t size) noexcept {
  if (!allocatorsFound()) return arenaAllocate(size);
  return allocation(size, [&] { return real_malloc(size); });
}

void* calloc(size_t count, size_t size) noexcept {
  if (!allocatorsFound()) return arenaAllocate(count * size);  // the arena is zeroed
  return allocation(count * size, [&] { return real_calloc(count, size); });
}

void* realloc(void* block, size_t size) noexcept {
  if (!allocatorsFound() || inArena(block)) {
    void* moved = allocatorsFound() ? malloc(size) : arenaAllocate(size);
    if (moved != nullptr && block != nullptr) {
      size_t left = static_cast<size_t>(arena + sizeof arena - static_cast<char*>(block));
      std::memcpy(moved, block, size < left ? size : left);
    }
    return moved;
  }
  return allocation(size, [&] { return real_realloc(block, size); });
}

void free(void* block) noexcept {
  if (block == nullptr || inArena(block)) return;
  if (allocatorsFound()) real_free(block);
}

int posix_memalign(void** block, size_t alignment, size_t size) noexcept {
  if (!allocatorsFound()) return ENOMEM;
  FaultAction action = countCall(CallKind::Alloc, -1, nullptr, size);
  if (action == FaultAction::Fail) return faultErrno();
  int result = real_posix_memalign(block, alignment, size);
  if (action == FaultAction::Signal) raiseFaultSignal();
  return result;
}

void* aligned_alloc(size_t alignment, size_t size) noexcept {
  if (!allocatorsFound()) return nullptr;
  return allocation(size, [&] { return real_aligned_alloc(alignment, size); });
}

void _exit(int status) {
  writeFinalReport();
  NEXT(_exit)(status);
  __builtin_unreachable();
}

void _Exit(int status) {
  _exit(status);
}

void abort() noexcept {
  writeFinalReport();
  NEXT(abort)();
  __builtin_unreachable();
}

}  // extern "C"
