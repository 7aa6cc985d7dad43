#include "runtime/environment/environment_switches.h"

#include "runtime/platform/system_calls.h"

bool switchValueIsTrue(const char* value) {
  if (value == nullptr || value[0] == '\0') return false;
  char first = value[0];
  if (first == 't' || first == 'T' || first == 'y' || first == 'Y') return true;
  bool nonZero = false;
  for (const char* p = value; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    if (*p != '0') nonZero = true;
  }
  return nonZero;
}

bool switchIsTrue(const char* name) {
  return switchValueIsTrue(systemCalls().environmentValue(name));
}

const char* switchValue(const char* name) {
  return systemCalls().environmentValue(name);
}
