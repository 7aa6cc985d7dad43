// The output channel against a file kept in memory behind the table of system calls:
// batches of records of random lengths reach it whole and once, however they are
// gathered and whoever writes them (the producer in place, the writer thread, or the
// one after the other); a file that fills up keeps whole records; the hand-over that ends
// a run writes exactly what is held, once, however often it is made.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <random>
#include <string>

#include "runtime/platform/system_calls_testing.h"
#include "runtime/records/drain_channel.h"
#include "runtime/records/hand_over.h"
#include "runtime/records/record_batch.h"

namespace {

constexpr FileHandle kFile = 4242;

// The one file behind the fake entries; writes may come from the writer thread.
struct MemoryFile {
  std::mutex lock;
  FileKind kind = FileKind::Disk;
  std::string bytes;
  uint64_t position = 0;
  size_t room = SIZE_MAX;  // bytes the device takes before it is full
} file;

int64_t writeAt(const void* data, size_t count, uint64_t offset, SystemError* error) {
  std::lock_guard<std::mutex> guard(file.lock);
  if (offset >= file.room) {
    *error = systemError(ErrorName::DiskFull);
    return -1;
  }
  count = std::min<size_t>(count, file.room - offset);  // a full disk takes what fits
  if (file.bytes.size() < offset + count) file.bytes.resize(offset + count, '\0');
  file.bytes.replace(offset, count, static_cast<const char*>(data), count);
  return static_cast<int64_t>(count);
}

int64_t fakeWriteFileAt(FileHandle, const void* data, size_t count, uint64_t offset,
                        SystemError* error) {
  return writeAt(data, count, offset, error);
}

// Threads started through the table, to tell whether a writer thread took part.
std::atomic<int> threadsStarted{0};

ThreadHandle countedStartThread(void (*body)(void*), void* argument) {
  ++threadsStarted;
  return platformSystemCalls().startThread(body, argument);
}

int64_t fakeWriteFile(FileHandle, const void* data, size_t count, SystemError* error) {
  const int64_t n = writeAt(data, count, file.position, error);
  if (n > 0) file.position += static_cast<uint64_t>(n);
  return n;
}

bool fakeCutFile(FileHandle, uint64_t length, SystemError*) {
  std::lock_guard<std::mutex> guard(file.lock);
  file.bytes.resize(std::min<uint64_t>(length, file.bytes.size()));
  return true;
}

bool fakeDescribeFile(FileHandle, FileFacts* facts) {
  std::lock_guard<std::mutex> guard(file.lock);
  *facts = FileFacts{};
  facts->kind = file.kind;
  facts->size = file.bytes.size();
  facts->position = file.position;
  return true;
}

bool fakeWaitWritable(FileHandle, int) {
  return true;
}

// How a channel is set up: its kind, and for a gathering one how much of its output the
// producer writes in place before the writer thread takes over.
struct ChannelSetup {
  ChannelKind kind;
  uint64_t writtenInPlace = kWrittenInPlace;
};

// Every kind, and the gathering ones with the writer thread from the first buffer and
// with the producer handing over to it after two and a half buffers.
const ChannelSetup kSetups[] = {{ChannelKind::Direct},
                                {ChannelKind::DiskFile},
                                {ChannelKind::DiskFile, 0},
                                {ChannelKind::DiskFile, 5 * kGatherBytes / 2},
                                {ChannelKind::Stream},
                                {ChannelKind::Stream, 0},
                                {ChannelKind::Stream, 5 * kGatherBytes / 2}};

void PrintTo(const ChannelSetup& setup, std::ostream* out) {
  *out << "kind " << static_cast<int>(setup.kind) << " in place " << setup.writtenInPlace;
}

// A channel set up as `setup` says on the memory file, which starts as `old` and takes
// `room` bytes.
struct ChannelOnMemory {
  ScopedSystemCalls restore;
  std::atomic<FileHandle> handle{kFile};
  OutputChannel channel;

