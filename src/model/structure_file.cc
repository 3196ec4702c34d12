#include "model/structure_file.h"

#include <cmath>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <tuple>
#include <type_traits>

#include "model/part_lists.h"

namespace tambri {
namespace {

constexpr unsigned char kFileStart = 0x4B;
constexpr unsigned char kContinued = 0x81;  // a full block, the record goes on
constexpr unsigned char kFileEnd = 0x82;
constexpr size_t kBlockSize = 128;
constexpr size_t kVersionTagLength = 5;

// A count that sizes later records. Written clamped to its capacity, so a
// model that broke its own capacities still yields a consistent file and no
// read beyond an array; refused on reading when negative or beyond the
// capacity, so nothing is ever stored beyond one.
template <class Int>
struct Count {
  Int& value;
  int capacity;
};
template <class Int>
Count(Int&, int) -> Count<Int>;

int stored_count(int32_t count, int capacity) { return std::clamp<int>(count, 0, capacity); }

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

// Reads numbers from a record, little-endian. A read beyond the end of the
// record gives 0 and marks the record as too short for its content.
class FieldCursor {
 public:
  explicit FieldCursor(std::string_view data) : data_(data) {}
  void read(int32_t& value) { value = static_cast<int32_t>(static_cast<uint32_t>(take(4))); }
  void read(double& value) { value = std::bit_cast<double>(take(8)); }
  bool complete() const { return complete_; }

 private:
  uint64_t take(size_t bytes) {
    if (data_.size() - pos_ < bytes) {
      complete_ = false;
      pos_ = data_.size();
      return 0;
    }
    uint64_t bits = 0;
    for (size_t k = 0; k < bytes; ++k) bits |= uint64_t{static_cast<unsigned char>(data_[pos_ + k])} << (8 * k);
    pos_ += bytes;
    return bits;
  }

  std::string_view data_;
  size_t pos_ = 0;
  bool complete_ = true;
};

// What a field holds as read from the file, whether the reader takes it
// (numbers finite, since the program divides by spacings and indexes by
// coordinates; counts within their capacity), and how it is stored.
template <class Field>
struct StoredType {
  using type = Field;
};
template <class Int>
struct StoredType<Count<Int>> {
  using type = int32_t;
};
template <>
struct StoredType<FieldProblem> {
  using type = int32_t;
};

bool acceptable(double, double value) { return std::isfinite(value); }
bool acceptable(int32_t, int32_t) { return true; }
// No other code has a meaning the program could compute with.
bool acceptable(FieldProblem, int32_t code) { return problem_of_code(code).has_value(); }
template <class Int>
bool acceptable(Count<Int> count, int32_t value) {
  return value >= 0 && value <= count.capacity;
}

void store(double& field, double value) { field = value; }
void store(int32_t& field, int32_t value) { field = value; }
void store(FieldProblem& field, int32_t code) { field = *problem_of_code(code); }
template <class Int>
void store(Count<Int> count, int32_t value) {
  count.value = value;
}

// Reads a group of fields in order and stores them only when the record held
// them all and every one is acceptable.
template <class... Fields>
bool read_group(FieldCursor& c, Fields&&... fields) {
  std::tuple<typename StoredType<std::remove_cvref_t<Fields>>::type...> values;
  std::apply([&](auto&... v) { (c.read(v), ...); }, values);
  if (!c.complete()) return false;
  return std::apply(
      [&](const auto&... v) {
        if (!(acceptable(fields, v) && ...)) return false;
        (store(fields, v), ...);
        return true;
      },
      values);
}

// One row of the value tables: number n's potential, material and excitation,
// and the reserved word.
template <class Tables, class F>
void table_row(Tables& t, int n, F&& f) {
  f(t.potential[n], t.material[n], t.excitation[n], t.reserved[n]);
}

// Records 2 to 12 in file order: field problem, grid counts, domain and
// material 0; the x and y lines; the value tables; the list counts; one record
// per part list; the entry sequence. The writer and the reader both follow this
// one description, so they cannot disagree on an order or a size.
template <class Model, class Io>
void file_records(Model& m, Io& io) {
  io.fields(m.problem, Count{m.grid.nx, kMaxLines}, Count{m.grid.ny, kMaxLines}, m.xb, m.yb, m.xe, m.ye,
            m.tables.material0);
  io.lines(m.grid.x, m.grid.nx);
  io.lines(m.grid.y, m.grid.ny);
  io.tables(m.tables);
  std::apply(
      [&](auto&... lists) {
        io.fields(Count{lists.count, lists.kCapacity}..., Count{m.sequence_length, kMaxSequence});
      },
      part_lists(m));
  for_each_part_list(m, [&](auto& list) { io.parts(list); });
  io.sequence(m);
}

// The writing side of file_records: each call writes one record.
class RecordOut {
 public:
  explicit RecordOut(RecordWriter& w) : w_(w) {}

