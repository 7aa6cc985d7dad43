#include "view/slice/slice_choice.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

bool axisFromLetter(char letter, SliceAxis& axis) {
  switch (letter) {
    case 'z':
    case 'Z':
      axis = SliceAxis::Elevation;
      return true;
    case 'e':
    case 'E':
      axis = SliceAxis::Easting;
      return true;
    case 'n':
    case 'N':
      axis = SliceAxis::Northing;
      return true;
    default:
      return false;
  }
}

std::string formatCoordinate(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

}  // namespace

bool parseSliceChoice(const std::string& text, SliceChoice& choice) {
  if (text.size() < 3 || !axisFromLetter(text[0], choice.axis)) return false;
  const char* first = text.data() + 2;
  const char* last = text.data() + text.size();
  if (text[1] == '=') {
    choice.byCoordinate = false;
    const auto [end, status] = std::from_chars(first, last, choice.index);
    return status == std::errc() && end == last;
  }
  if (text[1] == '@') {
    choice.byCoordinate = true;
    const auto [end, status] = std::from_chars(first, last, choice.coordinate);
    return status == std::errc() && end == last && std::isfinite(choice.coordinate);
  }
  return false;
}

const NodeAxis& sliceAxisOf(const Mesh& mesh, SliceAxis axis) {
  switch (axis) {
    case SliceAxis::Easting:
      return mesh.easting;
    case SliceAxis::Northing:
      return mesh.northing;
    case SliceAxis::Elevation:
      break;
  }
  return mesh.elevation;
}

const char* sliceAxisName(SliceAxis axis) {
  switch (axis) {
    case SliceAxis::Easting:
      return "easting";
    case SliceAxis::Northing:
      return "northing";
    case SliceAxis::Elevation:
      break;
  }
  return "elevation";
}

int32_t cellContaining(const NodeAxis& axis, double coordinate) {
  for (int32_t cell = 1; cell <= axis.cellCount; ++cell) {
    const double a = axis.nodes[cell - 1];
    const double b = axis.nodes[cell];
    if (std::min(a, b) <= coordinate && coordinate <= std::max(a, b)) return cell;
  }
  return 0;
}

bool sliceCellIndex(const Mesh& mesh, const SliceChoice& choice, int32_t& index,
                    std::string& error) {
  const NodeAxis& axis = sliceAxisOf(mesh, choice.axis);
  const char* name = sliceAxisName(choice.axis);
  if (!choice.byCoordinate) {
    if (choice.index < 1 || choice.index > axis.cellCount) {
      error = "slice " + std::to_string(choice.index) + " lies outside the mesh's " +
              std::to_string(axis.cellCount) + " " + name + " cells";
      return false;
    }
    index = static_cast<int32_t>(choice.index);
    return true;
  }
  index = cellContaining(axis, choice.coordinate);
  if (index == 0) {
    const double* first = axis.nodes;
    const double* last = axis.nodes + axis.nodeCount;
    error = name + std::string(" ") + formatCoordinate(choice.coordinate) +
            " lies outside the mesh (" + formatCoordinate(*std::min_element(first, last)) + " to " +
            formatCoordinate(*std::max_element(first, last)) + ")";
    return false;
  }
  return true;
}
