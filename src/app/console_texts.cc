#include "app/console_texts.h"

#include "output/not_found_layout.h"
#include "output/record_writer.h"
#include "runtime/environment/command_line.h"

namespace {

constexpr LayoutElement kUsage[] = {
    {ElementKind::Literal, " Usage: boxpaint  mesh boxpaint.inp outmodel"},
    {ElementKind::RecordBreak},
    {ElementKind::Literal, " For a sample input file type : boxpaint -inp"},
};

constexpr LayoutElement kSample[] = {
    {ElementKind::RecordBreak},
    {ElementKind::Literal, " Sample boxpaint input file:"},
    {ElementKind::RecordBreak},
    {ElementKind::RecordBreak},
    {ElementKind::Literal, " 0.0               ! background"},
    {ElementKind::RecordBreak},
    {ElementKind::Literal, " 2                 ! number of blocks"},
    {ElementKind::RecordBreak},
    {ElementKind::Literal,
     " 100. 800.  500. 600.   60.  90.  .05   ! e1 e2 n1 n2 z1 z2  value (block 1)"},
    {ElementKind::RecordBreak},
    {ElementKind::Literal,
     " 500. 600.  100. 800.  100. 140.  .08   ! e1 e2 n1 n2 z1 z2  value (block 2)"},
    {ElementKind::RecordBreak},
};

}  // namespace

const OutputLayout usageLayout{kUsage};
const OutputLayout sampleLayout{kSample};
Failure reportMissingInput(const char* name, int length) {
  OutputValue value{nameInBuffer(name, length)};
  RecordWriter writer = consoleWriter();
  emit(writer, notFoundLayout, {&value, 1});
  return writer.failure;
}
