#include <algorithm>
#include <functional>

#include "automation/utf16.h"
#include "spreadsheet/objects/served.h"

namespace varnex::spreadsheet::objects {

using namespace automation;

namespace {

constexpr std::int32_t kShiftDown = -4121, kShiftUp = -4162, kShiftRight = -4161, kShiftLeft = -4159;
constexpr std::int32_t kEdgeLeft = 7, kEdgeTop = 8, kEdgeBottom = 9, kEdgeRight = 10,
                       kInsideVertical = 11, kInsideHorizontal = 12;

long long CellCount(const Area& a) { return static_cast<long long>(a.rows()) * a.columns(); }

// Where a range, interior, font or border object points.
struct Target {
  std::shared_ptr<Sheet> sheet;
  Area area;

  // The open workbook holding the sheet, or null.
  Workbook* workbook() const { return OpenWorkbookOf(*sheet); }
  Application* app() const { return workbook()->application(); }  // only while open
  bool Open() const { return workbook() != nullptr; }
  // The part of the area that holds anything, for reads over whole rows.
  Area Clipped(const Sheet& s) const {
    const Area used = s.UsedArea();
    Area a = area;
    a.last_row = std::min(a.last_row, std::max(used.last_row, a.first_row));
    a.last_column = std::min(a.last_column, std::max(used.last_column, a.first_column));
    return a;
  }
};

// Changes the format of every cell of an area, interning each distinct
// result once.
HResult EditFormats(const Target& t, const std::function<void(CellFormat&, std::int32_t, std::int32_t)>& edit) {
  Workbook* w = t.workbook();
  if (!w) return kFailed;
  const auto& s = t.sheet;
  if (CellCount(t.area) > kMaxCellsTouched) return kFailed;
  for (std::int32_t r = t.area.first_row; r <= t.area.last_row; ++r) {
    for (std::int32_t c = t.area.first_column; c <= t.area.last_column; ++c) {
      CellFormat format = w->Format(s->FormatIndex(r, c));
      edit(format, r, c);
      s->SetFormatIndex(r, c, w->Intern(format));
    }
  }
  return S_OK;
}

const CellFormat& FirstFormat(const Target& t) {
  static const CellFormat kDefault;
  if (!t.Open()) return kDefault;
  return t.workbook()->Format(t.sheet->FormatIndex(t.area.first_row, t.area.first_column));
}

class InteriorObject : public Served {
 public:
  explicit InteriorObject(Target t) : t_(std::move(t)) {}

 private:
  enum : DispId { kColorIndex = 1, kColor, kPattern };
  const MemberTable& Members() const override {
    static const MemberTable table{{"ColorIndex", kColorIndex, kGetPut}, {"Color", kColor, kGetPut},
                                   {"Pattern", kPattern, kGetPut}};
    return table;
  }
  HResult Call(DispId id, InvokeKind kind, const CallArgs& args, Variant* result) override {
    Workbook* w = t_.workbook();
    if (!w) return kFailed;
    if (kind == kGet) {
      const std::int32_t index = FirstFormat(t_).fill_index;
      if (id == kColor) {
        *result = Variant::Int4(RgbToBgr(index == kColorIndexNone ? 0xFFFFFF : w->palette().ColorOf(index)));
      } else if (id == kPattern) {
        *result = Variant::Int4(index == kColorIndexNone ? -4142 : 1);
      } else {
        *result = Variant::Int4(index);
      }
      return S_OK;
    }
    const auto value = IntArg(*args.put_value());
    if (!value) return DISP_E_TYPEMISMATCH;
    std::int32_t index = *value;
    if (id == kColor) index = w->palette().NearestIndex(BgrToRgb(*value));
    if (id == kPattern) index = *value == -4142 ? kColorIndexNone : FirstFormat(t_).fill_index;
    if (index == kColorIndexAutomatic || index == 0) index = kColorIndexNone;
    if (index != kColorIndexNone && (index < 1 || index > 56)) return kFailed;
    return EditFormats(t_, [&](CellFormat& f, std::int32_t, std::int32_t) { f.fill_index = index; });
  }
  Target t_;
};

class FontObject : public Served {
 public:
  explicit FontObject(Target t) : t_(std::move(t)) {}

