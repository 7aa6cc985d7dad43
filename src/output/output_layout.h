// Fixed layouts of literals, items and record breaks that output operations follow.
#pragma once

#include <span>
#include <string_view>

/// What one element of a layout does to the current record.
enum class ElementKind {
  Literal,      // appends its characters as they stand
  TextItem,     // appends the next text value, every byte of it
  RealItem,     // appends the 10-character text of the next real value
  RecordBreak,  // completes the current record and starts a new one
};

/// One element of a layout; `literal` is used by Literal elements only.
struct LayoutElement {
  ElementKind kind;
  std::string_view literal = {};
};

/// An ordered list of elements, known when the utility is built.
using OutputLayout = std::span<const LayoutElement>;

/// One value for an item element: a text for TextItem, a double for RealItem.
struct OutputValue {
  std::string_view text = {};
  double real = 0;
};
