#include "output/not_found_layout.h"

namespace {

constexpr std::string_view kNotFoundBefore = " File ";
constexpr std::string_view kNotFoundAfter = " not found.";

constexpr LayoutElement kNotFound[] = {
    {ElementKind::Literal, kNotFoundBefore},
    {ElementKind::TextItem},
    {ElementKind::Literal, kNotFoundAfter},
};

}  // namespace

const OutputLayout notFoundLayout{kNotFound};

std::string notFoundLine(std::string_view name) {
  std::string line(kNotFoundBefore);
  line.append(name);
  line.append(kNotFoundAfter);
  return line;
}
