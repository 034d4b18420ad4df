#include "spreadsheet/xls/biff_reader.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <map>
#include <set>
#include <vector>

#include "automation/utf16.h"
#include "spreadsheet/text_entry.h"
#include "spreadsheet/xls/bytes.h"
#include "spreadsheet/xls/formula_tokens.h"
#include "spreadsheet/xls/number_formats.h"
#include "spreadsheet/xls/records.h"

namespace varnex::spreadsheet::xls {
namespace {

constexpr std::int32_t kMaxXlsRows = 65536;
constexpr std::int32_t kMaxXlsColumns = 256;

struct Record {
  std::uint16_t type = 0;
  std::string_view data;
  std::size_t offset = 0;  // of the record header in the stream
};

// Reads records one after another; a record running past the end of the
// stream ends the reading.
class Records {
 public:
  explicit Records(std::string_view stream) : stream_(stream) {}
  void Seek(std::size_t offset) { pos_ = offset; }
  bool Next(Record* r) {
    if (pos_ + 4 > stream_.size()) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(stream_.data() + pos_);
    const std::size_t length = U16(p + 2);
    if (pos_ + 4 + length > stream_.size()) {
      truncated_ = true;
      return false;
    }
    r->type = U16(p);
    r->offset = pos_;
    r->data = stream_.substr(pos_ + 4, length);
    pos_ += 4 + length;
    return true;
  }
  // The record after the current one, without moving on.
  bool Peek(Record* r) {
    const std::size_t saved = pos_;
    const bool ok = Next(r);
    pos_ = saved;
    return ok;
  }
  bool truncated() const { return truncated_; }

 private:
  std::string_view stream_;
  std::size_t pos_ = 0;
  bool truncated_ = false;
};

using automation::AppendUtf8;

// A byte source over a record and its CONTINUE records: strings may be
// split between them, each piece of characters starting with its own
// flags byte.
class Pieces {
 public:
  explicit Pieces(std::vector<std::string_view> pieces) : pieces_(std::move(pieces)) {}

  bool AtEnd() {
    Settle();
    return index_ >= pieces_.size();
  }
  std::uint8_t U8() {
    Settle();
    if (index_ >= pieces_.size()) {
      overrun_ = true;
      return 0;
    }
    return static_cast<std::uint8_t>(pieces_[index_][pos_++]);
  }
  std::uint16_t U16() {
    const std::uint16_t lo = U8();
    return static_cast<std::uint16_t>(lo | (U8() << 8));
  }
  std::uint32_t U32() {
    const std::uint32_t lo = U16();
    return lo | (static_cast<std::uint32_t>(U16()) << 16);
  }
  void Skip(std::uint64_t n) {
    while (n > 0 && !AtEnd()) {
      const std::size_t here = std::min<std::uint64_t>(n, pieces_[index_].size() - pos_);
      pos_ += here;
      n -= here;
    }
    if (n > 0) overrun_ = true;
  }
  // `count` characters, the first piece's width given by `wide`; each
  // further piece begins with a flags byte of its own.
  std::string Characters(std::size_t count, bool wide) {
    std::string out;
    out.reserve(std::min<std::size_t>(count, 4096));
    for (std::size_t i = 0; i < count && !overrun_; ++i) {
      Settle();
      if (index_ >= pieces_.size()) {
        overrun_ = true;
        break;
      }
      if (i > 0 && pos_ == 0 && index_ > start_piece_) {
        wide = U8() & 1;  // a new piece: its own flags
        start_piece_ = index_;
      }
      if (wide) {
        std::uint32_t c = U16();
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
          const std::uint32_t low = U16();
          ++i;
          c = (low >= 0xDC00 && low <= 0xDFFF) ? 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00) : 0xFFFD;
        }
        AppendUtf8(out, c);
      } else {
        AppendUtf8(out, U8());
      }
    }
    return out;
  }
  // A BIFF8 unicode string: its character count, flags, runs and extension.
  std::string String() {
    const std::size_t count = U16();
    const std::uint8_t flags = U8();
    std::uint16_t runs = 0;
    std::uint32_t ext = 0;
    if (flags & 0x08) runs = U16();
    if (flags & 0x04) ext = U32();
    start_piece_ = index_;
    Settle();
    start_piece_ = index_;
    std::string text = Characters(count, flags & 1);
    Skip(std::uint64_t{runs} * 4 + ext);
    return text;
  }
  bool overrun() const { return overrun_; }

