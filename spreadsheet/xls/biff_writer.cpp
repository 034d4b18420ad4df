#include "spreadsheet/xls/biff_writer.h"

#include <cmath>
#include <map>
#include <unordered_map>
#include <vector>

#include "automation/utf16.h"
#include "spreadsheet/xls/bytes.h"
#include "spreadsheet/xls/number_formats.h"
#include "spreadsheet/xls/records.h"

namespace varnex::spreadsheet::xls {
namespace {

constexpr std::size_t kMaxRecord = 8224;
constexpr std::size_t kFirstCellXf = 15;
constexpr std::size_t kMaxXfs = 4000;

void Record(std::string& out, std::uint16_t type, const std::string& data) {
  Put16(out, type);
  Put16(out, static_cast<std::uint32_t>(data.size()));
  out += data;
}

// The beginning of a substream: 0x0005 the workbook globals, 0x0010 a sheet.
void Bof(std::string& out, std::uint16_t kind) {
  std::string bof;
  Put16(bof, 0x0600);  // BIFF8
  Put16(bof, kind);
  Put16(bof, 0x0DBB);
  Put16(bof, 0x07CC);
  Put32(bof, 0x00000041);
  Put32(bof, 0x00000006);
  Record(out, kBof, bof);
}

void PutUtf16(std::string& out, const std::u16string& text) {
  for (char16_t c : text) Put16(out, c);
}

// A string with an 8-bit or 16-bit count, always stored as UTF-16.
std::string Unicode(const std::string& utf8, bool long_count) {
  std::u16string text = automation::Utf8ToUtf16(utf8);
  if (text.size() > (long_count ? 32767u : 255u)) text.resize(long_count ? 32767u : 255u);
  std::string out;
  if (long_count) Put16(out, static_cast<std::uint32_t>(text.size()));
  else out.push_back(static_cast<char>(text.size()));
  out.push_back(1);
  PutUtf16(out, text);
  return out;
}

std::uint8_t LineStyle(const Border& b) {
  switch (b.line_style) {
    case kLineStyleNone: return 0;
    case -4115: return 3;
    case -4118: return 4;
    case -4119: return 6;
    default:
      if (b.weight == -4138) return 2;
      if (b.weight == 4) return 5;
      if (b.weight == 1) return 7;
      return 1;
  }
}

class Writer {
 public:
  explicit Writer(const Workbook& w) : book_(w) {}

  bool Write(std::string* out, std::string* error) {
    if (!Check(error)) return false;
    CollectFormats();
    if (xfs_.size() > kMaxXfs) return Fail(error, "单元格格式过多，无法保存为 .xls");
    std::string globals;
    std::vector<std::size_t> sheet_positions;  // where each BOUNDSHEET's offset goes
    WriteGlobals(globals, &sheet_positions);
    std::string stream = globals;
    for (std::size_t i = 0; i < book_.sheet_count(); ++i) {
      const std::uint32_t at = static_cast<std::uint32_t>(stream.size());
      for (int b = 0; b < 4; ++b) stream[sheet_positions[i] + b] = static_cast<char>((at >> (8 * b)) & 0xFF);
      WriteSheet(*book_.sheet(i), i == book_.active_sheet_index(), stream);
    }
    *out = std::move(stream);
    return true;
  }

 private:
  static bool Fail(std::string* error, const char* reason) {
    *error = reason;
    return false;
  }

  bool Check(std::string* error) {
    for (std::size_t i = 0; i < book_.sheet_count(); ++i) {
      const Sheet& s = *book_.sheet(i);
      const Area used = s.UsedArea();
      if (used.last_row > 65536 || used.last_column > 256)
        return Fail(error, "有单元格超出 .xls 格式的范围（65536 行、256 列）");
      if (!s.comments().empty()) return Fail(error, "批注无法保存为 .xls，请先删除批注");
    }
    return true;
  }