  template <class... Fields>
  void fields(const Fields&... f) {
    (put(f), ...);
    w_.end_record();
  }
  void lines(const GridLines& lines, int32_t count) {
    for (int n = 1; n <= stored_count(count, kMaxLines); ++n) put(lines[n]);
    w_.end_record();
  }
  void tables(const ValueTables& t) {
    for (int n = 1; n <= 9; ++n) table_row(t, n, [&](const auto&... f) { (put(f), ...); });
    w_.end_record();
  }
  template <class List>
  void parts(const List& list) {
    for (int k = 1; k <= stored_count(list.count, List::kCapacity); ++k) {
      List::PartType::fields(list.at[k], [&](const auto&... f) { (put(f), ...); });
    }
    w_.end_record();
  }
  void sequence(const StructureModel& m) {
    for (int k = 1; k <= stored_count(m.sequence_length, kMaxSequence); ++k) put(m.sequence[k]);
    w_.end_record();
  }

 private:
  void put(double value) { w_.f64(value); }
  void put(int32_t value) { w_.i32(value); }
  void put(FieldProblem problem) { w_.i32(code_of(problem)); }
  template <class Int>
  void put(Count<Int> count) {
    w_.i32(stored_count(count.value, count.capacity));
  }

  RecordWriter& w_;
};

// The reading side of file_records: each call takes the next record, checks
// all of it before anything of it is stored, and stops the reading at the
// first record that is missing or refused.
class RecordIn {
 public:
  explicit RecordIn(RecordReader& reader) : reader_(reader) {}

  template <class... Fields>
  void fields(Fields&&... f) {
    take([&](FieldCursor& c) { return read_group(c, f...); });
  }
  void lines(GridLines& lines, int32_t count) {
    take([&](FieldCursor& c) {
      GridLines read{};
      for (int n = 1; n <= count; ++n) c.read(read[n]);
      if (!c.complete() || !lines_increase(read, count)) return false;
      lines = read;
      return true;
    });
  }
  void tables(ValueTables& t) {
    take([&](FieldCursor& c) {
      ValueTables read = t;
      bool ok = true;
      for (int n = 1; n <= 9 && ok; ++n) table_row(read, n, [&](auto&... f) { ok = read_group(c, f...); });
      if (ok) t = read;
      return ok;
    });
  }
  template <class List>
  void parts(List& list) {
    take([&](FieldCursor& c) {
      List read = list;
      bool ok = true;
      for (int k = 1; k <= read.count && ok; ++k) {
        List::PartType::fields(read.at[k], [&](auto&... f) { ok = read_group(c, f...); });
      }
      if (ok) list = read;
      return ok;
    });
  }
  // The sequence must name every part of the lists just read exactly once.
  void sequence(StructureModel& m) {
    take([&](FieldCursor& c) {
      auto read = m.sequence;
      for (int k = 1; k <= m.sequence_length; ++k) c.read(read[k]);
      if (!c.complete()) return false;
      m.sequence = read;
      return sequence_matches_lists(m);
    });
  }

  StructureReadResult result() const { return {status_, records_}; }

 private:
  template <class Read>
  void take(Read read) {
    if (status_ != StructureReadStatus::kOk) return;
    const Next next = reader_.next(record_);
    if (next != Next::kRecord) {
      status_ = next == Next::kEnd ? StructureReadStatus::kTooShort : StructureReadStatus::kError;
      return;
    }
    FieldCursor c(record_);
    if (!read(c)) {
      status_ = StructureReadStatus::kError;
      return;
    }
    ++records_;
  }

  RecordReader& reader_;
  std::string record_;
  StructureReadStatus status_ = StructureReadStatus::kOk;
  int records_ = 1;  // the version tag has been read
};

}  // namespace

bool sequence_matches_lists(const StructureModel& m) {
  std::array<int, kShapeBorder + 1> named{};  // indexed by shape code
  for (int k = 1; k <= m.sequence_length; ++k) {
    const int32_t shape = m.sequence[k];
    if (!visit_part_list(m, shape, [&](const auto&) { ++named[shape]; })) return false;
  }
  bool match = true;
  for_each_part_list(m, [&](const auto& list) { match = match && named[shape_of(list)] == list.count; });
  return match;
}

std::string encode_structure(const StructureModel& m) {
  RecordWriter w;
  std::string tag = m.version_tag;
  tag.resize(kVersionTagLength, ' ');
  w.chars(tag);
  w.end_record();
  RecordOut out(w);
  file_records(m, out);
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

  RecordIn in(reader);
  file_records(model, in);
  return in.result();
}

}  // namespace tambri
