#include "library/recorded_value.h"

#include <cfloat>
#include <string_view>

#include "boxpaint/model.h"
#include "freeform/number_conversion.h"

namespace {

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;

int digit(char c) {
  return c - '0';
}

}  // namespace

double modelTextValue(const char text[kModelValueWidth]) {
  // " d.dddE+dd" or "-d.dddE-dd": the digits and the power, each exact as a double, so
  // that their product or quotient is the nearest double to the decimal value.
  if (text[2] != '.' || text[6] != 'E') return modelTextValuePlain(text);
  const int digits =
      digit(text[1]) * 1000 + digit(text[3]) * 100 + digit(text[4]) * 10 + digit(text[5]);
  const int exponent = (text[7] == '-' ? -1 : 1) * (digit(text[8]) * 10 + digit(text[9]));
  const int power = exponent - 3;
  if (power > kLargestExactPower || power < -kLargestExactPower) {
    return modelTextValuePlain(text);
  }
  const double magnitude =
      power >= 0 ? digits * kExactPowers[power] : digits / kExactPowers[-power];
  return text[0] == '-' ? -magnitude : magnitude;
}

double modelTextValuePlain(const char text[kModelValueWidth]) {
  std::string_view field(text, kModelValueWidth);
  field.remove_prefix(field.find_first_not_of(' '));
  if (field == "1.798+308" || field == "-1.798+308") {
    return field[0] == '-' ? -DBL_MAX : DBL_MAX;
  }
  double value = 0;
  parseReal64(field.data(), field.size(), value);
  return value;
}

namespace boxpaint {

double recordedValue(double value) {
  char text[kModelValueWidth];
  formatModelValue(value, text);
  return modelTextValue(text);
}

}  // namespace boxpaint