 private:
  enum : DispId { kName = 1, kSize, kColor, kColorIndex, kBold, kItalic, kUnderline, kStrikethrough };
  const MemberTable& Members() const override {
    static const MemberTable table{{"Name", kName, kGetPut},        {"Size", kSize, kGetPut},
                                   {"Color", kColor, kGetPut},      {"ColorIndex", kColorIndex, kGetPut},
                                   {"Bold", kBold, kGetPut},        {"Italic", kItalic, kGetPut},
                                   {"Underline", kUnderline, kGetPut},
                                   {"Strikethrough", kStrikethrough, kGetPut}};
    return table;
  }
  HResult Call(DispId id, InvokeKind kind, const CallArgs& args, Variant* result) override {
    Workbook* w = t_.workbook();
    if (!w) return kFailed;
    if (kind == kGet) {
      const Font& f = FirstFormat(t_).font;
      switch (id) {
        case kName: *result = Variant::Text(f.name); break;
        case kSize: *result = Variant::Real8(f.size); break;
        case kColor: *result = Variant::Int4(RgbToBgr(f.color)); break;
        case kColorIndex: *result = Variant::Int4(w->palette().NearestIndex(f.color)); break;
        case kBold: *result = Variant::Bool(f.bold); break;
        case kItalic: *result = Variant::Bool(f.italic); break;
        case kUnderline: *result = Variant::Int4(f.underline ? 2 : -4142); break;
        default: *result = Variant::Bool(f.strikethrough); break;
      }
      return S_OK;
    }
    const Variant& v = *args.put_value();
    std::function<void(Font&)> edit;
    if (id == kName) {
      const auto name = TextArg(v);
      if (!name || name->empty()) return DISP_E_TYPEMISMATCH;
      edit = [n = *name](Font& f) { f.name = n; };
    } else if (id == kSize) {
      const auto size = RealArg(v);
      if (!size || *size < 1 || *size > 409) return kFailed;
      edit = [z = *size](Font& f) { f.size = z; };
    } else if (id == kColor || id == kColorIndex) {
      const auto color = IntArg(v);
      if (!color) return DISP_E_TYPEMISMATCH;
      const Rgb rgb = id == kColor ? BgrToRgb(*color) : w->palette().ColorOf(*color);
      edit = [rgb](Font& f) { f.color = rgb; };
    } else if (id == kUnderline) {
      // True/False, or an underline style (xlUnderlineStyleNone is -4142).
      const auto style = IntArg(v);
      if (!style) return DISP_E_TYPEMISMATCH;
      const bool on = *style != 0 && *style != -4142;
      edit = [on](Font& f) { f.underline = on; };
    } else {
      const auto on = BoolArg(v);
      if (!on) return DISP_E_TYPEMISMATCH;
      edit = [id, b = *on](Font& f) { (id == kBold ? f.bold : id == kItalic ? f.italic : f.strikethrough) = b; };
    }
    return EditFormats(t_, [&](CellFormat& f, std::int32_t, std::int32_t) { edit(f.font); });
  }
  Target t_;
};

// One border kind of a range, or (index 0) all of its borders.
class BorderObject : public Served {
 public:
  BorderObject(Target t, std::int32_t index) : t_(std::move(t)), index_(index) {}

