#include "runtime/connections/connection_output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/platform/system_calls.h"
#include "runtime/records/record_batch.h"

namespace {

constexpr int32_t kUnit = 2;

std::string tempPath(const char* name) {
  return testing::TempDir() + "/connection_output_" + name;
}

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

void openOutputFile(const std::string& path) {
  ASSERT_FALSE(openOutput(kUnit, path.data(), static_cast<int>(path.size())));
}

// Writes `count` records; the first failure, after which the unit is closed as a failure
// closes it.
Failure writeRecords(int count, const char* text) {
  Connection& connection = *lookUpConnection(kUnit);
  const size_t width = std::strlen(text);
  Failure failure;
  for (int i = 0; i < count && !failure; ++i) {
    RecordRoom room;
    failure = outputFailure(connection, reserveRecords(connection.output, width, 1, room));
    if (failure) break;
    std::memcpy(room.bytes, text, width);
    failure = outputFailure(connection, commitRecords(connection.output, 1));
  }
  if (failure) closeAfterFailure(kUnit, failure);
  return failure;
}

TEST(ConnectionOutputTest, ExistingFileIsCutOnlyOnceARecordIsWritten) {
  std::string path = tempPath("cut");
  writeText(path, std::string(100000, 'o'));
  openOutputFile(path);
  EXPECT_FALSE(closeConnection(kUnit));
  EXPECT_EQ(contentOf(path), std::string(100000, 'o')) << "no record: the old content stays";

  openOutputFile(path);
  EXPECT_FALSE(writeRecords(3, "new"));
  EXPECT_EQ(contentOf(path).substr(0, 3), "ooo") << "records are still gathered";
  closeConnection(kUnit);
  EXPECT_EQ(contentOf(path), "new\r\nnew\r\nnew\r\n");
  std::remove(path.c_str());
}

TEST(ConnectionOutputTest, RecordsReachTheFileInBlocksAndWhole) {
  std::string path = tempPath("blocks");
  writeText(path, std::string(2000000, 'o'));
  openOutputFile(path);
  EXPECT_FALSE(writeRecords(100000, "0123456789"));  // 1.2 MB: at least one block handed over
  // A writer thread hands the block over while the next one is filled: wait for it.
  std::string partial = contentOf(path);
  for (int wait = 0; wait < 500 && partial[0] == 'o'; ++wait) {
    systemCalls().sleepMilliseconds(10);
    partial = contentOf(path);
  }
  EXPECT_EQ(partial.find('o'), std::string::npos) << "the first hand-over cut the old content";
  EXPECT_EQ(partial.size() % 12, 0u);
  EXPECT_GT(partial.size(), 0u);
  closeConnection(kUnit);
  EXPECT_EQ(contentOf(path).size(), 1200000u);
  std::remove(path.c_str());
}

// A disk that holds 100 bytes of the file: writes beyond them come up short, then are
// refused as a full disk.
int64_t writeAtMost100Bytes(FileHandle file, const void* bytes, size_t count, uint64_t offset,
                            SystemError* error) {
  constexpr uint64_t kRoom = 100;
  if (offset >= kRoom) {
    *error = systemError(ErrorName::DiskFull);
    return -1;
  }
  const size_t fits = static_cast<size_t>(kRoom - offset) < count ? kRoom - offset : count;
  return platformSystemCalls().writeFileAt(file, bytes, fits, offset, error);
}

TEST(ConnectionOutputTest, RefusedWriteKeepsOnlyWholeRecordsAndFails38) {
  std::string path = tempPath("limit");
  writeText(path, std::string(1000, 'o'));
  systemCalls().writeFileAt = writeAtMost100Bytes;
  openOutputFile(path);
  Failure failure = writeRecords(20, "0123456789");
  if (!failure) failure = closeConnection(kUnit);
  systemCalls() = platformSystemCalls();

  EXPECT_EQ(failure.message, Message::WriteError);
  EXPECT_EQ(failure.unit, kUnit);
  EXPECT_NE(std::string(failure.fileName).find("connection_output_limit"), std::string::npos);
  std::string eightRecords;
  for (int i = 0; i < 8; ++i) eightRecords += "0123456789\r\n";
  EXPECT_EQ(contentOf(path), eightRecords) << "100 bytes fit: 8 whole records, the 9th cut off";
  EXPECT_EQ(lookUpConnection(kUnit), nullptr);
  std::remove(path.c_str());
}

}  // namespace
