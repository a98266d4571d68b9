#pragma once
// The frame of the N tables, the record series and X7: one file of the
// export, read record by record, becomes one output file of the destination
// folder.

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "convert/conversion_context.hpp"
#include "io/output_file.hpp"
#include "io/record_reader.hpp"
#include "text/columns.hpp"

namespace k2v {

// Writes the line or lines of the record in reader.Fields. lineNumber is
// already counted for the record's first line; a writer that adds further
// lines counts them on.
using RecordLineWriter = std::function<void(const RecordReader& reader, OutputFile& out, long long& lineNumber)>;

// Converts sourceName of the source folder into outputName of the destination
// folder, records of fieldCount fields. A missing or empty source creates no
// output file and stays as it is (the export is the user's, and the program
// deletes no file it did not write); the result is then false.
bool ConvertTableFile(const ConversionContext& ctx, const std::string& sourceName, const std::string& outputName,
                      int fieldCount, const RecordLineWriter& writeRecord);
// The same, with the fields kept as options say.
bool ConvertTableFile(const ConversionContext& ctx, const std::string& sourceName, const std::string& outputName,
                      int fieldCount, const ReadOptions& options, const RecordLineWriter& writeRecord);
// The same, each record making one line laid out with the table from the
// record's fields.
bool ConvertTableFile(const ConversionContext& ctx, const std::string& sourceName, const std::string& outputName,
                      int fieldCount, std::span<const Column> line);

// Field k (from 1) of the record just read.
const std::string& FieldOf(const RecordReader& reader, int k);

// The values of one output line: field k of the record (from 1), and after
// the record's fields the values the converter works out for the line
// (kWorkedOut, kWorkedOut + 1...).
class LineValues {
 public:
  static constexpr int kWorkedOut = RecordReader::kMaxFields + 1;
  explicit LineValues(const RecordReader& reader) : reader_(reader) {}
  std::string_view operator[](int k) const {
    return k < kWorkedOut ? std::string_view(reader_.Fields[static_cast<size_t>(k)])
                          : worked_[static_cast<size_t>(k - kWorkedOut)];
  }
  void Set(int k, std::string_view value) { worked_.at(static_cast<size_t>(k - kWorkedOut)) = value; }

 private:
  const RecordReader& reader_;
  std::array<std::string_view, 4> worked_{};
};

}  // namespace k2v