 private:
  void Settle() {
    while (index_ < pieces_.size() && pos_ >= pieces_[index_].size()) {
      ++index_;
      pos_ = 0;
    }
  }
  std::vector<std::string_view> pieces_;
  std::size_t index_ = 0, pos_ = 0, start_piece_ = 0;
  bool overrun_ = false;
};

std::string Decode(std::string_view bytes, int codepage) {
  if (codepage == 1200 || codepage == 0) codepage = 1252;
  const std::string charset = codepage == 936 ? "GBK" : codepage == 10000 ? "MACINTOSH" : "CP" + std::to_string(codepage);
  gsize written = 0;
  gchar* converted = g_convert_with_fallback(bytes.data(), static_cast<gssize>(bytes.size()), "UTF-8",
                                             charset.c_str(), "?", nullptr, &written, nullptr);
  if (!converted) {
    std::string latin;
    for (unsigned char c : bytes) AppendUtf8(latin, c);
    return latin;
  }
  std::string out(converted, written);
  g_free(converted);
  return out;
}

struct FontRecord {
  Font font;
};

struct XfRecord {
  std::uint16_t font = 0;
  std::uint16_t format = 0;
  std::uint8_t horizontal = 0;
  std::array<std::uint8_t, 4> line{};   // left, top, right, bottom
  std::array<std::uint8_t, 4> color{};  // palette indices
  std::uint8_t pattern = 0;
  std::uint8_t fore = 64;
};

struct SheetEntry {
  std::string name;
  std::uint32_t position = 0;
  std::uint8_t type = 0;
};

Rgb ColorOfIndex(std::uint16_t icv, const Palette& palette) {
  static constexpr Rgb kFixed[8] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};
  if (icv < 8) return kFixed[icv];
  if (icv < 64) return palette.ColorOf(icv - 7);
  return 0;  // the system's window text: automatic
}

std::int32_t Alignment(std::uint8_t alc) {
  static constexpr std::int32_t kAlign[8] = {kAlignGeneral, kAlignLeft, kAlignCenter, kAlignRight, 5, -4130, 7, -4117};
  return kAlign[alc & 7];
}

Border BorderOf(std::uint8_t style, std::uint8_t icv, const Palette& palette) {
  Border b;
  b.color = ColorOfIndex(icv, palette);
  switch (style) {
    case 0: b.line_style = kLineStyleNone; break;
    case 1: b.line_style = kLineStyleContinuous; b.weight = kBorderThin; break;
    case 2: b.line_style = kLineStyleContinuous; b.weight = -4138; break;
    case 3: b.line_style = -4115; break;
    case 4: b.line_style = -4118; break;
    case 5: b.line_style = kLineStyleContinuous; b.weight = 4; break;
    case 6: b.line_style = -4119; b.weight = 4; break;
    case 7: b.line_style = kLineStyleContinuous; b.weight = 1; break;
    default: b.line_style = -4115; break;  // the dash-dot kinds
  }
  return b;
}

class Reader {
 public:
  Reader(const CompoundContents& contents, Workbook& into)
      : stream_(contents.workbook), records_(stream_), book_(into), biff5_(contents.biff5_book) {
    for (const std::string& name : contents.other_streams) {
      if (name == "_VBA_PROJECT_CUR" || name == "_VBA_PROJECT" || name == "Macros")
        Lost("宏（VBA 工程）");
      else if (name == "Ctls" || name == "ObjectPool")
        Lost("控件或嵌入对象");
      else
        Lost("文件中的其他数据（" + name + "）");
    }
  }