  // A direct channel reaches a device, unless `regularFile` says it reaches a file.
  ChannelOnMemory(ChannelSetup setup, const std::string& old = "", size_t room = SIZE_MAX,
                  bool regularFile = false) {
    const ChannelKind kind = setup.kind;
    file.kind = kind == ChannelKind::DiskFile || regularFile ? FileKind::Disk
                : kind == ChannelKind::Stream                ? FileKind::Pipe
                                                             : FileKind::Device;
    file.bytes = old;
    file.position = 0;
    file.room = room;
    SystemCalls& table = systemCalls();
    table.writeFile = fakeWriteFile;
    table.writeFileAt = fakeWriteFileAt;
    table.cutFile = fakeCutFile;
    table.describeFile = fakeDescribeFile;
    table.waitWritable = fakeWaitWritable;
    table.startThread = countedStartThread;
    threadsStarted = 0;
    startChannel(channel, kind, &handle, "\n");
    channel.writtenInPlace = setup.writtenInPlace;
  }
  ~ChannelOnMemory() { releaseChannel(channel); }

  // Commits `record` (its text, then the channel's terminator "\n") `count` times in
  // batches as the channel makes room; the status of the first step that is not Ok. Only
  // the texts are written: the channel puts the terminators in place.
  ChannelStatus put(const std::string& record, size_t count) {
    const size_t width = record.size() - 1;
    while (count > 0) {
      RecordRoom room;
      const ChannelStatus reserved = reserveRecords(channel, width, count, room);
      if (reserved != ChannelStatus::Ok) return reserved;
      for (size_t i = 0; i < room.count; ++i) {
        std::copy_n(record.begin(), width, room.bytes + i * room.stride);
      }
      const ChannelStatus committed = commitRecords(channel, room.count);
      if (committed != ChannelStatus::Ok) return committed;
      count -= room.count;
    }
    return ChannelStatus::Ok;
  }
};

// Runs of equal records, of random lengths and counts, and the bytes they make.
struct RecordRuns {
  std::vector<std::pair<std::string, size_t>> runs;
  std::string bytes;
  std::vector<size_t> ends;  // where each record ends

  RecordRuns(unsigned seed, size_t totalBytes) {
    std::mt19937 random(seed);
    while (bytes.size() < totalBytes) {
      const size_t length = 2 + random() % 300;
      const size_t count = 1 + random() % (random() % 2 ? 3 : 5000);
      std::string record(length - 2, static_cast<char>('a' + runs.size() % 26));
      record += std::to_string(runs.size() % 10) + "\n";
      record = record.substr(record.size() - length);
      runs.emplace_back(record, count);
      for (size_t i = 0; i < count; ++i) {
        bytes += record;
        ends.push_back(bytes.size());
      }
    }
  }

