// The floor for the whole-run benchmark: writes BYTES bytes of model records to FILE in
// 1 MiB writes, as fast as this machine takes them. Usage: write_floor FILE BYTES
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: write_floor FILE BYTES\n");
    return 2;
  }
  long long left = std::atoll(argv[2]);
  std::vector<char> block(1 << 20);
  for (size_t at = 0; at < block.size(); ++at) block[at] = " 1.500E+00\r\n"[at % 12];
  const int fd = open(argv[1], O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) {
    std::perror(argv[1]);
    return 1;
  }
  while (left > 0) {
    const size_t count =
        left < static_cast<long long>(block.size()) ? static_cast<size_t>(left) : block.size();
    const ssize_t n = write(fd, block.data(), count);
    if (n <= 0) {
      std::perror(argv[1]);
      return 1;
    }
    left -= n;
  }
  return close(fd) == 0 ? 0 : 1;
}