  // One XF per workbook format in use; fonts and number formats beside them.
  void CollectFormats() {
    fonts_.push_back(book_.Format(0).font);
    font_index_[Key(fonts_.back())] = 0;
    for (std::size_t f = 0; f < book_.format_count(); ++f) {
      const CellFormat& format = book_.Format(static_cast<std::uint16_t>(f));
      const std::string key = Key(format.font);
      auto it = font_index_.find(key);
      if (it == font_index_.end()) {
        it = font_index_.emplace(key, fonts_.size()).first;
        fonts_.push_back(format.font);
      }
      int number = BuiltInId(format.number_format);
      if (number < 0) {
        auto custom = custom_formats_.find(format.number_format);
        if (custom == custom_formats_.end())
          custom = custom_formats_.emplace(format.number_format, 164 + custom_formats_.size()).first;
        number = static_cast<int>(custom->second);
      }
      xfs_.push_back({it->second, static_cast<std::uint16_t>(number), &format});
    }
  }

  static std::string Key(const Font& f) {
    return f.name + "|" + std::to_string(f.size) + "|" + std::to_string(f.color) + "|" + std::to_string(f.bold) +
           std::to_string(f.italic) + std::to_string(f.underline) + std::to_string(f.strikethrough);
  }

  std::uint16_t ColorIndex(Rgb color) const {
    if (color == 0) return 0x7FFF;  // automatic
    return static_cast<std::uint16_t>(book_.palette().NearestIndex(color) + 7);
  }

  std::string FontRecord(const Font& f) const {
    std::string d;
    Put16(d, static_cast<std::uint32_t>(std::lround(f.size * 20)));
    Put16(d, (f.italic ? 0x02u : 0u) | (f.strikethrough ? 0x08u : 0u));
    Put16(d, ColorIndex(f.color));
    Put16(d, f.bold ? 700 : 400);
    Put16(d, 0);
    d.push_back(f.underline ? 1 : 0);
    d.push_back(0);
    bool ascii = true;
    for (unsigned char c : f.name) ascii = ascii && c < 0x80;
    d.push_back(static_cast<char>(ascii ? 0 : 0x86));  // GB2312 for Chinese names
    d.push_back(0);
    d += Unicode(f.name, false);
    return d;
  }

  std::string XfRecord(std::size_t font, std::uint16_t number, const CellFormat* f, bool style) const {
    std::string d;
    Put16(d, static_cast<std::uint32_t>(font < 4 ? font : font + 1));  // index 4 is never used
    Put16(d, number);
    Put16(d, style ? 0xFFF5u : 0x0001u);
    static const std::map<std::int32_t, std::uint8_t> kAlign = {
        {kAlignGeneral, 0}, {kAlignLeft, 1}, {kAlignCenter, 2}, {kAlignRight, 3}, {5, 4}, {-4130, 5}, {7, 6}, {-4117, 7}};
    const auto align = f ? kAlign.find(f->horizontal_alignment) : kAlign.end();
    d.push_back(static_cast<char>(0x20 | (align != kAlign.end() ? align->second : 0)));  // bottom-aligned
    d.push_back(0);
    d.push_back(0);
    d.push_back(static_cast<char>(style ? 0 : 0xF8));
    std::uint32_t borders = 0, more = 0;
    std::uint16_t colors = 0;
    if (f) {
      const auto icv = [&](const Border& b) { return std::uint32_t{ColorIndex(b.color) == 0x7FFF ? 64u : ColorIndex(b.color)}; };
      borders = LineStyle(f->borders[kLeft]) | (LineStyle(f->borders[kRight]) << 4) |
                (LineStyle(f->borders[kTop]) << 8) | (LineStyle(f->borders[kBottom]) << 12) |
                (icv(f->borders[kLeft]) << 16) | (icv(f->borders[kRight]) << 23);
      more = icv(f->borders[kTop]) | (icv(f->borders[kBottom]) << 7);
      if (f->fill_index >= 1 && f->fill_index <= 56) {
        more |= 1u << 26;
        colors = static_cast<std::uint16_t>((f->fill_index + 7) | (65 << 7));
      } else {
        colors = static_cast<std::uint16_t>(64 | (65 << 7));
      }
    } else {
      colors = static_cast<std::uint16_t>(64 | (65 << 7));
    }
    Put32(d, borders);
    Put32(d, more);
    Put16(d, colors);
    return d;
  }

