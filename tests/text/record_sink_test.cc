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
        const std::string text = k == 1500 ? std::string(200000, 'h')  // longer than the whole buffer
                                           : std::string(static_cast<size_t>(k % 97), static_cast<char>('a' + k % 26));
        if (k % 2 == 0) {
          sink.record(text);
        } else {
          char* at = sink.open_record(text.size() + 10);
          std::memcpy(at, text.data(), text.size());
          sink.end_record(at + text.size());
        }
        expected += text + '\n';
      }
      sink.record("");
      expected += '\n';
      if (close) {
        EXPECT_TRUE(sink.close() && sink.ok());
      }
    }
    EXPECT_EQ(test::read_file(path), expected) << path;
  }
}

// A file that cannot be opened takes records harmlessly; /dev/full accepts
// the open and refuses every write, which is known as soon as a full buffer
// went out, or at the latest on closing.
TEST(FileRecordSink, FailedOpenAndFailedWriteAreReported) {
  test::TempDir dir;
  FileRecordSink missing((dir / "fehlt" / "x.txt").string());
  EXPECT_FALSE(missing.ok());
  for (int k = 0; k < 10000; ++k) missing.record("record that goes nowhere");
  EXPECT_FALSE(missing.close());
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  {
    FileRecordSink sink("/dev/full");
    sink.record("short");  // still in the buffer
    EXPECT_TRUE(sink.ok());
    EXPECT_FALSE(sink.close());
    EXPECT_FALSE(sink.ok());
  }
  FileRecordSink sink("/dev/full");
  for (int k = 0; k < 10000 && sink.ok(); ++k) sink.record("a record of some length, again and again");
  EXPECT_FALSE(sink.ok());
  EXPECT_FALSE(sink.close());
}

}  // namespace
}  // namespace tambri
