#include "model/structure_file.h"

#include <cmath>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>

namespace tambri {
namespace {

constexpr unsigned char kFileStart = 0x4B;
constexpr unsigned char kContinued = 0x81;  // a full block, the record goes on
constexpr unsigned char kFileEnd = 0x82;
constexpr size_t kBlockSize = 128;
constexpr size_t kVersionTagLength = 5;

// Sizes of the fixed records and of one entry of the variable ones.
constexpr size_t kHeaderSize = 3 * 4 + 5 * 8;
constexpr size_t kTableSize = 9 * (3 * 8 + 4);
constexpr size_t kCountsSize = 6 * 4;
constexpr size_t kPointSize = 2 * 8 + 4;
constexpr size_t kRectangleSize = 4 * 8 + 4;
constexpr size_t kTriangleSize = 6 * 8 + 4;
constexpr size_t kCircleSize = 3 * 8 + 4;
constexpr size_t kBorderSize = 2 * 4;

// A count as written: a model that broke its own capacities still yields a
// consistent file and no read beyond an array.
int stored_count(int32_t count, int capacity) { return std::clamp<int>(count, 0, capacity); }

bool count_fits(int32_t count, int capacity) { return count >= 0 && count <= capacity; }

bool all_finite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

// Grid lines must be finite and strictly increasing: every spacing is divided by.
bool lines_increase(const GridLines& lines, int count) {
  for (int n = 1; n <= count; ++n) {
    if (!std::isfinite(lines[n]) || (n > 1 && !(lines[n] > lines[n - 1]))) return false;
  }
  return true;
}

class RecordWriter {
 public:
  RecordWriter() { out_.push_back(static_cast<char>(kFileStart)); }

  void i32(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int k = 0; k < 4; ++k) record_.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
  }
  void f64(double value) {
    const auto bits = std::bit_cast<uint64_t>(value);
    for (int k = 0; k < 8; ++k) record_.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
  }
  void chars(std::string_view text) { record_ += text; }

  // Frames the record collected so far into blocks.
  void end_record() {
    std::string_view rest = record_;
    while (rest.size() >= kBlockSize) {
      block(kContinued, rest.substr(0, kBlockSize));
      rest.remove_prefix(kBlockSize);
    }
    block(static_cast<unsigned char>(rest.size()), rest);
    record_.clear();
  }

  std::string finish() {
    out_.push_back(static_cast<char>(kFileEnd));
    return std::move(out_);
  }

 private:
  void block(unsigned char length, std::string_view data) {
    out_.push_back(static_cast<char>(length));
    out_ += data;
    out_.push_back(static_cast<char>(length));
  }

  std::string out_;
  std::string record_;
};

enum class Next { kRecord, kEnd, kDamaged };

class RecordReader {
 public:
  explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

  Next start() {
    if (bytes_.empty()) return Next::kEnd;
    if (byte(0) != kFileStart) return Next::kDamaged;
    pos_ = 1;
    return Next::kRecord;
  }

  // The next logical record. The file may end (or carry its end mark) only
  // between records; an end inside a record is damage.
  Next next(std::string& record) {
    record.clear();
    for (bool first = true;; first = false) {
      if (pos_ >= bytes_.size() || byte(pos_) == kFileEnd) return first ? Next::kEnd : Next::kDamaged;
      const unsigned char length = byte(pos_);
      const bool continued = length == kContinued;
      const size_t size = continued ? kBlockSize : length;
      if (size > kBlockSize || bytes_.size() - pos_ < size + 2 || byte(pos_ + 1 + size) != length) {
        return Next::kDamaged;
      }
      record += bytes_.substr(pos_ + 1, size);
      pos_ += size + 2;
      if (!continued) return Next::kRecord;
    }
  }

 private:
  unsigned char byte(size_t at) const { return static_cast<unsigned char>(bytes_[at]); }

  std::string_view bytes_;
  size_t pos_ = 0;
};

// Reads values from a record whose length has been checked beforehand.
class FieldCursor {
 public:
  explicit FieldCursor(std::string_view data) : data_(data) {}
  int32_t i32() { return static_cast<int32_t>(static_cast<uint32_t>(take(4))); }
  double f64() { return std::bit_cast<double>(take(8)); }

 private:
  uint64_t take(int bytes) {
    uint64_t bits = 0;
    for (int k = 0; k < bytes; ++k) {
      bits |= uint64_t{static_cast<unsigned char>(data_[pos_ + static_cast<size_t>(k)])} << (8 * k);
    }
    pos_ += static_cast<size_t>(bytes);
    return bits;
  }