  // True when `prefix` is the bytes of the first so many whole records.
  bool wholePrefix(const std::string& prefix) const {
    return bytes.compare(0, prefix.size(), prefix) == 0 &&
           (prefix.empty() || std::binary_search(ends.begin(), ends.end(), prefix.size()));
  }
};

TEST(OutputChannelTest, RecordsReachTheFileWholeAndOnceWhateverTheirBatches) {
  for (const ChannelSetup& setup : kSetups) {
    const ChannelKind kind = setup.kind;
    for (unsigned seed = 1; seed <= 4; ++seed) {
      SCOPED_TRACE(testing::Message() << testing::PrintToString(setup) << " seed " << seed);
      const RecordRuns records(seed, kind == ChannelKind::Direct ? 20000 : 6 * kGatherBytes);
      ChannelOnMemory memory(setup, std::string(100, 'o'));
      for (const auto& [record, count] : records.runs) {
        ASSERT_EQ(memory.put(record, count), ChannelStatus::Ok);
      }
      ASSERT_EQ(drainChannel(memory.channel), ChannelStatus::Ok);
      // A writer thread takes part only in an output longer than what is written in place.
      EXPECT_EQ(threadsStarted > 0, kind != ChannelKind::Direct &&
                                        setup.writtenInPlace + kGatherBytes < records.bytes.size());
      // A device is never cut: the old bytes beyond the new ones stay.
      const std::string expected =
          kind == ChannelKind::DiskFile || records.bytes.size() >= 100
              ? records.bytes
              : records.bytes + std::string(100 - records.bytes.size(), 'o');
      EXPECT_TRUE(file.bytes == expected);
    }
  }
}

TEST(OutputChannelTest, AnOutputSaidToBeLongGoesToTheWriterThreadFromItsFirstBuffer) {
  // Three buffers' worth: short enough to be written in place unless said to be long.
  const RecordRuns records(5, 3 * kGatherBytes);
  for (const ChannelKind kind : {ChannelKind::DiskFile, ChannelKind::Stream}) {
    for (const uint64_t expected :
         {uint64_t{0}, uint64_t{records.bytes.size()}, kWrittenInPlace + 1}) {
      SCOPED_TRACE(testing::Message() << static_cast<int>(kind) << " expecting " << expected);
      ChannelOnMemory memory({kind});
      expectOutput(memory.channel, expected);
      for (const auto& [record, count] : records.runs) {
        ASSERT_EQ(memory.put(record, count), ChannelStatus::Ok);
      }
      ASSERT_EQ(drainChannel(memory.channel), ChannelStatus::Ok);
      EXPECT_EQ(threadsStarted > 0, expected > kWrittenInPlace);
      EXPECT_TRUE(file.bytes == records.bytes);
    }
  }
}

TEST(OutputChannelTest, AFileThatFillsUpKeepsOnlyWholeRecords) {
  const RecordRuns records(7, 3 * kGatherBytes);
  for (const ChannelSetup& setup : kSetups) {
    if (setup.kind == ChannelKind::Stream) continue;
    for (size_t room :
         {size_t{0}, size_t{1}, size_t{4095}, kGatherBytes + 17, 2 * kGatherBytes + 4099}) {
      SCOPED_TRACE(testing::Message() << testing::PrintToString(setup) << " room " << room);
      // A direct channel on a regular file keeps whole records too.
      ChannelOnMemory memory(setup, "", room, true);
      ChannelStatus status = ChannelStatus::Ok;
      for (const auto& [record, count] : records.runs) {
        status = memory.put(record, count);
        if (status != ChannelStatus::Ok) break;
      }
      if (status == ChannelStatus::Ok) status = drainChannel(memory.channel);
      ASSERT_EQ(status, ChannelStatus::Refused);
      abandonChannel(memory.channel);
      EXPECT_LE(file.bytes.size(), room);
      EXPECT_TRUE(records.wholePrefix(file.bytes)) << file.bytes.size() << " bytes";
    }
  }
}

TEST(OutputChannelTest, TheHandOverWritesWhatIsHeldExactlyOnce) {
  for (const ChannelSetup& setup : kSetups) {
    for (size_t total : {size_t{0}, size_t{100}, kGatherBytes / 2, 3 * kGatherBytes + 5}) {
      SCOPED_TRACE(testing::Message() << testing::PrintToString(setup) << " " << total);
      const RecordRuns records(11, total);
      ChannelOnMemory memory(setup);
      for (const auto& [record, count] : records.runs) {
        ASSERT_EQ(memory.put(record, count), ChannelStatus::Ok);
      }
      const int64_t deadline = systemCalls().monotonicNanoseconds() + 1000000000;
      EXPECT_EQ(handOverForEnd(memory.channel, deadline), ChannelStatus::Ok);
      EXPECT_EQ(handOverForEnd(memory.channel, deadline), ChannelStatus::Ok);
      EXPECT_TRUE(file.bytes == records.bytes) << file.bytes.size() << " bytes";
    }
  }
}

TEST(OutputChannelTest, OldContentGoesOnlyWithTheFirstRecords) {
  ChannelOnMemory untouched({ChannelKind::DiskFile}, "old model\n");
  ASSERT_EQ(drainChannel(untouched.channel), ChannelStatus::Ok);
  EXPECT_EQ(file.bytes, "old model\n");

  ChannelOnMemory replaced({ChannelKind::DiskFile}, "a longer old model\n");
  ASSERT_EQ(replaced.put("new\r\n", 2), ChannelStatus::Ok);
  EXPECT_EQ(file.bytes, "a longer old model\n") << "records are still gathered";
  ASSERT_EQ(drainChannel(replaced.channel), ChannelStatus::Ok);
  EXPECT_EQ(file.bytes, "new\r\nnew\r\n");
}

TEST(OutputChannelTest, ARecordLongerThanAnyBufferIsRefused) {
  ChannelOnMemory memory({ChannelKind::DiskFile});
  RecordRoom room;
  // With its terminator, a text of kMaxRecordBytes is one byte too long.
  EXPECT_EQ(reserveRecords(memory.channel, kMaxRecordBytes, 1, room), ChannelStatus::NoMemory);
  EXPECT_EQ(reserveRecords(memory.channel, kMaxRecordBytes - 1, 1, room), ChannelStatus::Ok);
}

}  // namespace