  void WriteGlobals(std::string& out, std::vector<std::size_t>* sheet_positions) {
    Bof(out, 0x0005);
    std::string cp;
    Put16(cp, 1200);
    Record(out, kCodePage, cp);
    std::string window;
    for (std::uint32_t v : {0u, 0u, 0x4000u, 0x2000u, 0x38u}) Put16(window, v);
    Put16(window, static_cast<std::uint32_t>(book_.active_sheet_index()));
    Put16(window, 0);
    Put16(window, 1);
    Put16(window, 0x258);
    Record(out, kWindow1, window);
    std::string date_mode;
    Put16(date_mode, 0);
    Record(out, kDateMode, date_mode);

    // At least four fonts, so that index 4 (never used) falls after them.
    std::vector<Font> fonts = fonts_;
    while (fonts.size() < 4) fonts.push_back(fonts.front());
    for (std::size_t i = 0; i < fonts.size(); ++i) Record(out, kFont, FontRecord(fonts[i]));
    for (const auto& [text, id] : custom_formats_) {
      std::string d;
      Put16(d, static_cast<std::uint32_t>(id));
      d += Unicode(text, true);
      Record(out, kFormat, d);
    }
    for (std::size_t i = 0; i < kFirstCellXf; ++i) Record(out, kXf, XfRecord(0, 0, nullptr, true));
    for (const Xf& x : xfs_) Record(out, kXf, XfRecord(x.font, x.number, x.format, false));
    std::string style;
    Put16(style, 0x8000);
    style.push_back(0);
    style.push_back(static_cast<char>(0xFF));
    Record(out, kStyle, style);
    if (!(book_.palette() == Palette::Default())) {
      std::string palette;
      Put16(palette, 56);
      for (Rgb c : book_.palette().colors) {
        palette.push_back(static_cast<char>((c >> 16) & 0xFF));
        palette.push_back(static_cast<char>((c >> 8) & 0xFF));
        palette.push_back(static_cast<char>(c & 0xFF));
        palette.push_back(0);
      }
      Record(out, kPalette, palette);
    }
    for (std::size_t i = 0; i < book_.sheet_count(); ++i) {
      sheet_positions->push_back(out.size() + 4);
      std::string d;
      Put32(d, 0);
      d.push_back(0);
      d.push_back(0);
      d += Unicode(book_.sheet(i)->name(), false);
      Record(out, kBoundSheet, d);
    }
    WriteStrings(out);
    Record(out, kEof, {});
  }

  // The shared strings, split over CONTINUE records where they do not fit;
  // a string split inside its characters repeats its flags byte.
  void WriteStrings(std::string& out) {
    for (std::size_t i = 0; i < book_.sheet_count(); ++i) {
      book_.sheet(i)->ForEachCell([&](std::int32_t, std::int32_t, const CellValue& v, std::uint16_t) {
        if (v.kind != CellKind::kText) return;
        ++string_uses_;
        if (string_index_.emplace(v.text, strings_.size()).second) strings_.push_back(v.text);
      });
    }
    std::vector<std::string> records(1);
    Put32(records[0], static_cast<std::uint32_t>(string_uses_));
    Put32(records[0], static_cast<std::uint32_t>(strings_.size()));
    for (const std::string& s : strings_) {
      std::u16string text = automation::Utf8ToUtf16(s);
      if (text.size() > 32767) text.resize(32767);
      if (records.back().size() + 3 + 2 > kMaxRecord) records.emplace_back();
      Put16(records.back(), static_cast<std::uint32_t>(text.size()));
      records.back().push_back(1);
      std::size_t i = 0;
      while (i < text.size()) {
        if (records.back().size() + 2 > kMaxRecord) {
          records.emplace_back();
          records.back().push_back(1);
        }
        const std::size_t room = (kMaxRecord - records.back().size()) / 2;
        const std::size_t take = std::min(room, text.size() - i);
        PutUtf16(records.back(), text.substr(i, take));
        i += take;
      }
    }
    Record(out, kSst, records[0]);
    for (std::size_t i = 1; i < records.size(); ++i) Record(out, kContinue, records[i]);
  }

