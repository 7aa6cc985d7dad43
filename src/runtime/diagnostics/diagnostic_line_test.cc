#include <gtest/gtest.h>

#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/diagnostics/stack_listing.h"

namespace {

std::string line(int32_t number, std::vector<MessageArgument> arguments) {
  char storage[512];
  TextBuffer buffer{storage, sizeof storage, 0, false};
  formatMessageLine(buffer, static_cast<Message>(number), arguments.data(),
                    static_cast<int>(arguments.size()));
  return std::string(storage, buffer.length);
}

MessageArgument unit(int64_t number) {
  return {false, number, nullptr};
}
MessageArgument text(const char* value) {
  return {true, 0, value};
}

TEST(DiagnosticLineTest, PrefixTextAndArgumentsBySeverity) {
  EXPECT_EQ(line(24, {unit(1), text("/d/mesh.txt")}),
            "forrtl: severe (24): end-of-file during read, unit 1, file /d/mesh.txt\n");
  EXPECT_EQ(line(38, {unit(-1), text("stdout")}),
            "forrtl: severe (38): error during write, unit -1, file stdout\n");
  EXPECT_EQ(line(200, {text("control-C")}),
            "forrtl: error (200): program aborting due to control-C event\n");
  EXPECT_EQ(line(96, {}),
            "forrtl: warning (96): F_UFMTENDIAN environment variable was ignored:erroneous "
            "syntax\n");
  EXPECT_EQ(line(179, {}),
            "forrtl: severe (179): Cannot allocate array - overflow on array size calculation.\n");
  EXPECT_EQ(line(41, {}), "forrtl: severe (41): insufficient virtual memory\n");
  EXPECT_EQ(line(172, {unit(11), unit(11)}),
            "forrtl: severe (172): Program Exception - exception code = 0xb (11)\n");
  // Only the low 16 bits of the number choose the entry; the line shows the number given.
  EXPECT_EQ(line(0x10000 + 41, {}), "forrtl: severe (65577): insufficient virtual memory\n");
}

TEST(MessageCatalogueTest, EveryRaisedNumberHasItsSeverity) {
  struct Row {
    int32_t number;
    Severity severity;
  } const rows[] = {
      {9, Severity::Severe},   {10, Severity::Severe},  {24, Severity::Severe},
      {28, Severity::Severe},  {29, Severity::Severe},  {30, Severity::Severe},
      {38, Severity::Severe},  {39, Severity::Severe},  {41, Severity::Severe},
      {42, Severity::Severe},  {43, Severity::Severe},  {59, Severity::Severe},
      {64, Severity::Severe},  {96, Severity::Warning}, {98, Severity::Severe},
      {157, Severity::Severe}, {170, Severity::Severe}, {172, Severity::Severe},
      {179, Severity::Severe}, {200, Severity::Error},
  };
  for (const Row& row : rows) {
    const MessageEntry* entry = findMessage(row.number);
    ASSERT_NE(entry, nullptr) << row.number;
    EXPECT_EQ(entry->severity, row.severity) << row.number;
  }
  for (int32_t number = 157; number <= 172; ++number) {
    ASSERT_NE(findMessage(number), nullptr) << number;
    EXPECT_EQ(std::string(findMessage(number)->text).rfind("Program Exception - ", 0), 0u);
  }
  EXPECT_EQ(findMessage(1), nullptr);
  EXPECT_EQ(findMessage(201), nullptr);
}

TEST(TextBufferTest, FieldsAreCutPaddedAndNeverOverrun) {
  char storage[16];
  TextBuffer buffer{storage, sizeof storage, 0, false};
  appendFormatted(buffer, "%-5.3s|%8.8X|", nullptr, 0);
  EXPECT_EQ(std::string(storage, buffer.length), "%-5.3s|%8.8X|") << "no argument, no value";
  buffer.length = 0;
  MessageArgument arguments[] = {text("abcdef"), unit(0xBEEF)};
  appendFormatted(buffer, "%-5.3s|%8.8X|", arguments, 2);
  EXPECT_EQ(std::string(storage, buffer.length), "abc  |0000BEEF|");
  appendText(buffer, "overflowing text");
  EXPECT_EQ(buffer.length, sizeof storage);
  EXPECT_TRUE(buffer.overflowed);
  char wide[64];
  TextBuffer field{wide, sizeof wide, 0, false};
  appendField(field, "long routine name here", 17, 17, true);
  appendField(field, "ab", 5, 10, false);
  EXPECT_EQ(std::string(wide, field.length), "long routine name   ab");
}

TEST(CallStackListingTest, HeaderThenFramesAndTheOverflowText) {
  std::vector<char> storage(kDiagnosticBufferBytes);
  TextBuffer buffer{storage.data(), storage.size(), 0, false};
  appendCallStackListing(buffer, false);
  std::string listing(storage.data(), buffer.length);
  EXPECT_EQ(listing.substr(0, listing.find('\n')),
            "Image              PC        Routine            Line        Source             ");
  std::string frame = listing.substr(listing.find('\n') + 1);
  frame = frame.substr(0, frame.find('\n'));
  ASSERT_GE(frame.size(), 17u + 2 + 8 + 2 + 17 + 2 + 10 + 2);
  EXPECT_EQ(frame.substr(17, 2), "  ");
  EXPECT_EQ(frame.substr(27, 2), "  ");
  EXPECT_EQ(frame.substr(46, 2), "  ");
  EXPECT_EQ(frame.substr(48, 10), "   Unknown");
  EXPECT_EQ(frame.substr(58), "  Unknown");

  // A buffer with room for the header and little more ends with the overflow text.
  std::vector<char> small(200);
  TextBuffer tight{small.data(), small.size(), 0, false};
  appendCallStackListing(tight, false);
  std::string cut(small.data(), tight.length);
  EXPECT_FALSE(tight.overflowed);
  EXPECT_EQ(cut.substr(cut.size() - (sizeof kListingOverflow - 1)), kListingOverflow);
}

}  // namespace