  bool Read(std::string* error) {
    Record r;
    if (!records_.Next(&r) || !IsBof(r.type)) return Fail(error, "不是 Excel 工作簿");
    Cursor bof(r.data);
    const std::uint16_t version = bof.Read16();
    if (version == 0x0600) biff5_ = false;
    else if (version == 0x0500) biff5_ = true;
    else return Fail(error, "不支持的 Excel 文件版本");
    if (!ReadGlobals(error)) return false;
    BuildFormats();
    bool any = false;
    for (const SheetEntry& entry : sheets_) {
      if (entry.type != 0) {
        Lost(entry.type == 2 ? "图表工作表" : "宏表或对话框表");
        continue;
      }
      if (entry.position + 4 > stream_.size()) {
        Lost("无法读取的工作表（" + entry.name + "）");
        continue;
      }
      Sheet& sheet = book_.AddSheet(UniqueName(entry.name));
      ReadSheet(entry.position, sheet);
      any = true;
    }
    if (!any) return Fail(error, "工作簿中没有可读取的工作表");
    std::size_t active = 0, seen = 0;
    for (std::size_t i = 0; i < sheets_.size(); ++i) {
      if (sheets_[i].type != 0) continue;
      if (i == active_tab_) active = seen;
      ++seen;
    }
    book_.ActivateSheet(std::min(active, book_.sheet_count() - 1));
    if (records_.truncated()) Lost("文件末尾不完整，部分内容未能读取");
    return true;
  }

 private:
  static bool IsBof(std::uint16_t type) { return type == kBof || type == 0x0209 || type == 0x0409; }

  bool Fail(std::string* error, const char* reason) {
    *error = reason;
    return false;
  }

  void Lost(const std::string& what) {
    auto& lost = book_.lost_content();
    if (std::find(lost.begin(), lost.end(), what) == lost.end()) lost.push_back(what);
  }

  std::string UniqueName(std::string name) {
    if (name.empty()) name = "Sheet" + std::to_string(book_.sheet_count() + 1);
    const std::string base = name;
    for (int n = 2; book_.FindSheet(name); ++n) name = base + " (" + std::to_string(n) + ")";
    return name;
  }

  // A string as record data holds it: BIFF8 with a flags byte, BIFF5 in the
  // file's code page. `long_count` for a 16-bit length.
  std::string Text(Cursor& at, bool long_count) {
    const std::size_t count = long_count ? at.Read16() : at.U8();
    if (biff5_) return Decode(at.Bytes(std::min(count, at.left())), codepage_);
    const std::uint8_t flags = at.U8();
    std::uint16_t runs = 0;
    std::uint32_t ext = 0;
    if (flags & 0x08) runs = at.Read16();
    if (flags & 0x04) ext = at.Read32();
    std::string out;
    for (std::size_t i = 0; i < count && at.left() > 0; ++i) AppendUtf8(out, (flags & 1) ? at.Read16() : at.U8());
    at.Skip(std::size_t{runs} * 4);
    at.Skip(ext);
    return out;
  }

  // What follows a record as CONTINUE records.
  std::vector<std::string_view> WithContinues(std::string_view first) {
    std::vector<std::string_view> pieces{first};
    Record next;
    while (records_.Peek(&next) && next.type == kContinue) {
      records_.Next(&next);
      pieces.push_back(next.data);
    }
    return pieces;
  }

  bool ReadGlobals(std::string* error) {
    Record r;
    while (records_.Next(&r)) {
      Cursor at(r.data);
      switch (r.type) {
        case kEof: return true;
        case kFilePass: return Fail(error, "文件已加密（受密码保护），无法打开");
        case kCodePage: codepage_ = at.Read16(); break;
        case kFont: fonts_.push_back(ReadFont(at)); break;
        case kFormat: {
          const std::uint16_t id = at.Read16();
          formats_[id] = Text(at, !biff5_);
          break;
        }
        case kXf: xfs_.push_back(ReadXf(at)); break;
        case kPalette: {
          const std::uint16_t count = at.Read16();
          Palette palette = Palette::Default();
          for (std::uint16_t i = 0; i < count && i < 56 && at.left() >= 4; ++i) {
            const std::uint8_t red = at.U8(), green = at.U8(), blue = at.U8();
            at.U8();
            palette.colors[i] = (Rgb{red} << 16) | (Rgb{green} << 8) | blue;
          }
          book_.SetPalette(palette);
          break;
        }
        case kBoundSheet: {
          SheetEntry entry;
          entry.position = at.Read32();
          at.U8();  // visibility
          entry.type = at.U8();
          entry.name = Text(at, false);
          sheets_.push_back(std::move(entry));
          break;
        }
        case kWindow1: {
          at.Skip(10);
          active_tab_ = at.Read16();
          break;
        }
        case kSst: ReadSst(r.data); break;
        case kName: Lost("定义的名称或打印区域"); break;
        case kExternSheet:
        case kSupBook: break;  // only what formulas need; those formulas are reported
        case kMsoDrawingGroup: break;  // written by some programs even without drawings
        case kObProj: Lost("宏（VBA 工程）"); break;
        default: break;
      }
    }
    return Fail(error, "文件不完整：缺少工作簿的结束标记");
  }