 private:
  enum : DispId { kLineStyle = 1, kWeight, kColor, kColorIndex, kItem, kCount };
  const MemberTable& Members() const override {
    static const MemberTable table{{"LineStyle", kLineStyle, kGetPut}, {"Weight", kWeight, kGetPut},
                                   {"Color", kColor, kGetPut},         {"ColorIndex", kColorIndex, kGetPut},
                                   {"Item", kItem, kGet},              {"Count", kCount, kGet}};
    return table;
  }
  // The cell edges this border kind stands for, at one cell.
  std::vector<Edge> EdgesAt(std::int32_t r, std::int32_t c) const {
    const Area& a = t_.area;
    switch (index_) {
      case kEdgeLeft: return c == a.first_column ? std::vector{kLeft} : std::vector<Edge>{};
      case kEdgeTop: return r == a.first_row ? std::vector{kTop} : std::vector<Edge>{};
      case kEdgeBottom: return r == a.last_row ? std::vector{kBottom} : std::vector<Edge>{};
      case kEdgeRight: return c == a.last_column ? std::vector{kRight} : std::vector<Edge>{};
      case kInsideVertical: {
        std::vector<Edge> e;
        if (c > a.first_column) e.push_back(kLeft);
        if (c < a.last_column) e.push_back(kRight);
        return e;
      }
      case kInsideHorizontal: {
        std::vector<Edge> e;
        if (r > a.first_row) e.push_back(kTop);
        if (r < a.last_row) e.push_back(kBottom);
        return e;
      }
      case 0: return {kLeft, kTop, kRight, kBottom};
      default: return {};  // diagonals are not kept
    }
  }
  HResult Call(DispId id, InvokeKind kind, const CallArgs& args, Variant* result) override {
    Workbook* w = t_.workbook();
    if (!w) return kFailed;
    if (id == kItem) {
      if (index_ != 0 || args.count() != 1) return DISP_E_BADPARAMCOUNT;
      const auto i = IntArg(args[0]);
      if (!i) return DISP_E_TYPEMISMATCH;
      if (*i < 5 || *i > 12) return DISP_E_BADINDEX;
      *result = Hand<BorderObject>(t_, *i);
      return S_OK;
    }
    if (id == kCount) {
      *result = Variant::Int4(index_ == 0 ? 6 : 1);
      return S_OK;
    }
    if (kind == kGet) {
      const Border& b = FirstFormat(t_).borders[index_ == kEdgeLeft ? kLeft : index_ == kEdgeRight ? kRight
                                                : index_ == kEdgeTop ? kTop : kBottom];
      if (id == kLineStyle) *result = Variant::Int4(b.line_style);
      else if (id == kWeight) *result = Variant::Int4(b.weight);
      else if (id == kColor) *result = Variant::Int4(RgbToBgr(b.color));
      else *result = Variant::Int4(w->palette().NearestIndex(b.color));
      return S_OK;
    }
    const auto value = IntArg(*args.put_value());
    if (!value) return DISP_E_TYPEMISMATCH;
    if (id == kWeight && *value != 1 && *value != 2 && *value != -4138 && *value != 4) return kFailed;
    const std::int32_t v = *value;
    return EditFormats(t_, [&](CellFormat& f, std::int32_t r, std::int32_t c) {
      for (Edge e : EdgesAt(r, c)) {
        Border& b = f.borders[e];
        if (id == kLineStyle) b.line_style = v;
        else if (id == kWeight) b.weight = v;
        else if (id == kColor) b.color = BgrToRgb(v);
        else b.color = w->palette().ColorOf(v);
      }
    });
  }
  Target t_;
  std::int32_t index_;
};

class RangeObject : public Served {
 public:
  RangeObject(Target t, RangeMode mode) : t_(std::move(t)), mode_(mode) {}

 private:
  enum : DispId {
    kValue = 0, kItem = 1, kFormula, kInterior, kFont, kBorders, kColumns, kRows, kColumn, kRow, kCount,
    kAutoFit, kClear, kClearContents, kClearFormats, kClearComments, kAddComment, kAutoFill,
    kInsert, kDelete, kMerge, kUnMerge, kCopy, kCut, kPasteSpecial, kFillDown, kFillLeft,
    kFillRight, kFillUp, kHorizontalAlignment, kFunctionWizard, kSelect, kAddress, kCells,
    kActivate, kValue2, kText
  };
  const MemberTable& Members() const override {
    static const MemberTable table{
        {"Value", kValue, kGetPut},          {"Item", kItem, kGetPut},
        {"Formula", kFormula, kGetPut},      {"Interior", kInterior, kGet},
        {"Font", kFont, kGet},               {"Borders", kBorders, kGet},
        {"Columns", kColumns, kGet},         {"Rows", kRows, kGet},
        {"Column", kColumn, kGet},           {"Row", kRow, kGet},
        {"Count", kCount, kGet},             {"AutoFit", kAutoFit, kMethodGet},
        {"Clear", kClear, kMethodGet},       {"ClearContents", kClearContents, kMethodGet},
        {"ClearFormats", kClearFormats, kMethodGet}, {"ClearComments", kClearComments, kMethodGet},
        {"AddComment", kAddComment, kMethodGet},     {"AutoFill", kAutoFill, kMethodGet},
        {"Insert", kInsert, kMethodGet},     {"Delete", kDelete, kMethodGet},
        {"Merge", kMerge, kMethodGet},       {"UnMerge", kUnMerge, kMethodGet},
        {"Copy", kCopy, kMethodGet},         {"Cut", kCut, kMethodGet},
        {"PasteSpecial", kPasteSpecial, kMethodGet}, {"FillDown", kFillDown, kMethodGet},
        {"FillLeft", kFillLeft, kMethodGet}, {"FillRight", kFillRight, kMethodGet},
        {"FillUp", kFillUp, kMethodGet},     {"HorizontalAlignment", kHorizontalAlignment, kGetPut},
        {"FunctionWizard", kFunctionWizard, kMethodGet}, {"Select", kSelect, kMethodGet},
        {"Address", kAddress, kGet},         {"Cells", kCells, kGet},
        {"Activate", kActivate, kMethodGet}, {"Value2", kValue2, kGetPut},
        {"Text", kText, kGet}};
    return table;
  }

