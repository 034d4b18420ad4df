#pragma once

#include <string>

#include "spreadsheet/application.h"

namespace varnex::spreadsheet::xls {

// .xls files for the embedded spreadsheet. Writing is atomic: a temporary
// file beside the target, flushed to disk, then renamed over it, so that a
// failure at any point leaves the old file as it was.
class XlsFiles : public WorkbookFiles {
 public:
  bool Read(const std::string& path, Workbook& into, std::string* error) override;
  bool Write(const Workbook& workbook, const std::string& path, std::string* error) override;

  // The process's one instance, for registration.
  static XlsFiles& Instance();

  // Where a save is made to fail, to show that no step of it can damage
  // the old file.
  enum class FailAt { kNowhere, kWriting, kFlushing, kRenaming };
  FailAt fail_at = FailAt::kNowhere;
};

// Reads a workbook from the bytes of a file (used by tests and the fuzzer).
bool ReadXlsBytes(const std::string& bytes, Workbook& into, std::string* error);

}  // namespace varnex::spreadsheet::xls