  FontRecord ReadFont(Cursor& at) {
    FontRecord f;
    f.font.size = at.Read16() / 20.0;
    const std::uint16_t options = at.Read16();
    const std::uint16_t icv = at.Read16();
    const std::uint16_t weight = at.Read16();
    at.Read16();  // escapement
    const std::uint8_t underline = at.U8();
    at.Skip(3);   // family, charset, reserved
    f.font.name = Text(at, false);
    f.font.italic = options & 0x02;
    f.font.strikethrough = options & 0x08;
    f.font.bold = weight >= 700;
    f.font.underline = underline != 0;
    font_colors_.push_back(icv);
    return f;
  }

  XfRecord ReadXf(Cursor& at) {
    XfRecord x;
    x.font = at.Read16();
    x.format = at.Read16();
    at.Read16();  // type and protection
    const std::uint8_t align = at.U8();
    x.horizontal = align & 7;
    if (biff5_) {
      at.U8();
      const std::uint32_t fill = at.Read32();
      const std::uint32_t lines = at.Read32();
      x.fore = fill & 0x7F;
      x.pattern = (fill >> 16) & 0x3F;
      x.line[3] = (fill >> 22) & 0x07;
      x.color[3] = (fill >> 25) & 0x7F;
      x.line[1] = lines & 0x07;
      x.line[0] = (lines >> 3) & 0x07;
      x.line[2] = (lines >> 6) & 0x07;
      x.color[1] = (lines >> 9) & 0x7F;
      x.color[0] = (lines >> 16) & 0x7F;
      x.color[2] = (lines >> 23) & 0x7F;
      return x;
    }
    at.Skip(3);  // rotation, indent, used attributes
    const std::uint32_t borders = at.Read32();
    const std::uint32_t more = at.Read32();
    const std::uint16_t colors = at.Read16();
    x.line = {static_cast<std::uint8_t>(borders & 0xF), static_cast<std::uint8_t>((borders >> 8) & 0xF),
              static_cast<std::uint8_t>((borders >> 4) & 0xF), static_cast<std::uint8_t>((borders >> 12) & 0xF)};
    x.color = {static_cast<std::uint8_t>((borders >> 16) & 0x7F), static_cast<std::uint8_t>(more & 0x7F),
               static_cast<std::uint8_t>((borders >> 23) & 0x7F), static_cast<std::uint8_t>((more >> 7) & 0x7F)};
    x.pattern = (more >> 26) & 0x3F;
    x.fore = colors & 0x7F;
    return x;
  }

  void ReadSst(std::string_view data) {
    Pieces pieces(WithContinues(data));
    pieces.U32();  // total uses
    const std::uint32_t unique = pieces.U32();
    strings_.reserve(std::min<std::size_t>(unique, data.size()));
    for (std::uint32_t i = 0; i < unique && !pieces.AtEnd() && !pieces.overrun(); ++i) strings_.push_back(pieces.String());
  }