  HResult Call(DispId id, InvokeKind kind, const CallArgs& args, Variant* result) override {
    Workbook* w = t_.workbook();
    if (!w) return kFailed;
    const auto& s = t_.sheet;
    const Area& a = t_.area;
    const bool put = kind == kPut;
    switch (id) {
      case kValue:
      case kValue2:
        if (args.count() > 1) return DISP_E_BADPARAMCOUNT;
        return put ? PutValue(*s, *args.put_value()) : GetValue(*s, result);
      case kItem: return ItemCall(s, args, put, result);
      case kFormula:
        if (put) return PutValue(*s, *args.put_value());
        if (const std::string* f = s->Formula(a.first_row, a.first_column)) {
          *result = Variant::Text(*f);
          return S_OK;
        }
        *result = Variant::Text(DisplayText(s->Value(a.first_row, a.first_column)));
        return S_OK;
      case kText:
        *result = Variant::Text(DisplayText(s->Value(a.first_row, a.first_column)));
        return S_OK;
      case kInterior: *result = Hand<InteriorObject>(t_); return S_OK;
      case kFont: *result = Hand<FontObject>(t_); return S_OK;
      case kBorders: *result = Hand<BorderObject>(t_, 0); return S_OK;
      case kColumns: *result = NewRange(s, a, RangeMode::kColumns); return S_OK;
      case kRows: *result = NewRange(s, a, RangeMode::kRows); return S_OK;
      case kCells: *result = NewRange(s, a, RangeMode::kCells); return S_OK;
      case kColumn: *result = Variant::Int4(a.first_column); return S_OK;
      case kRow: *result = Variant::Int4(a.first_row); return S_OK;
      case kCount:
        *result = mode_ == RangeMode::kRows      ? Variant::Int4(a.rows())
                  : mode_ == RangeMode::kColumns ? Variant::Int4(a.columns())
                                                 : Variant::Real8(static_cast<double>(CellCount(a)));
        return S_OK;
      case kAddress: *result = Variant::Text(FormatAddress(a)); return S_OK;
      case kAutoFit: return AutoFit(*s);
      case kClear:
        s->ClearContents(a);
        s->ClearFormats(a);
        s->ClearComments(a);
        return S_OK;
      case kClearContents: s->ClearContents(a); return S_OK;
      case kClearFormats: s->ClearFormats(a); return S_OK;
      case kClearComments: s->ClearComments(a); return S_OK;
      case kAddComment: {
        if (args.count() > 1) return DISP_E_BADPARAMCOUNT;
        if (s->Comment(a.first_row, a.first_column)) return kFailed;  // Excel refuses a second one
        const auto text = args.Has(0) ? TextArg(args[0]) : std::optional<std::string>("");
        if (!text) return DISP_E_TYPEMISMATCH;
        s->SetComment(a.first_row, a.first_column, *text);
        return S_OK;
      }
      case kAutoFill: return AutoFill(*s, args);
      case kInsert:
      case kDelete: return Shift(*s, args, id == kInsert);
      case kMerge:
        if (args.Has(0) && BoolArg(args[0]).value_or(false)) {
          for (std::int32_t r = a.first_row; r <= a.last_row; ++r) s->Merge({r, a.first_column, r, a.last_column});
        } else {
          s->Merge(a);
        }
        return S_OK;
      case kUnMerge: s->Unmerge(a); return S_OK;
      case kCopy:
      case kCut:
        t_.app()->clipboard = {s, a, id == kCut};
        return S_OK;
      case kPasteSpecial: return Paste(*s, *w);
      case kFillDown: return Fill(*s, 1, 0);
      case kFillUp: return Fill(*s, -1, 0);
      case kFillRight: return Fill(*s, 0, 1);
      case kFillLeft: return Fill(*s, 0, -1);
      case kHorizontalAlignment: {
        if (!put) {
          *result = Variant::Int4(FirstFormat(t_).horizontal_alignment);
          return S_OK;
        }
        const auto align = IntArg(*args.put_value());
        if (!align) return DISP_E_TYPEMISMATCH;
        static constexpr std::int32_t kKnown[] = {1, -4131, -4108, -4152, 5, -4130, 7, -4117};
        if (std::find(std::begin(kKnown), std::end(kKnown), *align) == std::end(kKnown)) return kFailed;
        return EditFormats(t_, [&](CellFormat& f, std::int32_t, std::int32_t) { f.horizontal_alignment = *align; });
      }
      case kFunctionWizard:
        if (!t_.app()->hooks) return automation::DISP_E_MEMBERNOTFOUND;
        return t_.app()->hooks->FunctionWizard(*s, a) ? S_OK : kFailed;
      case kSelect:
      case kActivate: {
        // Only a range on the active sheet of the active workbook can be selected.
        if (t_.app()->active_workbook().get() != w || &w->active_sheet() != s.get()) return kFailed;
        s->Select(a);
        *result = Variant::Bool(true);
        return S_OK;
      }
      default: return automation::DISP_E_MEMBERNOTFOUND;
    }
  }

