// Reading speed of the free-form reader over a generated 50 MB file of mixed reals.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "freeform/free_form_reader.h"
#include "runtime/connections/connection.h"

namespace {

constexpr size_t kFileBytes = 50u * 1000u * 1000u;
constexpr int kValuesPerLine = 7;

struct GeneratedFile {
  std::string path;
  size_t bytes = 0;
  int32_t values = 0;  // items the text holds, repeat counts expanded
  int32_t lines = 0;
  std::vector<int32_t> lineItems;  // items each line holds
};

// One value in one of several written forms.
void appendValue(std::string& text, std::mt19937_64& random, int32_t& items) {
  const uint64_t pick = random();
  const double magnitude = static_cast<double>(pick >> 20) / static_cast<double>(1ull << 44);
  const int form = static_cast<int>(pick % 16);
  char buffer[64];
  char* end = buffer;
  int count = 1;
  switch (form) {
    case 0:
    case 1:
    case 2:
    case 3:  // shortest round-trip text, e.g. 0.7316252849712
      end = std::to_chars(buffer, buffer + sizeof buffer, magnitude * 1000.0).ptr;
      break;
    case 4:
    case 5:
    case 6:  // scientific with an exponent sign
      end = buffer + std::snprintf(buffer, sizeof buffer, "%.9E", magnitude * 1e5);
      break;
    case 7:
    case 8:  // fixed with a few decimals and a sign
      end = buffer + std::snprintf(buffer, sizeof buffer, "-%.3f", magnitude * 500.0);
      break;
    case 9:  // D exponent
      end = buffer + std::snprintf(buffer, sizeof buffer, "%.6fD-2", magnitude * 9.0);
      break;
    case 10:
    case 11:  // integer-looking
      end = buffer + std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(pick % 10000));
      break;
    case 12:  // a repeat group
      count = 3;
      end = buffer + std::snprintf(buffer, sizeof buffer, "3*%.2f", magnitude * 100.0);
      break;
    case 13:  // trailing period, leading period
      end = buffer + std::snprintf(buffer, sizeof buffer, "%d.", static_cast<int>(pick % 999));
      break;
    case 14:
      end = buffer + std::snprintf(buffer, sizeof buffer, ".%06d", static_cast<int>(pick % 999999));
      break;
    default:  // long mantissa
      end = buffer + std::snprintf(buffer, sizeof buffer, "%.20e", magnitude);
      break;
  }
  text.append(buffer, end);
  items += count;
}

// Writes `made`'s text to a new temporary file, removed when the program ends.
void writeTemporary(GeneratedFile& made, const std::string& text) {
  const char* dir = std::getenv("TMPDIR");
  made.path = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/freeform_bench_XXXXXX";
  const int fd = mkstemp(made.path.data());
  if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    std::fprintf(stderr, "cannot write %s\n", made.path.c_str());
    std::exit(1);
  }
  close(fd);
  made.bytes = text.size();
}

const GeneratedFile& generatedFile() {
  static GeneratedFile file = [] {
    GeneratedFile made;
    std::mt19937_64 random(42);
    std::string text;
    text.reserve(kFileBytes + 256);
    static const char* const kSeparators[] = {" ", "  ", ", ", ",", "\t", " , "};
    while (text.size() < kFileBytes) {
      const int32_t before = made.values;
      for (int k = 0; k < kValuesPerLine; ++k) {
        if (k > 0) text += kSeparators[random() % 6];
        appendValue(text, random, made.values);
      }
      made.lineItems.push_back(made.values - before);
      text += (made.lines % 2 == 0) ? "\n" : "\r\n";
      ++made.lines;
    }
    writeTemporary(made, text);
    std::atexit([] { unlink(generatedFile().path.c_str()); });
    return made;
  }();
  return file;
}

// Block lines as exported block models hold them: six bounds with three decimals and a
// value of four significant digits, blank-separated, as the whole-run benchmark makes
// them.
const GeneratedFile& blockFile() {
  static GeneratedFile file = [] {
    GeneratedFile made;
    std::mt19937_64 random(2000000);
    std::uniform_real_distribution<double> unit(0, 1);
    std::string text;
    text.reserve(kFileBytes + 256);
    char line[160];
    while (text.size() < kFileBytes) {
      const double e = unit(random) * 4310, n = unit(random) * 4310, z = -unit(random) * 2150;
      const int length = std::snprintf(line, sizeof line, "%.3f %.3f %.3f %.3f %.3f %.3f %.4g\n", e,
                                       e + unit(random) * 100, n + unit(random) * 100, n, z,
                                       z - unit(random) * 100, unit(random) * 1000);
      text.append(line, static_cast<size_t>(length));
      ++made.lines;
      made.values += kValuesPerLine;
      made.lineItems.push_back(kValuesPerLine);
    }
    writeTemporary(made, text);
    std::atexit([] { unlink(blockFile().path.c_str()); });
    return made;
  }();
  return file;
}

void openForReading(Connection& connection, const GeneratedFile& file) {
  connection.unit = 1;
  std::strncpy(connection.fileName, file.path.c_str(), kMaxFileName);
  connection.fd = open(file.path.c_str(), O_RDONLY);
}

// The whole file as one statement whose run takes every value.
void BM_ReadRealRun(benchmark::State& state) {
  const GeneratedFile& file = generatedFile();
  std::vector<double> values(static_cast<size_t>(file.values));
  for (auto _ : state) {
    Connection connection;
    openForReading(connection, file);
    {
      FreeFormReader reader(connection);
      reader.beginStatement();
      reader.readRealRun(values.data(), file.values);
      reader.endStatement();
    }
    close(connection.fd);
    benchmark::DoNotOptimize(values.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(file.bytes));
}
BENCHMARK(BM_ReadRealRun)->Unit(benchmark::kMillisecond);

// One statement per line, the values taken one item at a time, as the block file is
// read.
template <const GeneratedFile& (*File)()>
void readPerLine(benchmark::State& state) {
  const GeneratedFile& file = File();
  double values[3 * kValuesPerLine];
  for (auto _ : state) {
    Connection connection;
    openForReading(connection, file);
    {
      FreeFormReader reader(connection);
      for (int32_t line = 0; line < file.lines; ++line) {
        reader.beginStatement();
        for (int32_t k = 0; k < file.lineItems[static_cast<size_t>(line)]; ++k) {
          reader.readReal(values[k]);
        }
        reader.endStatement();
      }
    }
    close(connection.fd);
    benchmark::DoNotOptimize(values);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(file.bytes));
}
BENCHMARK(readPerLine<generatedFile>)->Name("BM_ReadRealPerLine")->Unit(benchmark::kMillisecond);
// The block file's lines: seven reals each, one statement a line.
BENCHMARK(readPerLine<blockFile>)->Name("BM_ReadBlockLines")->Unit(benchmark::kMillisecond);

}  // namespace
