#include "text/record_sink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/session.h"

namespace tambri {
namespace {

// Records of every length up to far beyond the buffer, written as text and
// built in place, must reach the file complete and in order, whether the sink
// is closed or just goes out of scope.
TEST(FileRecordSink, RecordsOfEveryLengthReachTheFileInOrder) {
  test::TempDir dir;
  for (const bool close : {true, false}) {
    const std::filesystem::path path = dir / (close ? "closed.txt" : "dropped.txt");
    std::string expected;
    {
      FileRecordSink sink(path.string());
      ASSERT_TRUE(sink.ok());
      for (int k = 0; k < 3000; ++k) {
        const std::string text(static_cast<size_t>(k % 97), static_cast<char>('a' + k % 26));
        if (k % 2 == 0) {
          sink.record(text);
        } else {
          char* at = sink.open_record(text.size() + 10);
          std::memcpy(at, text.data(), text.size());
          sink.end_record(at + text.size());
        }
        expected += text + '\n';
        if (k == 1500) {
          const std::string huge(200000, 'h');  // longer than the whole buffer
          sink.record(huge);
          expected += huge + '\n';
        }
      }
      sink.record("");
      expected += '\n';
      if (close) {
        EXPECT_TRUE(sink.close());
        EXPECT_TRUE(sink.ok());
      }
    }
    EXPECT_EQ(test::read_file(path), expected) << path;
  }
}

TEST(FileRecordSink, FileThatCannotBeOpenedTakesRecordsHarmlessly) {
  test::TempDir dir;
  FileRecordSink sink((dir / "fehlt" / "x.txt").string());
  EXPECT_FALSE(sink.ok());
  for (int k = 0; k < 10000; ++k) sink.record("record that goes nowhere");
  EXPECT_FALSE(sink.close());
}

// /dev/full accepts the open and refuses every write.
TEST(FileRecordSink, FailedWriteIsReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  {
    FileRecordSink sink("/dev/full");
    ASSERT_TRUE(sink.ok());
    sink.record("short");  // still in the buffer
    EXPECT_TRUE(sink.ok());
    EXPECT_FALSE(sink.close());
    EXPECT_FALSE(sink.ok());
  }
  FileRecordSink sink("/dev/full");
  for (int k = 0; k < 10000 && sink.ok(); ++k) sink.record("a record of some length, again and again");
  EXPECT_FALSE(sink.ok());  // known as soon as a full buffer went out
  EXPECT_FALSE(sink.close());
}

}  // namespace
}  // namespace tambri
