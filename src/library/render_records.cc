#include "library/render_records.h"

#include <cstdint>
#include <cstring>

#include "output/format_model_value.h"

namespace {

template <size_t Length>
void renderEach(const double* values, size_t count, std::string_view terminator, char* out) {
  // A model painted from blocks holds long runs of one value; random values pay one
  // comparison each for that.
  uint64_t previous = 0;
  for (size_t i = 0; i < count; ++i, out += Length) {
    uint64_t bits = 0;
    std::memcpy(&bits, &values[i], sizeof bits);
    if (i > 0 && bits == previous) {
      std::memcpy(out, out - Length, Length);
      continue;
    }
    formatModelValue(values[i], out);
    std::memcpy(out + kModelValueWidth, terminator.data(), Length - kModelValueWidth);
    previous = bits;
  }
}

}  // namespace

std::string_view terminatorBytes(boxpaint::Terminator terminator) {
  switch (terminator) {
    case boxpaint::Terminator::LF:
      return "\n";
    case boxpaint::Terminator::CR:
      return "\r";
    case boxpaint::Terminator::CRLF:
      break;
  }
  return "\r\n";
}

void renderRecords(const double* values, size_t count, std::string_view terminator, char* out) {
  if (terminator.size() == 2) {
    renderEach<kModelValueWidth + 2>(values, count, terminator, out);
  } else {
    renderEach<kModelValueWidth + 1>(values, count, terminator, out);
  }
}

namespace boxpaint {

size_t recordLength(Terminator terminator) {
  return terminator == Terminator::CRLF ? kValueWidth + 2 : kValueWidth + 1;
}

void renderModelRecords(std::span<const double> values, Terminator terminator, char* out) {
  renderRecords(values.data(), values.size(), terminatorBytes(terminator), out);
}

}  // namespace boxpaint