  // One workbook format per XF, and whether its numbers are dates.
  void BuildFormats() {
    const Palette& palette = book_.palette();
    for (const XfRecord& x : xfs_) {
      CellFormat f;
      // Font index 4 is never written; indices above it are one higher.
      const std::size_t font = x.font >= 4 ? x.font - 1u : x.font;
      if (font < fonts_.size()) {
        f.font = fonts_[font].font;
        f.font.color = ColorOfIndex(font_colors_[font], palette);
      }
      const auto custom = formats_.find(x.format);
      f.number_format = custom != formats_.end() ? custom->second : BuiltInFormat(x.format);
      if (f.number_format.empty()) f.number_format = "General";
      f.horizontal_alignment = Alignment(x.horizontal);
      if (x.pattern != 0 && x.fore >= 8 && x.fore < 64) f.fill_index = x.fore - 7;
      else if (x.pattern != 0 && x.fore < 8) f.fill_index = palette.NearestIndex(ColorOfIndex(x.fore, palette));
      for (std::size_t e = 0; e < 4; ++e) f.borders[e] = BorderOf(x.line[e], x.color[e], palette);
      xf_formats_.push_back(book_.Intern(f));
      xf_dates_.push_back(IsDateFormat(x.format, f.number_format));
    }
  }

  std::uint16_t FormatOf(std::uint16_t xf) const { return xf < xf_formats_.size() ? xf_formats_[xf] : 0; }
  bool IsDate(std::uint16_t xf) const { return xf < xf_dates_.size() && xf_dates_[xf]; }

  static bool InRange(std::uint32_t row, std::uint32_t column) { return row < kMaxXlsRows && column < kMaxXlsColumns; }

  void PutNumber(Sheet& s, std::uint32_t row, std::uint32_t column, std::uint16_t xf, double number) {
    if (!InRange(row, column)) return;
    s.SetValue(static_cast<std::int32_t>(row + 1), static_cast<std::int32_t>(column + 1),
               IsDate(xf) ? CellValue::Date(number) : CellValue::Number(number));
    s.SetFormatIndex(static_cast<std::int32_t>(row + 1), static_cast<std::int32_t>(column + 1), FormatOf(xf));
  }

  void Put(Sheet& s, std::uint32_t row, std::uint32_t column, std::uint16_t xf, const CellValue& value) {
    if (!InRange(row, column)) return;
    s.SetValue(static_cast<std::int32_t>(row + 1), static_cast<std::int32_t>(column + 1), value);
    s.SetFormatIndex(static_cast<std::int32_t>(row + 1), static_cast<std::int32_t>(column + 1), FormatOf(xf));
  }

  static double Rk(std::uint32_t rk) {
    double value;
    if (rk & 2) {
      value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
      const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
      std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) ? value / 100 : value;
  }

  struct PendingFormula {
    std::uint32_t row, column;
    std::uint32_t anchor_row, anchor_column;
    CellValue cached;
  };

