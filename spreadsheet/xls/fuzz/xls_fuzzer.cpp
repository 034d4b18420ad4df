// libFuzzer target: any bytes as an .xls file must read or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <string>

#include "spreadsheet/workbook.h"
#include "spreadsheet/xls/biff_reader.h"
#include "spreadsheet/xls/xls_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnex::spreadsheet;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string error;
  {
    Workbook book(nullptr, "fuzz");
    xls::ReadXlsBytes(bytes, book, &error);
  }
  // The workbook stream alone too, so that the record reader is reached
  // without having to get through the container first.
  for (bool biff5 : {false, true}) {
    Workbook book(nullptr, "fuzz");
    xls::CompoundContents contents;
    contents.workbook = bytes;
    contents.biff5_book = biff5;
    xls::ReadWorkbook(contents, book, &error);
  }
  return 0;
}
