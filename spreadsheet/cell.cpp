#include "spreadsheet/cell.h"

namespace varnex::spreadsheet {

std::string ErrorText(std::int32_t code) {
  switch (code) {
    case kErrorNull: return "#NULL!";
    case kErrorDivZero: return "#DIV/0!";
    case kErrorValue: return "#VALUE!";
    case kErrorRef: return "#REF!";
    case kErrorName: return "#NAME?";
    case kErrorNum: return "#NUM!";
    case kErrorNA: return "#N/A";
    default: return {};
  }
}

}  // namespace varnex::spreadsheet
