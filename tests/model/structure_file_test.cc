#include "model/structure_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/assignment.h"

namespace tambri {
namespace {

int byte_at(const std::string& bytes, size_t at) { return static_cast<unsigned char>(bytes.at(at)); }

int32_t int_at(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (size_t k = 0; k < 4; ++k) v |= uint32_t{static_cast<unsigned char>(bytes.at(at + k))} << (8 * k);
  return static_cast<int32_t>(v);
}

void put_int(std::string& bytes, size_t at, int32_t value) {
  for (size_t k = 0; k < 4; ++k) bytes.at(at + k) = static_cast<char>((static_cast<uint32_t>(value) >> (8 * k)) & 0xFF);
}

// Bytes a record of `length` data bytes takes on disk: its data, plus two
// framing bytes per full block and for the last (possibly empty) block.
size_t framed(size_t length) { return length + 2 * (length / 128 + 1); }

// A model that uses every list, the full grid and awkward doubles.
StructureModel full_model() {
  StructureModel m;
  m.problem = kProblemM;
  m.xb = -0.0;
  m.yb = std::numeric_limits<double>::denorm_min();
  m.xe = 2.0;
  m.ye = std::numeric_limits<double>::max();
  m.tables.material0 = 4.5;
  m.grid.nx = kMaxLines;
  m.grid.ny = kMaxLines;
  for (int i = 1; i <= kMaxLines; ++i) {
    m.grid.x[i] = 0.01 * i;
    m.grid.y[i] = -1.0 + 1e-3 * i * i;
  }
  for (int n = 1; n <= 9; ++n) {
    m.tables.potential[n] = 10.0 * n;
    m.tables.material[n] = 1.0 + n;
    m.tables.excitation[n] = -0.5 * n;
    m.tables.reserved[n] = n == 3 ? 7 : 0;
  }
  m.points.count = m.rectangles.count = m.triangles.count = m.circles.count = kMaxShapeParts;
  for (int k = 1; k <= kMaxShapeParts; ++k) {
    m.points.at[k] = {0.1 * k, 0.2 * k, k % 10};
    m.rectangles.at[k] = {0.1 * k, 0.2, 0.3 * k, 0.4, 10 * (k % 9 + 1)};
    m.triangles.at[k] = {1.0 * k, 2.0, 3.0, 4.0 * k, 5.0, 6.0, 100 * (k % 9 + 1)};
    m.circles.at[k] = {0.5, 0.25 * k, 1e-3 * k, kEmptyCode};
  }
  m.borders.count = kMaxBorders;
  for (int k = 1; k <= kMaxBorders; ++k) m.borders.at[k] = {k + 1, 10 * k};
  m.sequence_length = kMaxParts;
  for (int k = 1; k <= kMaxParts; ++k) {
    m.sequence[k] = k > 4 * kMaxShapeParts ? kShapeBorder : std::array<int32_t, 4>{1, 2, 4, 5}[k % 4];
  }
  return m;
}

TEST(StructureFileFraming, EmptyStructureMatchesTheOnDiskLayout) {
  StructureModel m;
  m.problem = kProblemS;
  const std::string bytes = encode_structure(m);
  ASSERT_EQ(bytes.size(), 361u);
  EXPECT_EQ(byte_at(bytes, 0), 0x4B);
  EXPECT_EQ(bytes.substr(1, 7), "\x05V4.3 \x05");
  // Record 2: 52 bytes framed by 0x34, starting with the problem code, nx, ny.
  EXPECT_EQ(byte_at(bytes, 8), 0x34);
  EXPECT_EQ(int_at(bytes, 9), kProblemS);
  EXPECT_EQ(int_at(bytes, 13), 0);
  EXPECT_EQ(byte_at(bytes, 61), 0x34);
  // Records 3 and 4 are empty.
  EXPECT_EQ(bytes.substr(62, 4), std::string(4, '\0'));
  // Record 5: a continued block of 128 bytes and a last block of 124.
  EXPECT_EQ(byte_at(bytes, 66), 0x81);
  EXPECT_EQ(byte_at(bytes, 195), 0x81);
  EXPECT_EQ(byte_at(bytes, 196), 0x7C);
  EXPECT_EQ(byte_at(bytes, 321), 0x7C);
  EXPECT_EQ(byte_at(bytes, 322), 0x18);
  // Records 7 to 12 without parts are empty blocks; then the end mark.
  EXPECT_EQ(bytes.substr(348, 12), std::string(12, '\0'));
  EXPECT_EQ(byte_at(bytes, 360), 0x82);
}

TEST(StructureFileFraming, FullBlocksAreFollowedByTheRestOrAnEmptyBlock) {
  StructureModel m;
  m.grid.nx = 201;  // 1608 bytes = 12 * 128 + 72
  m.grid.ny = 16;   // 128 bytes: one continued block and an empty one
  const std::string bytes = encode_structure(m);
  for (size_t block = 0; block < 12; ++block) {
    EXPECT_EQ(byte_at(bytes, 62 + 130 * block), 0x81) << block;
    EXPECT_EQ(byte_at(bytes, 62 + 130 * block + 129), 0x81) << block;
  }
  EXPECT_EQ(byte_at(bytes, 1622), 72);
  EXPECT_EQ(byte_at(bytes, 1695), 72);
  EXPECT_EQ(byte_at(bytes, 1696), 0x81);
  EXPECT_EQ(byte_at(bytes, 1825), 0x81);
  EXPECT_EQ(bytes.substr(1826, 2), std::string(2, '\0'));
  EXPECT_EQ(byte_at(bytes, 1828), 0x81);  // record 5 follows
}

TEST(StructureFileRoundTrip, EveryMemberComesBackBitForBit) {
  const StructureModel original = full_model();
  const std::string bytes = encode_structure(original);
  StructureModel loaded;
  const StructureReadResult result = decode_structure(bytes, loaded);
  EXPECT_EQ(result.status, StructureReadStatus::kOk);
  EXPECT_EQ(result.records_read, 12);
  EXPECT_EQ(encode_structure(loaded), bytes);
  EXPECT_TRUE(std::signbit(loaded.xb));
  EXPECT_EQ(loaded.ye, std::numeric_limits<double>::max());
  EXPECT_EQ(loaded.yb, std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(loaded.tables.material0, 4.5);
  EXPECT_EQ(loaded.tables.reserved[3], 7);
  EXPECT_EQ(loaded.triangles.at[50].y2, 200.0);
  EXPECT_EQ(loaded.sequence[kMaxParts], kShapeBorder);
}

TEST(StructureFileReading, FileCutAfterEachRecordIsTooShortAndCutInsideOneIsAnError) {
  const StructureModel m = full_model();
  const std::string bytes = encode_structure(m);
  const size_t lengths[12] = {5, 52, 8 * 201, 8 * 201, 252, 24, 20 * 50, 36 * 50, 52 * 50, 28 * 50, 8 * 4, 4 * kMaxParts};
  size_t end = 1;  // after the start mark
  for (int records = 0; records < 12; ++records) {
    for (const std::string& cut : {bytes.substr(0, end), bytes.substr(0, end) + "\x82"}) {
      StructureModel loaded;
      const StructureReadResult r = decode_structure(cut, loaded);
      EXPECT_EQ(r.status, StructureReadStatus::kTooShort) << "after record " << records;
      EXPECT_EQ(r.records_read, records);
    }
    const size_t next_end = end + framed(lengths[records]);
    StructureModel loaded;
    const StructureReadResult r = decode_structure(bytes.substr(0, next_end - 1), loaded);
    EXPECT_EQ(r.status, StructureReadStatus::kError) << "inside record " << records + 1;
    EXPECT_EQ(r.records_read, records);
    end = next_end;
  }
  EXPECT_EQ(end + 1, bytes.size());
  StructureModel loaded;
  EXPECT_EQ(decode_structure("", loaded).status, StructureReadStatus::kTooShort);
}

TEST(StructureFileReading, CountsBeyondTheCapacitiesAreRefusedBeforeAnythingIsStored) {
  const std::string good = encode_structure(StructureModel{});
  struct Case {
    size_t offset;
    int32_t value;
    int records_read;
  };
  // Offsets of nx, ny (record 2) and NP, NB, NS (record 6) in a file without grid and parts.
  for (const Case& c : {Case{13, 202, 1}, Case{13, -1, 1}, Case{17, 1000000, 1}, Case{323, 51, 5},
                        Case{339, 5, 5}, Case{343, 251, 5}, Case{327, -2, 5}}) {
    std::string bytes = good;
    put_int(bytes, c.offset, c.value);
    StructureModel loaded;
    loaded.problem = kProblemS;
    const StructureReadResult r = decode_structure(bytes, loaded);
    EXPECT_EQ(r.status, StructureReadStatus::kError) << c.offset << " = " << c.value;
    EXPECT_EQ(r.records_read, c.records_read);
    EXPECT_EQ(loaded.grid.nx, 0);
    EXPECT_EQ(loaded.grid.ny, 0);
    EXPECT_EQ(loaded.points.count + loaded.rectangles.count + loaded.borders.count + loaded.sequence_length, 0);
  }
}

TEST(StructureFileReading, EntrySequenceMustNameEveryPartOnce) {
  StructureModel m;
  m.points.count = 1;
  m.sequence_length = 1;
  m.sequence[1] = kShapePoint;
  StructureModel loaded;
  EXPECT_EQ(decode_structure(encode_structure(m), loaded).status, StructureReadStatus::kOk);
  for (int32_t code : {kShapeCircle, 3, 0}) {
    m.sequence[1] = code;  // a part that does not exist, or no shape at all
    EXPECT_EQ(decode_structure(encode_structure(m), loaded).status, StructureReadStatus::kError) << code;
  }
  m.sequence[1] = kShapePoint;
  m.sequence_length = 0;  // the point is missing from the sequence
  EXPECT_EQ(decode_structure(encode_structure(m), loaded).status, StructureReadStatus::kError);
}

TEST(StructureFileReading, ForeignVersionAndDamagedFramingAreToldApart) {
  const std::string good = encode_structure(StructureModel{});
  StructureModel loaded;

  std::string other_version = good;
  other_version[4] = '2';  // "V4.2 "
  EXPECT_EQ(decode_structure(other_version, loaded).status, StructureReadStatus::kWrongVersion);

  EXPECT_EQ(decode_structure("\x4B\x03V4.\x03\x82", loaded).status, StructureReadStatus::kError);  // record 1 too short
  std::string mismatched = good;
  mismatched[61] = 0x33;  // closing byte of record 2
  EXPECT_EQ(decode_structure(mismatched, loaded).status, StructureReadStatus::kError);

  std::string bad_length = good;
  bad_length[62] = static_cast<char>(0x90);  // no block is that long
  EXPECT_EQ(decode_structure(bad_length, loaded).status, StructureReadStatus::kError);

  // A last block of exactly 128 bytes is legal on reading, though never written.
  std::string short_form = good;
  short_form.replace(62, 2, std::string(1, '\x80') + std::string(128, '\0') + '\x80');
  EXPECT_EQ(decode_structure(short_form, loaded).status, StructureReadStatus::kOk);
}

// A small structure with a part of every shape, for the byte-by-byte cases.
StructureModel small_model() {
  StructureModel m;
  m.problem = kProblemE;
  m.xe = m.ye = 1.0;
  m.grid.nx = m.grid.ny = 3;
  for (int n = 1; n <= 3; ++n) m.grid.x[n] = m.grid.y[n] = 0.5 * (n - 1);
  m.points.at[1] = {0.5, 0.5, 10};
  m.rectangles.at[1] = {0, 0, 0.5, 0.5, 2};
  m.triangles.at[1] = {0, 0, 1, 0, 0, 1, 100};
  m.circles.at[1] = {0.5, 0.5, 0.2, 3};
  m.borders.at[1] = {kSideOben, 20};
  m.points.count = m.rectangles.count = m.triangles.count = m.circles.count = m.borders.count = 1;
  m.sequence_length = 5;
  for (int k = 1; k <= 5; ++k) m.sequence[k] = std::array<int32_t, 5>{1, 2, 4, 5, 6}[k - 1];
  return m;
}

// Whatever a read leaves, no count lies beyond its capacity.
void expect_within_capacities(const StructureModel& m) {
  EXPECT_TRUE(m.grid.nx >= 0 && m.grid.nx <= kMaxLines && m.grid.ny >= 0 && m.grid.ny <= kMaxLines);
  for (int count : {m.points.count, m.rectangles.count, m.triangles.count, m.circles.count}) {
    EXPECT_TRUE(count >= 0 && count <= kMaxShapeParts);
  }
  EXPECT_TRUE(m.borders.count >= 0 && m.borders.count <= kMaxBorders);
  EXPECT_TRUE(m.sequence_length >= 0 && m.sequence_length <= kMaxSequence);
}

TEST(HostileStructureFiles, EveryTruncationPointIsRefused) {
  const std::string bytes = encode_structure(small_model());
  for (size_t length = 0; length < bytes.size() - 1; ++length) {
    StructureModel loaded;
    const StructureReadStatus status = decode_structure(bytes.substr(0, length), loaded).status;
    EXPECT_TRUE(status == StructureReadStatus::kTooShort || status == StructureReadStatus::kError) << length;
    expect_within_capacities(loaded);
  }
}

TEST(HostileStructureFiles, EveryChangedFramingByteIsRefused) {
  const std::string good = encode_structure(small_model());
  // The framing bytes: the start mark and the length byte before and after
  // each block (the end mark after the last record is not read).
  std::vector<size_t> framing = {0};
  for (size_t at = 1; at + 1 < good.size();) {
    const auto length = static_cast<unsigned char>(good[at]);
    const size_t data = length == 0x81 ? 128 : length;
    framing.push_back(at);
    framing.push_back(at + 1 + data);
    at += data + 2;
  }
  for (size_t at : framing) {
    for (unsigned char replacement : {0x00, 0x05, 0x7F, 0x80, 0x81, 0x82, 0xFF}) {
      if (static_cast<unsigned char>(good[at]) == replacement) continue;
      std::string bytes = good;
      bytes[at] = static_cast<char>(replacement);
      StructureModel loaded;
      EXPECT_NE(decode_structure(bytes, loaded).status, StructureReadStatus::kOk)
          << "byte " << at << " = " << int{replacement};
      expect_within_capacities(loaded);
    }
  }
}

TEST(HostileStructureFiles, NonFiniteNumbersAndGridLinesThatDoNotRiseAreRefused) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    void (*damage)(StructureModel&, double);
    int records_read;  // the damaged record is not taken
  };
  const Case cases[] = {
      {"extent", [](StructureModel& m, double v) { m.xe = v; }, 1},
      {"material 0", [](StructureModel& m, double v) { m.tables.material0 = v; }, 1},
      {"x line", [](StructureModel& m, double v) { m.grid.x[2] = v; }, 2},
      {"y line", [](StructureModel& m, double v) { m.grid.y[3] = v; }, 3},
      {"potential", [](StructureModel& m, double v) { m.tables.potential[9] = v; }, 4},
      {"material", [](StructureModel& m, double v) { m.tables.material[1] = v; }, 4},
      {"excitation", [](StructureModel& m, double v) { m.tables.excitation[5] = v; }, 4},
      {"point", [](StructureModel& m, double v) { m.points.at[1].yp = v; }, 6},
      {"rectangle", [](StructureModel& m, double v) { m.rectangles.at[1].xru = v; }, 7},
      {"triangle", [](StructureModel& m, double v) { m.triangles.at[1].y3 = v; }, 8},
      {"circle", [](StructureModel& m, double v) { m.circles.at[1].rad = v; }, 9},
  };
  for (const Case& c : cases) {
    for (double v : {nan, inf, -inf}) {
      StructureModel m = small_model();
      c.damage(m, v);
      StructureModel loaded;
      const StructureReadResult r = decode_structure(encode_structure(m), loaded);
      EXPECT_EQ(r.status, StructureReadStatus::kError) << c.what << " " << v;
      EXPECT_EQ(r.records_read, c.records_read) << c.what;
    }
  }
  for (double second : {0.0, -0.5}) {  // equal to the first line, or below it
    StructureModel m = small_model();
    m.grid.y[2] = second;
    StructureModel loaded;
    EXPECT_EQ(decode_structure(encode_structure(m), loaded).status, StructureReadStatus::kError) << second;
    EXPECT_EQ(loaded.grid.y[2], 0.0);  // the refused lines are not taken
  }
}

}  // namespace
}  // namespace tambri
