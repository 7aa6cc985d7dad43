// The floor for the Windows benchmark: writes BYTES bytes of model records to FILE in
// 1 MiB WriteFile calls, as fast as the system takes them. Usage: write_floor FILE BYTES
#include <windows.h>

#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  long long left = std::atoll(argv[2]);
  std::vector<char> block(1 << 20);
  for (size_t at = 0; at < block.size(); ++at) block[at] = " 1.500E+00\r\n"[at % 12];
  const HANDLE file = CreateFileA(argv[1], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  while (left > 0) {
    const DWORD count = left < static_cast<long long>(block.size())
                            ? static_cast<DWORD>(left)
                            : static_cast<DWORD>(block.size());
    DWORD written = 0;
    if (!WriteFile(file, block.data(), count, &written, nullptr) || written == 0) return 1;
    left -= written;
  }
  return CloseHandle(file) ? 0 : 1;
}