  void ReadSheet(std::uint32_t position, Sheet& s) {
    records_.Seek(position);
    Record r;
    if (!records_.Next(&r) || !IsBof(r.type)) {
      Lost("无法读取的工作表（" + s.name() + "）");
      return;
    }
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::string> shared;
    std::vector<PendingFormula> pending;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> string_for;  // a FORMULA awaiting its STRING
    while (records_.Next(&r)) {
      Cursor at(r.data);
      const std::uint16_t type = r.type;
      if (type == kEof) break;
      if (IsBof(type)) {  // an embedded chart: skip to its end
        Lost("图表");
        int depth = 1;
        while (depth > 0 && records_.Next(&r)) depth += IsBof(r.type) ? 1 : r.type == kEof ? -1 : 0;
        continue;
      }
      switch (type) {
        case kNumber: {
          const std::uint16_t row = at.Read16(), col = at.Read16(), xf = at.Read16();
          const double v = at.ReadF64();
          if (!at.overrun()) PutNumber(s, row, col, xf, v);
          break;
        }
        case kRk: {
          const std::uint16_t row = at.Read16(), col = at.Read16(), xf = at.Read16();
          const std::uint32_t rk = at.Read32();
          if (!at.overrun()) PutNumber(s, row, col, xf, Rk(rk));
          break;
        }
        case kMulRk: {
          const std::uint16_t row = at.Read16();
          std::uint16_t col = at.Read16();
          while (at.left() >= 8) {
            const std::uint16_t xf = at.Read16();
            PutNumber(s, row, col++, xf, Rk(at.Read32()));
          }
          break;
        }
        case kLabelSst: {
          const std::uint16_t row = at.Read16(), col = at.Read16(), xf = at.Read16();
          const std::uint32_t index = at.Read32();
          if (!at.overrun() && index < strings_.size()) Put(s, row, col, xf, CellValue::Text(strings_[index]));
          break;
        }
        case kLabel:
        case kRString: {
          const std::uint16_t row = at.Read16(), col = at.Read16(), xf = at.Read16();
          Put(s, row, col, xf, CellValue::Text(Text(at, true)));
          break;
        }
        case kBoolErr: {
          const std::uint16_t row = at.Read16(), col = at.Read16(), xf = at.Read16();
          const std::uint8_t value = at.U8(), is_error = at.U8();
          if (!at.overrun())
            Put(s, row, col, xf, is_error ? CellValue::Error(2000 + value) : CellValue::Boolean(value != 0));
          break;
        }
        case kBlank: {
          const std::uint16_t row = at.Read16(), col = at.Read16(), xf = at.Read16();
          if (!at.overrun() && InRange(row, col) && FormatOf(xf) != 0)
            s.SetFormatIndex(row + 1, col + 1, FormatOf(xf));
          break;
        }
        case kMulBlank: {
          const std::uint16_t row = at.Read16();
          std::uint16_t col = at.Read16();
          while (at.left() >= 4) {
            const std::uint16_t xf = at.Read16();
            if (InRange(row, col) && FormatOf(xf) != 0) s.SetFormatIndex(row + 1, col + 1, FormatOf(xf));
            ++col;
          }
          break;
        }
        case kFormula: string_for = ReadFormula(at, s, pending); break;
        case kString:
          if (string_for) {
            const auto [row, col] = *string_for;
            const CellValue text = CellValue::Text(Text(at, true));
            s.SetCachedValue(row + 1, col + 1, text);  // the formula stays
            for (PendingFormula& p : pending)
              if (p.row == row && p.column == col) p.cached = text;
          }
          string_for.reset();
          break;
        case kShrFmla: {
          const std::uint16_t first_row = at.Read16();
          at.Read16();
          const std::uint8_t first_col = at.U8();
          at.Skip(3);  // last column, reserved, use count
          const std::uint16_t cce = at.Read16();
          const std::string_view tokens = at.Bytes(std::min<std::size_t>(cce, at.left()));
          shared[{first_row, first_col}] = std::string(tokens);
          break;
        }
        case kArray:
        case kTable: Lost("数组公式或模拟运算表"); break;
        case kColInfo: {
          const std::uint16_t first = at.Read16(), last = at.Read16(), width = at.Read16();
          if (at.overrun()) break;
          for (std::uint32_t c = first; c <= last && c < kMaxXlsColumns; ++c)
            s.SetColumnWidth(static_cast<std::int32_t>(c + 1), width / 256.0);
          break;
        }
        case kRow: {
          const std::uint16_t row = at.Read16();
          at.Skip(4);
          const std::uint16_t height = at.Read16();
          at.Skip(4);
          const std::uint32_t flags = at.Read32();
          if (!at.overrun() && (flags & 0x40) && !(height & 0x8000))  // every 16-bit row is a row
            s.SetRowHeight(row + 1, height / 20.0);
          break;
        }
        case kMergedCells: {
          const std::uint16_t count = at.Read16();
          for (std::uint16_t i = 0; i < count && at.left() >= 8; ++i) {
            const std::uint16_t r1 = at.Read16(), r2 = at.Read16(), c1 = at.Read16(), c2 = at.Read16();
            if (r1 <= r2 && c1 <= c2 && c2 < kMaxXlsColumns)
              s.Merge({r1 + 1, c1 + 1, r2 + 1, c2 + 1});
          }
          break;
        }
        case kNote:
        case kTxo: Lost("批注"); break;
        case kObj: Lost("图片、图形或控件"); break;
        case kMsoDrawing: break;  // drawing containers come even when empty; their objects are OBJ records
        case kCondFmt:
        case kCf: Lost("条件格式"); break;
        case kDval:
        case kDv: Lost("数据有效性"); break;
        case kHlink: Lost("超链接"); break;
        case kSxView: Lost("数据透视表"); break;
        case kAutoFilter: Lost("自动筛选"); break;
        default: break;
      }
    }
    for (const PendingFormula& p : pending) {
      const auto it = shared.find({p.anchor_row, p.anchor_column});
      std::optional<std::string> tokens;
      if (it != shared.end()) tokens = ResolveShared(it->second, static_cast<std::int32_t>(p.row), static_cast<std::int32_t>(p.column));
      KeepFormula(s, p.row, p.column, tokens, p.cached, it != shared.end());
    }
    s.Select({1, 1, 1, 1});
  }

