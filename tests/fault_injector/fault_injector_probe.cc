// Makes each kind of call the fault injector counts, some from a second thread, and
// prints what each returned, so that a test can see the injector count and fault them.
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// Runs before main: the injector must not count it.
const bool kWroteBeforeMain = write(2, "", 0) == 0;

void show(const char* call, long result) {
  std::printf("%s %ld %d\n", call, result, result < 0 ? errno : 0);
}

}  // namespace

int main() {
  int fd = openat(AT_FDCWD, "probe.txt", O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  show("openat", fd >= 0 ? 0 : -1);
  show("write", write(fd, "ab", 2));
  show("pwrite", pwrite(fd, "cd", 2, 2));
  iovec pieces[2] = {{const_cast<char*>("ef"), 2}, {const_cast<char*>("gh"), 2}};
  show("writev", writev(fd, pieces, 2));
  std::thread([fd] { show("pwrite64", pwrite64(fd, "ij", 2, 8)); }).join();
  char bytes[16];
  show("pread", pread(fd, bytes, sizeof bytes, 0));
  show("read", read(fd, bytes, sizeof bytes));
  show("ftruncate", ftruncate(fd, 4));
  show("close", close(fd));
  void* block = std::malloc(64);
  show("malloc", block != nullptr ? 0 : -1);
  std::free(block);
  std::fflush(stdout);
  _exit(kWroteBeforeMain ? 0 : 1);
}