  std::string_view data_;
  size_t pos_ = 0;
};

void write_tables(RecordWriter& w, const ValueTables& t) {
  for (int n = 1; n <= 9; ++n) {
    w.f64(t.potential[n]);
    w.f64(t.material[n]);
    w.f64(t.excitation[n]);
    w.i32(t.reserved[n]);
  }
}

void read_tables(FieldCursor& c, ValueTables& t) {
  for (int n = 1; n <= 9; ++n) {
    t.potential[n] = c.f64();
    t.material[n] = c.f64();
    t.excitation[n] = c.f64();
    t.reserved[n] = c.i32();
  }
}

// Records 2 to 12, each checked before anything of it is stored: its length,
// the field problem's code (no other code has a meaning the program could
// compute with), the counts of records 2 and 6 against the capacities, and
// every number it holds for being finite (grid lines also for rising), since
// the rest of the program divides by spacings and indexes by coordinates.
bool read_record(int number, std::string_view record, StructureModel& m) {
  FieldCursor c(record);
  auto long_enough = [&](size_t bytes) { return record.size() >= bytes; };
  switch (number) {
    case 2: {
      if (!long_enough(kHeaderSize)) return false;
      const std::optional<FieldProblem> problem = problem_of_code(c.i32());
      const int32_t nx = c.i32(), ny = c.i32();
      const double xb = c.f64(), yb = c.f64(), xe = c.f64(), ye = c.f64(), material0 = c.f64();
      if (!problem) return false;
      if (!count_fits(nx, kMaxLines) || !count_fits(ny, kMaxLines)) return false;
      if (!all_finite({xb, yb, xe, ye, material0})) return false;
      m.problem = *problem;
      m.grid.nx = nx;
      m.grid.ny = ny;
      m.xb = xb;
      m.yb = yb;
      m.xe = xe;
      m.ye = ye;
      m.tables.material0 = material0;
      return true;
    }
    case 3:
    case 4: {
      const int count = number == 3 ? m.grid.nx : m.grid.ny;
      if (!long_enough(8 * static_cast<size_t>(count))) return false;
      GridLines lines{};
      for (int n = 1; n <= count; ++n) lines[n] = c.f64();
      if (!lines_increase(lines, count)) return false;
      (number == 3 ? m.grid.x : m.grid.y) = lines;
      return true;
    }
    case 5: {
      if (!long_enough(kTableSize)) return false;
      ValueTables tables = m.tables;
      read_tables(c, tables);
      for (int n = 1; n <= 9; ++n) {
        if (!all_finite({tables.potential[n], tables.material[n], tables.excitation[n]})) return false;
      }
      m.tables = tables;
      return true;
    }
    case 6: {
      if (!long_enough(kCountsSize)) return false;
      const int32_t np = c.i32(), nr = c.i32(), nt = c.i32(), nc = c.i32(), nb = c.i32(), ns = c.i32();
      if (!count_fits(np, kMaxShapeParts) || !count_fits(nr, kMaxShapeParts) || !count_fits(nt, kMaxShapeParts) ||
          !count_fits(nc, kMaxShapeParts) || !count_fits(nb, kMaxBorders) || !count_fits(ns, kMaxSequence)) {
        return false;
      }
      m.points.count = np;
      m.rectangles.count = nr;
      m.triangles.count = nt;
      m.circles.count = nc;
      m.borders.count = nb;
      m.sequence_length = ns;
      return true;
    }
    case 7: {
      if (!long_enough(kPointSize * static_cast<size_t>(m.points.count))) return false;
      auto points = m.points;
      for (int k = 1; k <= points.count; ++k) {
        PointPart& p = points.at[k];
        p.xp = c.f64();
        p.yp = c.f64();
        p.code = c.i32();
        if (!all_finite({p.xp, p.yp})) return false;
      }
      m.points = points;
      return true;
    }
    case 8: {
      if (!long_enough(kRectangleSize * static_cast<size_t>(m.rectangles.count))) return false;
      auto rectangles = m.rectangles;
      for (int k = 1; k <= rectangles.count; ++k) {
        RectanglePart& r = rectangles.at[k];
        r.xlo = c.f64();
        r.ylo = c.f64();
        r.xru = c.f64();
        r.yru = c.f64();
        r.code = c.i32();
        if (!all_finite({r.xlo, r.ylo, r.xru, r.yru})) return false;
      }
      m.rectangles = rectangles;
      return true;
    }
    case 9: {
      if (!long_enough(kTriangleSize * static_cast<size_t>(m.triangles.count))) return false;
      auto triangles = m.triangles;
      for (int k = 1; k <= triangles.count; ++k) {
        TrianglePart& t = triangles.at[k];
        t.x1 = c.f64();
        t.y1 = c.f64();
        t.x2 = c.f64();
        t.y2 = c.f64();
        t.x3 = c.f64();
        t.y3 = c.f64();
        t.code = c.i32();
        if (!all_finite({t.x1, t.y1, t.x2, t.y2, t.x3, t.y3})) return false;
      }
      m.triangles = triangles;
      return true;
    }
    case 10: {
      if (!long_enough(kCircleSize * static_cast<size_t>(m.circles.count))) return false;
      auto circles = m.circles;
      for (int k = 1; k <= circles.count; ++k) {
        CirclePart& circle = circles.at[k];
        circle.xmi = c.f64();
        circle.ymi = c.f64();
        circle.rad = c.f64();
        circle.code = c.i32();
        if (!all_finite({circle.xmi, circle.ymi, circle.rad})) return false;
      }
      m.circles = circles;
      return true;
    }
    case 11:
      if (!long_enough(kBorderSize * static_cast<size_t>(m.borders.count))) return false;
      for (int k = 1; k <= m.borders.count; ++k) {
        m.borders.at[k].side = c.i32();
        m.borders.at[k].code = c.i32();
      }
      return true;
    case 12:
      if (!long_enough(4 * static_cast<size_t>(m.sequence_length))) return false;
      for (int k = 1; k <= m.sequence_length; ++k) m.sequence[k] = c.i32();
      return sequence_matches_lists(m);
  }
  return false;
}

}  // namespace

