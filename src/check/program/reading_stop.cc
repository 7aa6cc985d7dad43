#include "check/program/reading_stop.h"

#include "check/format/json_text.h"
#include "check/format/shortest_number.h"
#include "companion/line_text.h"

std::string readingStopHead(const ReadingStop& stop) {
  std::string text;
  if (stop.place != StopPlace::None) text.append("reading stopped at ");
  text.append(printableText(stop.file));
  if (stop.place == StopPlace::AtLine) {
    text.append(", line ");
    appendInteger(text, stop.line);
  } else if (stop.place == StopPlace::AfterLine) {
    text.append(" after line ");
    appendInteger(text, stop.line);
  }
  if (!stop.part.empty()) text.append(", in ").append(stop.part);
  if (!stop.problem.empty()) text.append(stop.file.empty() ? "" : ": ").append(stop.problem);
  return text;
}

std::string readingStopDetail(const ReadingStop& stop) {
  std::string text;
  if (stop.place == StopPlace::AtLine && stop.hasText) {
    text.append("  line ");
    appendInteger(text, stop.line);
    text.append(": ").append(printableText(stop.text)).push_back('\n');
  }
  if (!stop.note.empty()) text.append("  ").append(stop.note).push_back('\n');
  if (!stop.message.empty()) {
    text.append("  boxpaint: ").append(printableText(stop.message)).push_back('\n');
  }
  return text;
}

std::string readingStopJson(const ReadingStop& stop) {
  std::string json = "{\"error\": {\"file\": ";
  appendJsonString(json, stop.file);
  // "line" is the line reading stopped at; "after_line" the lines read before the file
  // ended or a read failed.
  json.append(", \"line\": ");
  if (stop.place == StopPlace::AtLine) {
    appendInteger(json, stop.line);
  } else {
    json.append("null");
  }
  json.append(", \"after_line\": ");
  if (stop.place == StopPlace::AfterLine) {
    appendInteger(json, stop.line);
  } else {
    json.append("null");
  }
  json.append(", \"text\": ");
  if (stop.place == StopPlace::AtLine && stop.hasText) {
    appendJsonString(json, stop.text);
  } else {
    json.append("null");
  }
  json.append(", \"reading\": ");
  if (stop.part.empty()) {
    json.append("null");
  } else {
    appendJsonString(json, stop.part);
  }
  json.append(", \"problem\": ");
  appendJsonString(json, stop.note.empty() ? stop.problem : stop.problem + "; " + stop.note);
  json.append(", \"message\": ");
  if (stop.message.empty()) {
    json.append("null");
  } else {
    appendJsonString(json, stop.message);
  }
  json.append("}}\n");
  return json;
}