  static std::string DisplayText(const CellValue& v) {
    if (v.kind == CellKind::kError) return ErrorText(static_cast<std::int32_t>(v.number));
    if (v.kind == CellKind::kBoolean) return v.number ? "TRUE" : "FALSE";
    return TextArg(CellToVariant(v)).value_or("");
  }

  HResult GetValue(const Sheet& s, Variant* result) const {
    const Area& a = t_.area;
    if (CellCount(a) == 1) {
      *result = CellToVariant(s.Value(a.first_row, a.first_column));
      return S_OK;
    }
    if (CellCount(a) > kMaxCellsTouched) return kFailed;
    VariantArray array;
    array.rows = a.rows();
    array.columns = a.columns();
    array.items.resize(static_cast<std::size_t>(CellCount(a)));
    const Area stored = t_.Clipped(s);
    for (std::int32_t r = a.first_row; r <= stored.last_row; ++r)
      for (std::int32_t c = a.first_column; c <= stored.last_column; ++c)
        array.At(r - a.first_row + 1, c - a.first_column + 1) = CellToVariant(s.Value(r, c));
    *result = Variant::Array(std::move(array));
    return S_OK;
  }

  HResult PutValue(Sheet& s, const Variant& value) {
    const Area& a = t_.area;
    if (CellCount(a) > kMaxCellsTouched) return kFailed;
    if (value.type() & VT_ARRAY) {
      const VariantArray& array = value.array();
      for (std::int32_t r = 0; r < a.rows(); ++r) {
        for (std::int32_t c = 0; c < a.columns(); ++c) {
          const bool inside = r < array.rows && c < array.columns;
          const Variant cell = inside ? array.At(array.lower_row + r, array.lower_column + c)
                                      : Variant::Error(MakeHResult(0x800A0000u + kErrorNA));
          if (const HResult hr = StoreVariant(s, a.first_row + r, a.first_column + c, cell); Failed(hr)) return hr;
        }
      }
      return S_OK;
    }
    for (std::int32_t r = a.first_row; r <= a.last_row; ++r)
      for (std::int32_t c = a.first_column; c <= a.last_column; ++c)
        if (const HResult hr = StoreVariant(s, r, c, value); Failed(hr)) return hr;
    return S_OK;
  }

  HResult ItemCall(const std::shared_ptr<Sheet>& s, const CallArgs& args, bool put, Variant* result) {
    const Area& a = t_.area;
    if (args.count() < 1 || args.count() > 2 || !args.Has(0)) return DISP_E_BADPARAMCOUNT;
    const auto first = IntArg(args[0]);
    if (!first) return DISP_E_TYPEMISMATCH;
    std::int32_t row, column;
    if (args.count() == 2 && args.Has(1)) {
      const auto second = IntArg(args[1]);
      if (!second) return DISP_E_TYPEMISMATCH;
      row = a.first_row + *first - 1;
      column = a.first_column + *second - 1;
    } else {
      // A single index counts the cells row by row (or the rows or columns).
      const std::int32_t n = *first - 1;
      if (mode_ == RangeMode::kRows) {
        *result = NewRange(s, {a.first_row + n, a.first_column, a.first_row + n, a.last_column});
        return a.first_row + n >= 1 && a.first_row + n <= kMaxRows ? S_OK : kFailed;
      }
      if (mode_ == RangeMode::kColumns) {
        *result = NewRange(s, {a.first_row, a.first_column + n, a.last_row, a.first_column + n});
        return a.first_column + n >= 1 && a.first_column + n <= kMaxColumns ? S_OK : kFailed;
      }
      row = a.first_row + (n >= 0 ? n / a.columns() : -1);
      column = a.first_column + (n >= 0 ? n % a.columns() : 0);
    }
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) return kFailed;
    if (put) return StoreVariant(*s, row, column, *args.put_value());
    *result = NewRange(s, {row, column, row, column});
    return S_OK;
  }