  // Returns the cell when its text result follows in a STRING record.
  std::optional<std::pair<std::uint32_t, std::uint32_t>> ReadFormula(Cursor& at, Sheet& s,
                                                                    std::vector<PendingFormula>& pending) {
    const std::uint16_t row = at.Read16(), col = at.Read16(), xf = at.Read16();
    const std::string_view result = at.Bytes(8);
    at.Read16();  // flags
    at.Read32();
    const std::uint16_t cce = at.Read16();
    const std::string_view tokens = at.Bytes(std::min<std::size_t>(cce, at.left()));
    if (result.size() != 8 || !InRange(row, col)) return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(result.data());
    CellValue cached;
    bool text_follows = false;
    if (p[6] == 0xFF && p[7] == 0xFF) {
      switch (p[0]) {
        case 0: text_follows = true; cached = CellValue::Text(""); break;
        case 1: cached = CellValue::Boolean(p[2] != 0); break;
        case 2: cached = CellValue::Error(2000 + p[2]); break;
        default: cached = CellValue::Text(""); break;
      }
    } else {
      const double v = F64(p);
      cached = IsDate(xf) ? CellValue::Date(v) : CellValue::Number(v);
    }
    s.SetFormatIndex(row + 1, col + 1, FormatOf(xf));
    if (biff5_) {
      Lost("旧格式（BIFF5）文件中的公式（只保留计算结果）");
      s.SetValue(row + 1, col + 1, cached);
    } else if (!tokens.empty() && static_cast<unsigned char>(tokens[0]) == 0x01 && tokens.size() >= 5) {
      const auto* q = reinterpret_cast<const unsigned char*>(tokens.data());
      pending.push_back({row, col, U16(q + 1), U16(q + 3), cached});
      s.SetValue(row + 1, col + 1, cached);
    } else {
      KeepFormula(s, row, col, std::string(tokens), cached, true);
    }
    if (text_follows) return std::pair{std::uint32_t{row}, std::uint32_t{col}};
    return std::nullopt;
  }

  void KeepFormula(Sheet& s, std::uint32_t row, std::uint32_t col, const std::optional<std::string>& tokens,
                   const CellValue& cached, bool known) {
    if (tokens && IsSelfContained(*tokens)) {
      s.SetFormula(row + 1, col + 1, FormulaText(*tokens), cached);
      s.SetFormulaRecord(row + 1, col + 1, *tokens);
    } else {
      Lost(known ? "引用其他工作表、名称或数组的公式（只保留计算结果）" : "数组公式或模拟运算表");
      s.SetValue(row + 1, col + 1, cached);
    }
  }

  std::string_view stream_;
  Records records_;
  Workbook& book_;
  bool biff5_;
  int codepage_ = 1252;
  std::vector<FontRecord> fonts_;
  std::vector<std::uint16_t> font_colors_;
  std::map<std::uint16_t, std::string> formats_;
  std::vector<XfRecord> xfs_;
  std::vector<std::uint16_t> xf_formats_;
  std::vector<bool> xf_dates_;
  std::vector<SheetEntry> sheets_;
  std::vector<std::string> strings_;
  std::size_t active_tab_ = 0;
};

}  // namespace

bool ReadWorkbook(const CompoundContents& contents, Workbook& into, std::string* error) {
  Reader reader(contents, into);
  return reader.Read(error);
}

}  // namespace varnex::spreadsheet::xls