  std::uint16_t XfOf(std::uint16_t format) const { return static_cast<std::uint16_t>(kFirstCellXf + format); }

  static bool AsRk(double v, std::uint32_t* rk) {
    if (v == std::floor(v) && std::fabs(v) < 536870912.0 && !(v == 0 && std::signbit(v))) {
      *rk = (static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) << 2) | 2u;
      return true;
    }
    return false;
  }

  static std::string CellHead(std::int32_t row, std::int32_t column, std::uint16_t xf) {
    std::string d;
    Put16(d, static_cast<std::uint32_t>(row - 1));
    Put16(d, static_cast<std::uint32_t>(column - 1));
    Put16(d, xf);
    return d;
  }

  void WriteSheet(const Sheet& s, bool active, std::string& out) {
    Bof(out, 0x0010);
    for (const auto& [column, width] : s.column_widths()) {
      if (column < 1 || column > 256) continue;
      std::string d;
      Put16(d, static_cast<std::uint32_t>(column - 1));
      Put16(d, static_cast<std::uint32_t>(column - 1));
      Put16(d, static_cast<std::uint32_t>(std::clamp(std::lround(width * 256), 0L, 65535L)));
      Put16(d, kFirstCellXf);
      Put16(d, 0);
      Put16(d, 0);
      Record(out, kColInfo, d);
    }
    const Area used = s.UsedArea();
    std::string dimensions;
    Put32(dimensions, static_cast<std::uint32_t>(used.first_row - 1));
    Put32(dimensions, static_cast<std::uint32_t>(used.last_row));
    Put16(dimensions, static_cast<std::uint32_t>(used.first_column - 1));
    Put16(dimensions, static_cast<std::uint32_t>(used.last_column));
    Put16(dimensions, 0);
    Record(out, kDimensions, dimensions);
    for (const auto& [row, height] : s.row_heights()) {
      if (row < 1 || row > 65536) continue;
      std::string d;
      Put16(d, static_cast<std::uint32_t>(row - 1));
      Put16(d, 0);
      Put16(d, 0);
      Put16(d, static_cast<std::uint32_t>(std::clamp(std::lround(height * 20), 0L, 8191L)));
      Put16(d, 0);
      Put16(d, 0);
      Put16(d, 0x0140);
      Put16(d, kFirstCellXf);
      Record(out, kRow, d);
    }
    s.ForEachCell([&](std::int32_t row, std::int32_t column, const CellValue& v, std::uint16_t format) {
      const std::uint16_t xf = XfOf(format);
      std::string d = CellHead(row, column, xf);
      if (const std::string* tokens = s.FormulaRecord(row, column)) {
        WriteFormula(out, d, v, *tokens);
        return;
      }
      if (const std::string* text = s.Formula(row, column)) {
        // A formula typed here has no parsed form to write: its text is kept.
        Record(out, kLabel, d + Unicode(*text, true));
        return;
      }
      switch (v.kind) {
        case CellKind::kEmpty: Record(out, kBlank, d); break;
        case CellKind::kNumber:
        case CellKind::kDate: {
          std::uint32_t rk;
          if (AsRk(v.number, &rk)) {
            Put32(d, rk);
            Record(out, kRk, d);
          } else {
            PutF64(d, v.number);
            Record(out, kNumber, d);
          }
          break;
        }
        case CellKind::kText:
          Put32(d, static_cast<std::uint32_t>(string_index_.at(v.text)));
          Record(out, kLabelSst, d);
          break;
        case CellKind::kBoolean:
        case CellKind::kError:
          d.push_back(static_cast<char>(v.kind == CellKind::kBoolean ? (v.number != 0) : static_cast<int>(v.number) - 2000));
          d.push_back(v.kind == CellKind::kError ? 1 : 0);
          Record(out, kBoolErr, d);
          break;
      }
    });
    for (std::size_t i = 0; i < s.merged().size(); i += 1026) {
      std::string d;
      const std::size_t n = std::min<std::size_t>(1026, s.merged().size() - i);
      Put16(d, static_cast<std::uint32_t>(n));
      for (std::size_t k = i; k < i + n; ++k) {
        const Area& a = s.merged()[k];
        Put16(d, static_cast<std::uint32_t>(a.first_row - 1));
        Put16(d, static_cast<std::uint32_t>(std::min(a.last_row, 65536) - 1));
        Put16(d, static_cast<std::uint32_t>(a.first_column - 1));
        Put16(d, static_cast<std::uint32_t>(std::min(a.last_column, 256) - 1));
      }
      Record(out, kMergedCells, d);
    }
    std::string window;
    Put16(window, 0x06B6u & (active ? 0xFFFFu : ~0x0600u));
    Put16(window, 0);
    Put16(window, 0);
    Put32(window, 64);
    Put16(window, 0);
    Put16(window, 0);
    Put32(window, 0);
    Record(out, kWindow2, window);
    Record(out, kEof, {});
  }

