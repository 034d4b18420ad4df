#include "spreadsheet/xls/formula_tokens.h"

#include <cstdio>
#include <map>
#include <vector>

#include "automation/utf16.h"
#include "spreadsheet/cell_address.h"
#include "spreadsheet/xls/bytes.h"

namespace varnex::spreadsheet::xls {
namespace {

// The size of a token's data after its id byte, or -1 for tokens this
// reader does not keep.
int DataSize(unsigned char ptg, Cursor& at) {
  if (ptg >= 0x03 && ptg <= 0x16) return 0;
  switch (ptg) {
    case 0x17: {  // string
      const std::uint8_t cch = at.U8();
      const std::uint8_t flags = at.U8();
      at.Skip((flags & 1) ? 2u * cch : cch);
      return 0;  // skipped here already
    }
    case 0x19: {  // attribute
      const std::uint8_t grbit = at.U8();
      const std::uint16_t w = at.Read16();
      if (grbit & 0x04) at.Skip((std::size_t{w} + 1) * 2);  // choose: its jump table
      return 0;
    }
    case 0x1C:
    case 0x1D: return 1;
    case 0x1E: return 2;
    case 0x1F: return 8;
    default: break;
  }
  if (ptg < 0x20 || ptg > 0x7F) return -1;
  switch ((ptg & 0x1F) | 0x20) {
    case 0x21: return 2;  // function
    case 0x22: return 3;  // function with a count
    case 0x24:            // reference
    case 0x2A:            // reference error
    case 0x2C: return 4;  // relative reference (shared formulas)
    case 0x25:
    case 0x2B:
    case 0x2D: return 8;  // areas
    default: return -1;
  }
}

bool IsRelativeToken(unsigned char ptg) {
  const unsigned base = (ptg & 0x1F) | 0x20;
  return ptg >= 0x20 && ptg <= 0x7F && (base == 0x2C || base == 0x2D);
}

// Walks the tokens, calling f(ptg, data) for each; false on an unknown one.
template <typename F>
bool Walk(std::string_view tokens, F&& f) {
  Cursor at(tokens);
  while (at.left() > 0) {
    const unsigned char ptg = at.U8();
    const std::size_t start = at.pos();
    const int size = DataSize(ptg, at);
    if (size < 0) return false;
    at.Skip(static_cast<std::size_t>(size));
    if (at.overrun()) return false;
    if (!f(ptg, tokens.substr(start, at.pos() - start))) return false;
  }
  return true;
}

std::string CellText(std::uint16_t row, std::uint16_t column_bits) {
  const bool column_relative = column_bits & 0x4000, row_relative = column_bits & 0x8000;
  const int column = (column_bits & 0x3FFF) + 1;
  return std::string(column_relative ? "" : "$") + ColumnLetters(column) + (row_relative ? "" : "$") +
         std::to_string(row + 1);
}

struct Function {
  const char* name;
  int arguments;  // for fixed-count calls
};

const std::map<int, Function>& Functions() {
  static const std::map<int, Function> functions = {
      {0, {"COUNT", -1}},   {1, {"IF", -1}},       {2, {"ISNA", 1}},     {3, {"ISERROR", 1}},
      {4, {"SUM", -1}},     {5, {"AVERAGE", -1}},  {6, {"MIN", -1}},     {7, {"MAX", -1}},
      {8, {"ROW", -1}},     {9, {"COLUMN", -1}},   {10, {"NA", 0}},      {24, {"ABS", 1}},
      {25, {"INT", 1}},     {26, {"SIGN", 1}},     {27, {"ROUND", 2}},   {36, {"AND", -1}},
      {37, {"OR", -1}},     {38, {"NOT", 1}},      {39, {"MOD", 2}},     {63, {"RAND", 0}},
      {65, {"DATE", 3}},    {74, {"NOW", 0}},      {100, {"CHOOSE", -1}}, {101, {"HLOOKUP", -1}},
      {102, {"VLOOKUP", -1}}, {111, {"CHAR", 1}},  {112, {"LOWER", 1}},  {113, {"UPPER", 1}},
      {115, {"LEFT", -1}},  {116, {"RIGHT", -1}},  {117, {"EXACT", 2}},  {118, {"TRIM", 1}},
      {169, {"COUNTA", -1}}, {212, {"ROUNDUP", 2}}, {213, {"ROUNDDOWN", 2}}, {221, {"TODAY", 0}},
      {285, {"FLOOR", 2}},  {288, {"CEILING", 2}}, {345, {"SUMIF", -1}}, {346, {"COUNTIF", 2}},
  };
  return functions;
}

}  // namespace

bool IsSelfContained(std::string_view tokens) {
  return Walk(tokens, [](unsigned char ptg, std::string_view) { return !IsRelativeToken(ptg); });
}

std::optional<std::string> ResolveShared(std::string_view tokens, std::int32_t row0, std::int32_t column0) {
  std::string out;
  const bool ok = Walk(tokens, [&](unsigned char ptg, std::string_view data) {
    if (!IsRelativeToken(ptg)) {
      out.push_back(static_cast<char>(ptg));
      out.append(data);
      return true;
    }
    // Offsets: rows as 16 bits, columns as 8 bits, each signed when relative.
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    auto resolve = [&](std::uint16_t rw, std::uint16_t col, std::string& to) {
      std::int32_t row = rw, column = col & 0x3FFF;
      if (col & 0x8000) row = row0 + static_cast<std::int16_t>(rw);
      if (col & 0x4000) column = column0 + static_cast<std::int8_t>(col & 0xFF);
      if (row < 0 || row > 65535 || column < 0 || column > 255) return false;
      Put16(to, static_cast<std::uint32_t>(row));
      Put16(to, static_cast<std::uint32_t>(column) | (col & 0xC000u));
      return true;
    };
    const bool area = ((ptg & 0x1F) | 0x20) == 0x2D;
    out.push_back(static_cast<char>(ptg - 0x08));  // RefN -> Ref, AreaN -> Area, same class
    if (!area) return resolve(U16(p), U16(p + 2), out);
    // Areas keep both rows, then both columns.
    std::string first, last;
    if (!resolve(U16(p), U16(p + 4), first) || !resolve(U16(p + 2), U16(p + 6), last)) return false;
    out.append(first.substr(0, 2)).append(last.substr(0, 2)).append(first.substr(2, 2)).append(last.substr(2, 2));
    return true;
  });
  if (!ok || !IsSelfContained(out)) return std::nullopt;
  return out;
}

std::string FormulaText(std::string_view tokens) {
  static const char* const kBinary[] = {"+", "-", "*", "/", "^", "&", "<", "<=", "=", ">=", ">", "<>", " ", ",", ":"};
  std::vector<std::string> stack;
  bool spelled = Walk(tokens, [&](unsigned char ptg, std::string_view data) {
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    if (ptg >= 0x03 && ptg <= 0x11) {
      if (stack.size() < 2) return false;
      std::string right = std::move(stack.back());
      stack.pop_back();
      stack.back() += kBinary[ptg - 0x03] + right;
      return true;
    }
    switch (ptg) {
      case 0x12: if (stack.empty()) return false; stack.back() = "+" + stack.back(); return true;
      case 0x13: if (stack.empty()) return false; stack.back() = "-" + stack.back(); return true;
      case 0x14: if (stack.empty()) return false; stack.back() += "%"; return true;
      case 0x15: if (stack.empty()) return false; stack.back() = "(" + stack.back() + ")"; return true;
      case 0x16: stack.emplace_back(); return true;
      case 0x17: {
        const std::uint8_t cch = p[0];
        std::string text;
        if (p[1] & 1) {
          for (int i = 0; i < cch; ++i) automation::AppendUtf8(text, U16(p + 2 + 2 * i));
        } else {
          text.assign(reinterpret_cast<const char*>(p + 2), cch);
        }
        stack.push_back("\"" + text + "\"");
        return true;
      }
      case 0x19:
        if ((p[0] & 0x10) && !stack.empty()) stack.back() = "SUM(" + stack.back() + ")";
        return true;
      case 0x1C: stack.push_back("#ERR"); return true;
      case 0x1D: stack.push_back(p[0] ? "TRUE" : "FALSE"); return true;
      case 0x1E: stack.push_back(std::to_string(U16(p))); return true;
      case 0x1F: {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15g", F64(p));
        stack.push_back(buffer);
        return true;
      }
      default: break;
    }
    const unsigned base = (ptg & 0x1F) | 0x20;
    if (base == 0x24) stack.push_back(CellText(U16(p), U16(p + 2)));
    else if (base == 0x25) stack.push_back(CellText(U16(p), U16(p + 4)) + ":" + CellText(U16(p + 2), U16(p + 6)));
    else if (base == 0x2A || base == 0x2B) stack.push_back("#REF!");
    else if (base == 0x21 || base == 0x22) {
      const int index = base == 0x21 ? U16(p) : U16(p + 1);
      const auto fn = Functions().find(index & 0x7FFF);
      if (fn == Functions().end()) return false;
      const int count = base == 0x22 ? (p[0] & 0x7F) : fn->second.arguments;
      if (count < 0 || static_cast<std::size_t>(count) > stack.size()) return false;
      std::string call = std::string(fn->second.name) + "(";
      for (std::size_t i = stack.size() - static_cast<std::size_t>(count); i < stack.size(); ++i)
        call += (i + count == stack.size() ? "" : ",") + stack[i];
      stack.resize(stack.size() - static_cast<std::size_t>(count));
      stack.push_back(call + ")");
    } else {
      return false;
    }
    return true;
  });
  if (!spelled || stack.size() != 1) return "=<公式>";
  return "=" + stack.front();
}

}  // namespace varnex::spreadsheet::xls