  HResult AutoFit(Sheet& s) {
    const Area stored = t_.Clipped(s);
    if (mode_ == RangeMode::kRows) {
      for (std::int32_t r = t_.area.first_row; r <= stored.last_row; ++r) s.SetRowHeight(r, Sheet::kDefaultRowHeight);
      return S_OK;
    }
    // Columns fit their widest shown text; a Chinese character is two wide.
    for (std::int32_t c = t_.area.first_column; c <= stored.last_column; ++c) {
      double widest = 0;
      for (std::int32_t r = 1, last = s.UsedArea().last_row; r <= last; ++r) {
        const std::u16string shown = Utf8ToUtf16(DisplayText(s.Value(r, c)));
        double width = 0;
        for (char16_t ch : shown) width += ch < 0x2E80 ? 1 : 2;
        widest = std::max(widest, width);
      }
      s.SetColumnWidth(c, widest > 0 ? widest + 1 : Sheet::kDefaultColumnWidth);
    }
    return S_OK;
  }

  HResult AutoFill(Sheet& s, const CallArgs& args) {
    if (args.count() < 1 || !args.Has(0)) return DISP_E_BADPARAMCOUNT;
    // The destination is a range that holds this one; a number is no range.
    if (args[0].type() != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
    Variant address;
    DispParams none;
    Dispatch* dest = args[0].object();
    DispId id;
    if (!dest || Failed(dest->GetIdOfName(u"Address", 0, &id)) ||
        Failed(dest->Invoke(id, 0, kGet, none, &address)))
      return DISP_E_TYPEMISMATCH;
    const auto target = ParseAddress(TextArg(address).value_or(""));
    const Area& a = t_.area;
    if (!target || !target->Contains(a.first_row, a.first_column) || !target->Contains(a.last_row, a.last_column))
      return kFailed;
    if (CellCount(*target) > kMaxCellsTouched) return kFailed;
    const bool down = target->rows() > a.rows();
    for (std::int32_t r = target->first_row; r <= target->last_row; ++r) {
      for (std::int32_t c = target->first_column; c <= target->last_column; ++c) {
        if (a.Contains(r, c)) continue;
        const std::int32_t sr = down ? a.first_row + (r - a.first_row) % a.rows() : r;
        const std::int32_t sc = down ? c : a.first_column + (c - a.first_column) % a.columns();
        s.SetValue(r, c, s.Value(sr, sc));
        s.SetFormatIndex(r, c, s.FormatIndex(sr, sc));
      }
    }
    return S_OK;
  }

  HResult Shift(Sheet& s, const CallArgs& args, bool insert) {
    const Area& a = t_.area;
    std::optional<std::int32_t> shift;
    if (args.Has(0)) {
      shift = IntArg(args[0]);
      if (!shift) return DISP_E_TYPEMISMATCH;
    }
    bool vertical;
    if (mode_ == RangeMode::kRows || (a.first_column == 1 && a.last_column == kMaxColumns)) {
      vertical = true;
    } else if (mode_ == RangeMode::kColumns || (a.first_row == 1 && a.last_row == kMaxRows)) {
      vertical = false;
    } else if (shift) {
      if (*shift == kShiftDown || *shift == kShiftUp) vertical = true;
      else if (*shift == kShiftRight || *shift == kShiftLeft) vertical = false;
      else return kFailed;
    } else {
      vertical = a.columns() >= a.rows();  // Excel's guess from the shape
    }
    Area whole = a;
    if (mode_ == RangeMode::kRows) whole.first_column = 1, whole.last_column = kMaxColumns;
    if (mode_ == RangeMode::kColumns) whole.first_row = 1, whole.last_row = kMaxRows;
    if (insert) s.InsertCells(whole, vertical);
    else s.DeleteCells(whole, vertical);
    if (s.dropped_formula_records()) {
      Workbook* w = t_.workbook();
      const std::string note = "插入或删除单元格后，文件中的公式只能按计算结果保存";
      if (w && std::find(w->lost_content().begin(), w->lost_content().end(), note) == w->lost_content().end())
        w->lost_content().push_back(note);
    }
    return S_OK;
  }

  HResult Paste(Sheet& s, Workbook& w) {
    Application::Clipboard& clip = t_.app()->clipboard;
    auto source = clip.sheet.lock();
    Workbook* source_book = source ? OpenWorkbookOf(*source) : nullptr;
    if (!source_book) return kFailed;
    const Area from = clip.area;
    if (CellCount(from) > kMaxCellsTouched) return kFailed;
    struct Taken { CellValue value; CellFormat format; std::optional<std::string> formula; };
    std::vector<Taken> taken;
    for (std::int32_t r = from.first_row; r <= from.last_row; ++r)
      for (std::int32_t c = from.first_column; c <= from.last_column; ++c) {
        const std::string* f = source->Formula(r, c);
        taken.push_back({source->Value(r, c), source_book->Format(source->FormatIndex(r, c)),
                         f ? std::optional(*f) : std::nullopt});
      }
    if (clip.cut) {
      source->ClearContents(from);
      source->ClearFormats(from);
      clip = {};
    }
    std::size_t i = 0;
    for (std::int32_t r = 0; r < from.rows(); ++r)
      for (std::int32_t c = 0; c < from.columns(); ++c, ++i) {
        const std::int32_t row = t_.area.first_row + r, column = t_.area.first_column + c;
        if (row > kMaxRows || column > kMaxColumns) continue;
        if (taken[i].formula) s.SetFormula(row, column, *taken[i].formula, taken[i].value);
        else s.SetValue(row, column, taken[i].value);
        s.SetFormatIndex(row, column, w.Intern(taken[i].format));
      }
    return S_OK;
  }

  // Copies the first row (or column) over the rest, in the given direction.
  HResult Fill(Sheet& s, int dr, int dc) {
    const Area& a = t_.area;
    if (CellCount(a) > kMaxCellsTouched) return kFailed;
    for (std::int32_t r = a.first_row; r <= a.last_row; ++r) {
      for (std::int32_t c = a.first_column; c <= a.last_column; ++c) {
        const std::int32_t sr = dr > 0 ? a.first_row : dr < 0 ? a.last_row : r;
        const std::int32_t sc = dc > 0 ? a.first_column : dc < 0 ? a.last_column : c;
        if (sr == r && sc == c) continue;
        if (const std::string* f = s.Formula(sr, sc)) {
          const std::string formula = *f;
          s.SetFormula(r, c, formula, s.Value(sr, sc));
        } else {
          s.SetValue(r, c, s.Value(sr, sc));
        }
        s.SetFormatIndex(r, c, s.FormatIndex(sr, sc));
      }
    }
    return S_OK;
  }

  Target t_;
  RangeMode mode_;
};

}  // namespace

Variant NewRange(const std::shared_ptr<Sheet>& sheet, const Area& area, RangeMode mode) {
  return Hand<RangeObject>(Target{sheet, area}, mode);
}

HResult RangeOnSheet(const std::shared_ptr<Sheet>& sheet, const CallArgs& args, Variant* result) {
  if (args.count() < 1 || args.count() > 2 || !args.Has(0)) return DISP_E_BADPARAMCOUNT;
  if (!sheet || !OpenWorkbookOf(*sheet)) return kFailed;
  const auto first = TextArg(args[0]);
  if (!first) return DISP_E_TYPEMISMATCH;
  auto area = ParseAddress(*first);
  if (!area) return kFailed;
  if (args.count() == 2 && args.Has(1)) {
    const auto second_text = TextArg(args[1]);
    if (!second_text) return DISP_E_TYPEMISMATCH;
    const auto second = ParseAddress(*second_text);
    if (!second) return kFailed;
    area = Area{std::min(area->first_row, second->first_row), std::min(area->first_column, second->first_column),
                std::max(area->last_row, second->last_row), std::max(area->last_column, second->last_column)};
  }
  *result = NewRange(sheet, *area);
  return S_OK;
}

}  // namespace varnex::spreadsheet::objects
