#pragma once

#include <string>
#include <vector>

// The OLE2 compound file around a workbook stream, through libgsf.
namespace varnex::spreadsheet::xls {

struct CompoundContents {
  std::string workbook;     // the "Workbook" (BIFF8) or "Book" (BIFF5) stream
  bool biff5_book = false;  // the stream was named "Book"
  std::vector<std::string> other_streams;  // names of streams that are not kept
};

// False with a reason for a file that is not a compound file or holds no
// workbook stream.
bool ReadCompoundFile(const std::string& path, CompoundContents* contents, std::string* error);

// Writes a compound file holding one workbook stream to `path`.
bool WriteCompoundFile(const std::string& path, const std::string& workbook, std::string* error,
                       const char* stream_name = "Workbook");

// The same from and to memory, for tests and the fuzzer.
bool ReadCompoundBytes(const std::string& bytes, CompoundContents* contents, std::string* error);

}  // namespace varnex::spreadsheet::xls
