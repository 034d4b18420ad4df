#pragma once

#include <functional>
#include <map>
#include <string>

#include "spreadsheet/application.h"

namespace varnex::testing {

// "Files" that are built in memory by the test: reading a known path runs
// its builder; any other path fails, as a missing file does.
class MemoryFiles : public spreadsheet::WorkbookFiles {
 public:
  std::map<std::string, std::function<void(spreadsheet::Workbook&)>> books;

  bool Read(const std::string& path, spreadsheet::Workbook& into, std::string* error) override {
    const auto it = books.find(path);
    if (it == books.end()) {
      *error = "没有这个文件";
      return false;
    }
    it->second(into);
    return true;
  }
  bool Write(const spreadsheet::Workbook&, const std::string&, std::string*) override { return true; }
};

}  // namespace varnex::testing