bool sequence_matches_lists(const StructureModel& m) {
  int points = 0, rectangles = 0, triangles = 0, circles = 0, borders = 0;
  for (int k = 1; k <= m.sequence_length; ++k) {
    switch (m.sequence[k]) {
      case kShapePoint: ++points; break;
      case kShapeRectangle: ++rectangles; break;
      case kShapeTriangle: ++triangles; break;
      case kShapeCircle: ++circles; break;
      case kShapeBorder: ++borders; break;
      default: return false;
    }
  }
  return points == m.points.count && rectangles == m.rectangles.count && triangles == m.triangles.count &&
         circles == m.circles.count && borders == m.borders.count;
}

std::string encode_structure(const StructureModel& m) {
  RecordWriter w;
  std::string tag = m.version_tag;
  tag.resize(kVersionTagLength, ' ');
  w.chars(tag);
  w.end_record();

  const int nx = stored_count(m.grid.nx, kMaxLines);
  const int ny = stored_count(m.grid.ny, kMaxLines);
  w.i32(code_of(m.problem));
  w.i32(nx);
  w.i32(ny);
  w.f64(m.xb);
  w.f64(m.yb);
  w.f64(m.xe);
  w.f64(m.ye);
  w.f64(m.tables.material0);
  w.end_record();

  for (int i = 1; i <= nx; ++i) w.f64(m.grid.x[i]);
  w.end_record();
  for (int j = 1; j <= ny; ++j) w.f64(m.grid.y[j]);
  w.end_record();

  write_tables(w, m.tables);
  w.end_record();

  const int np = stored_count(m.points.count, kMaxShapeParts);
  const int nr = stored_count(m.rectangles.count, kMaxShapeParts);
  const int nt = stored_count(m.triangles.count, kMaxShapeParts);
  const int nc = stored_count(m.circles.count, kMaxShapeParts);
  const int nb = stored_count(m.borders.count, kMaxBorders);
  const int ns = stored_count(m.sequence_length, kMaxSequence);
  for (int count : {np, nr, nt, nc, nb, ns}) w.i32(count);
  w.end_record();

  for (int k = 1; k <= np; ++k) {
    const PointPart& p = m.points.at[k];
    w.f64(p.xp);
    w.f64(p.yp);
    w.i32(p.code);
  }
  w.end_record();
  for (int k = 1; k <= nr; ++k) {
    const RectanglePart& r = m.rectangles.at[k];
    for (double v : {r.xlo, r.ylo, r.xru, r.yru}) w.f64(v);
    w.i32(r.code);
  }
  w.end_record();
  for (int k = 1; k <= nt; ++k) {
    const TrianglePart& t = m.triangles.at[k];
    for (double v : {t.x1, t.y1, t.x2, t.y2, t.x3, t.y3}) w.f64(v);
    w.i32(t.code);
  }
  w.end_record();
  for (int k = 1; k <= nc; ++k) {
    const CirclePart& c = m.circles.at[k];
    for (double v : {c.xmi, c.ymi, c.rad}) w.f64(v);
    w.i32(c.code);
  }
  w.end_record();
  for (int k = 1; k <= nb; ++k) {
    w.i32(m.borders.at[k].side);
    w.i32(m.borders.at[k].code);
  }
  w.end_record();
  for (int k = 1; k <= ns; ++k) w.i32(m.sequence[k]);
  w.end_record();
  return w.finish();
}

StructureReadResult decode_structure(std::string_view bytes, StructureModel& model) {
  RecordReader reader(bytes);
  auto failure = [](Next next, int records) {
    return StructureReadResult{next == Next::kEnd ? StructureReadStatus::kTooShort : StructureReadStatus::kError,
                               records};
  };
  if (Next start = reader.start(); start != Next::kRecord) return failure(start, 0);

  std::string record;
  if (Next next = reader.next(record); next != Next::kRecord) return failure(next, 0);
  if (record.size() < kVersionTagLength) return {StructureReadStatus::kError, 0};
  if (record.substr(0, kVersionTagLength) != model.version_tag) return {StructureReadStatus::kWrongVersion, 0};

  for (int number = 2; number <= 12; ++number) {
    if (Next next = reader.next(record); next != Next::kRecord) return failure(next, number - 1);
    if (!read_record(number, record, model)) return {StructureReadStatus::kError, number - 1};
  }
  return {StructureReadStatus::kOk, 12};
}

}  // namespace tambri