  // The formula as it was read, flagged so that the next program to open
  // the file calculates it again; its last value goes with it.
  void WriteFormula(std::string& out, std::string d, const CellValue& v, const std::string& tokens) {
    std::string text_result;
    switch (v.kind) {
      case CellKind::kNumber:
      case CellKind::kDate: PutF64(d, v.number); break;
      case CellKind::kText:
        d += std::string("\x00\x00\x00\x00\x00\x00\xFF\xFF", 8);
        if (v.text.empty()) d[d.size() - 8] = 3;
        else text_result = v.text;
        break;
      case CellKind::kBoolean:
      case CellKind::kError: {
        std::string r("\x00\x00\x00\x00\x00\x00\xFF\xFF", 8);
        r[0] = v.kind == CellKind::kBoolean ? 1 : 2;
        r[2] = static_cast<char>(v.kind == CellKind::kBoolean ? (v.number != 0) : static_cast<int>(v.number) - 2000);
        d += r;
        break;
      }
      case CellKind::kEmpty: d += std::string("\x03\x00\x00\x00\x00\x00\xFF\xFF", 8); break;
    }
    Put16(d, 0x0003);  // always calculate, calculate on load
    Put32(d, 0);
    Put16(d, static_cast<std::uint32_t>(tokens.size()));
    d += tokens;
    Record(out, kFormula, d);
    if (!text_result.empty()) Record(out, kString, Unicode(text_result, true));
  }

  struct Xf {
    std::size_t font;
    std::uint16_t number;
    const CellFormat* format;
  };

  const Workbook& book_;
  std::vector<Font> fonts_;
  std::unordered_map<std::string, std::size_t> font_index_;
  std::map<std::string, std::size_t> custom_formats_;
  std::vector<Xf> xfs_;
  std::vector<std::string> strings_;
  std::unordered_map<std::string, std::size_t> string_index_;
  std::size_t string_uses_ = 0;
};

}  // namespace

bool WriteWorkbook(const Workbook& workbook, std::string* stream, std::string* error) {
  Writer writer(workbook);
  return writer.Write(stream, error);
}

}  // namespace varnex::spreadsheet::xls
