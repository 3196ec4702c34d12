#include "model/structure_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "model/assignment.h"
#include "support/text_cases.h"

namespace tambri {
namespace {

using Status = StructureReadStatus;
using namespace std::string_literals;

// Writes a number over the file content, little-endian as in the file.
template <class T>
void put(std::string& bytes, size_t at, T value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  for (size_t k = 0; k < sizeof value; ++k) bytes.at(at + k) = static_cast<char>((bits >> (8 * k)) & 0xFF);
}

// A model that uses every list to its capacity, the full grid and awkward doubles.
StructureModel full_model() {
  StructureModel m;
  m.problem = FieldProblem::kMagnetostatic;
  m.xb = -0.0;
  m.yb = std::numeric_limits<double>::denorm_min();
  m.xe = 2.0;
  m.ye = std::numeric_limits<double>::max();
  m.tables.material0 = 4.5;
  m.grid.nx = m.grid.ny = kMaxLines;
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

// A small structure with one part of every shape.
StructureModel small_model() {
  StructureModel m;
  m.problem = FieldProblem::kElectrostatic;
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

TEST(StructureFileFraming, BlocksLengthBytesAndMarksSitWhereTheLayoutPutsThem) {
  StructureModel empty, long_grid;
  empty.problem = FieldProblem::kCurrentFlow;
  long_grid.grid.nx = 201;
  long_grid.grid.ny = 16;
  const std::string bytes[] = {encode_structure(empty), encode_structure(long_grid)};
  ASSERT_EQ(bytes[0].size(), 361u);
  for (const test::CaseRow& c : test::read_cases("tests/model/data/structure_file_bytes.txt")) {
    size_t at = std::stoul(c[1]);
    for (const std::string& hex : test::words(c[2])) {
      EXPECT_EQ(static_cast<unsigned char>(bytes[c[0] == "long"].at(at)), std::stoi(hex, nullptr, 16))
          << c.where << " byte " << at;
      ++at;
    }
  }
  // Every full block of the long x lines is framed by 0x81 on both sides.
  for (size_t at = 62; at < 62 + 130 * 12; at += 130) {
    EXPECT_EQ(bytes[1].substr(at, 1) + bytes[1].substr(at + 129, 1), "\x81\x81") << "block at " << at;
  }
}

// Every member the file holds, as bit patterns (so -0.0 is not 0.0), with
// the unused slots 0 and the entries beyond the counts.
std::vector<uint64_t> members(const StructureModel& m) {
  std::vector<uint64_t> bits;
  const auto add = [&](auto... x) { (bits.push_back(std::bit_cast<uint64_t>(static_cast<double>(x))), ...); };
  add(m.problem, m.xb, m.yb, m.xe, m.ye, m.grid.nx, m.grid.ny, m.tables.material0, m.sequence_length);
  add(m.points.count, m.rectangles.count, m.triangles.count, m.circles.count, m.borders.count);
  for (int k = 0; k <= kMaxLines; ++k) add(m.grid.x[k], m.grid.y[k]);
  for (int n = 0; n <= 9; ++n)
    add(m.tables.material[n], m.tables.potential[n], m.tables.excitation[n], m.tables.reserved[n]);
  for (const PointPart& p : m.points.at) add(p.xp, p.yp, p.code);
  for (const RectanglePart& p : m.rectangles.at) add(p.xlo, p.ylo, p.xru, p.yru, p.code);
  for (const TrianglePart& p : m.triangles.at) add(p.x1, p.y1, p.x2, p.y2, p.x3, p.y3, p.code);
  for (const CirclePart& p : m.circles.at) add(p.xmi, p.ymi, p.rad, p.code);
  for (const BorderPart& p : m.borders.at) add(p.side, p.code);
  for (int32_t code : m.sequence) add(code);
  return bits;
}

// Read into a fresh model, member by member: a member the reader skips shows
// even when the writer leaves it out as well.
TEST(StructureFileRoundTrip, EveryMemberComesBackBitForBit) {
  const StructureModel model = full_model();
  StructureModel loaded;
  const StructureReadResult result = decode_structure(encode_structure(model), loaded);
  EXPECT_EQ(result.status, Status::kOk);
  EXPECT_EQ(result.records_read, 12);
  const std::vector<uint64_t> want = members(model), got = members(loaded);
  const auto first = std::mismatch(want.begin(), want.end(), got.begin()).first;
  EXPECT_TRUE(first == want.end()) << "member " << first - want.begin();
}

// A file cut where a record would start is too short (also with an end mark
// there); cut inside a record it is damaged. Either way only the complete
// records are taken and no count goes beyond its capacity.
TEST(StructureFileReading, FileCutAfterEachRecordIsTooShortAndCutInsideOneIsAnError) {
  const std::string bytes = encode_structure(small_model());
  // Data bytes of the twelve records; each takes two framing bytes per full
  // block of 128 and two for the last (possibly empty) block.
  const size_t lengths[12] = {5, 52, 8 * 3, 8 * 3, 252, 24, 20, 36, 52, 28, 8, 4 * 5};
  std::vector<size_t> ends{1};
  for (size_t length : lengths) ends.push_back(ends.back() + length + 2 * (length / 128 + 1));
  ASSERT_EQ(ends.back() + 1, bytes.size());
  for (size_t length = 0; length + 1 < bytes.size(); ++length) {
    const int complete = static_cast<int>(std::upper_bound(ends.begin(), ends.end(), length) - ends.begin()) - 1;
    const bool at_end = length == 0 || length == ends[static_cast<size_t>(std::max(complete, 0))];
    for (const std::string& cut : {bytes.substr(0, length), bytes.substr(0, length) + "\x82"}) {
      if (cut.size() > length && (length == 0 || !at_end)) continue;
      StructureModel loaded;
      const StructureReadResult r = decode_structure(cut, loaded);
      EXPECT_EQ(r.status, at_end ? Status::kTooShort : Status::kError) << "cut at " << length;
      EXPECT_EQ(r.records_read, std::max(complete, 0)) << "cut at " << length;
      expect_within_capacities(loaded);
    }
  }
}

TEST(StructureFileReading, CountsBeyondTheCapacitiesAndUnknownProblemsAreRefusedBeforeAnythingIsStored) {
  const std::string good = encode_structure(StructureModel{});
  for (const test::CaseRow& c : test::read_cases("tests/model/data/structure_file_counts.txt")) {
    std::string bytes = good;
    put(bytes, std::stoul(c[0]), int32_t{std::stoi(c[1])});
    StructureModel loaded;
    const StructureReadResult r = decode_structure(bytes, loaded);
    EXPECT_EQ(r.status, Status::kError) << c.where;
    EXPECT_EQ(r.records_read, std::stoi(c[2])) << c.where;
    EXPECT_EQ(loaded.problem, FieldProblem::kElectrostatic) << c.where;
    EXPECT_EQ(loaded.grid.nx + loaded.grid.ny, 0);
    EXPECT_EQ(loaded.points.count + loaded.rectangles.count + loaded.borders.count + loaded.sequence_length, 0);
  }
}

TEST(StructureFileReading, EntrySequenceMustNameEveryPartOnce) {
  StructureModel m;
  m.points.count = m.sequence_length = 1;
  StructureModel loaded;
  // The point; a part that does not exist; no shape at all; the point left out.
  const std::tuple<int, int, bool> cases[] = {
      {kShapePoint, 1, true}, {kShapeCircle, 1, false}, {3, 1, false}, {0, 1, false}, {kShapePoint, 0, false}};
  for (const auto& [code, length, ok] : cases) {
    m.sequence[1] = code;
    m.sequence_length = length;
    EXPECT_EQ(decode_structure(encode_structure(m), loaded).status, ok ? Status::kOk : Status::kError) << code;
  }
}

TEST(HostileStructureFiles, ForeignVersionAndEveryChangedFramingByte) {
  const std::string good = encode_structure(small_model());
  StructureModel loaded;
  std::string other_version = good;
  other_version[4] = '2';  // "V4.2 "
  EXPECT_EQ(decode_structure(other_version, loaded).status, Status::kWrongVersion);
  // A last block of exactly 128 bytes is legal on reading, though never written.
  std::string short_form = encode_structure(StructureModel{});
  short_form.replace(62, 2, std::string(1, '\x80') + std::string(128, '\0') + '\x80');
  EXPECT_EQ(decode_structure(short_form, loaded).status, Status::kOk);

  // The start mark and the length byte before and after each block (the end
  // mark after the last record is not read).
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
      StructureModel damaged;
      EXPECT_NE(decode_structure(bytes, damaged).status, Status::kOk) << "byte " << at << " = " << int{replacement};
      expect_within_capacities(damaged);
    }
  }
}

TEST(HostileStructureFiles, NonFiniteNumbersAndGridLinesThatDoNotRiseAreRefused) {
  for (const test::CaseRow& c : test::read_cases("tests/model/data/structure_file_numbers.txt")) {
    for (double v : test::numbers(c[3])) {
      std::string bytes = encode_structure(small_model());
      put(bytes, std::stoul(c[1]), v);
      StructureModel loaded;
      const StructureReadResult r = decode_structure(bytes, loaded);
      EXPECT_EQ(r.status, Status::kError) << c.where << " " << v;
      EXPECT_EQ(r.records_read, std::stoi(c[2])) << c.where;
      EXPECT_EQ(loaded.grid.y[2], std::stoi(c[2]) > 3 ? 0.5 : 0.0) << c.where;  // refused lines are not taken
    }
  }
}

}  // namespace
}  // namespace tambri
