#include "automation/utf16.h"
#include "spreadsheet/objects/served.h"

// The workbooks collection, a workbook, its sheets and a worksheet.
namespace varnex::spreadsheet::objects {

using namespace automation;

namespace {

class WorksheetObject : public Served {
 public:
  explicit WorksheetObject(const std::shared_ptr<Sheet>& s) : sheet_(s) {}

 private:
  enum : DispId { kRange = 1, kCells, kUsedRange, kSelect, kDelete, kName, kIndex, kActivate, kRows, kColumns };
  const MemberTable& Members() const override {
    static const MemberTable table{{"Range", kRange, kGet},         {"Cells", kCells, kGet},
                                   {"UsedRange", kUsedRange, kGet}, {"Select", kSelect, kMethodGet},
                                   {"Delete", kDelete, kMethodGet}, {"Name", kName, kGetPut},
                                   {"Index", kIndex, kGet},         {"Activate", kActivate, kMethodGet},
                                   {"Rows", kRows, kGet},           {"Columns", kColumns, kGet}};
    return table;
  }
  HResult Call(DispId id, InvokeKind kind, const CallArgs& args, Variant* result) override {
    const auto& s = sheet_;
    Workbook* w = OpenWorkbookOf(*s);
    if (!w) return kFailed;
    const Area all{1, 1, kMaxRows, kMaxColumns};
    switch (id) {
      case kRange: return RangeOnSheet(s, args, result);
      case kCells: *result = NewRange(s, all); return S_OK;
      case kRows: *result = NewRange(s, all, RangeMode::kRows); return S_OK;
      case kColumns: *result = NewRange(s, all, RangeMode::kColumns); return S_OK;
      case kUsedRange: *result = NewRange(s, s->UsedArea()); return S_OK;
      case kSelect:
      case kActivate:
        w->application()->ActivateWorkbook(*w);
        w->ActivateSheet(static_cast<std::size_t>(w->IndexOf(*s)));
        return S_OK;
      case kDelete: return w->RemoveSheet(static_cast<std::size_t>(w->IndexOf(*s))) ? S_OK : kFailed;
      case kIndex: *result = Variant::Int4(static_cast<std::int32_t>(w->IndexOf(*s) + 1)); return S_OK;
      case kName: {
        if (kind == kGet) {
          *result = Variant::Text(s->name());
          return S_OK;
        }
        const auto name = TextArg(*args.put_value());
        if (!name || name->empty() || name->size() > 93) return kFailed;  // 31 characters of UTF-8
        if (auto other = w->FindSheet(*name); other && other != s) return kFailed;
        s->Rename(*name);
        return S_OK;
      }
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }
  std::shared_ptr<Sheet> sheet_;
};

class SheetsObject : public Served {
 public:
  explicit SheetsObject(const std::shared_ptr<Workbook>& w) : workbook_(w) {}

 private:
  enum : DispId { kItem = 0, kCount = 1, kAdd };
  const MemberTable& Members() const override {
    static const MemberTable table{{"Item", kItem, kGet}, {"Count", kCount, kGet}, {"Add", kAdd, kMethodGet}};
    return table;
  }
  HResult Call(DispId id, InvokeKind, const CallArgs& args, Variant* result) override {
    const auto& w = workbook_;
    if (w->closed()) return kFailed;
    if (id == kCount) {
      *result = Variant::Int4(static_cast<std::int32_t>(w->sheet_count()));
      return S_OK;
    }
    if (id == kAdd) {
      Sheet& added = w->AddSheet();
      *result = NewWorksheet(w->sheet(w->sheet_count() - 1));
      w->ActivateSheet(static_cast<std::size_t>(w->IndexOf(added)));
      return S_OK;
    }
    if (args.count() != 1 || !args.Has(0)) return DISP_E_BADPARAMCOUNT;
    std::shared_ptr<Sheet> sheet;
    if (args[0].type() == VT_BSTR) {
      sheet = w->FindSheet(Utf16ToUtf8(args[0].text()));
    } else {
      const auto n = IntArg(args[0]);
      if (!n) return DISP_E_TYPEMISMATCH;
      if (*n >= 1 && static_cast<std::size_t>(*n) <= w->sheet_count()) sheet = w->sheet(static_cast<std::size_t>(*n - 1));
    }
    if (!sheet) return DISP_E_BADINDEX;
    *result = NewWorksheet(sheet);
    return S_OK;
  }
  std::shared_ptr<Workbook> workbook_;
};

class WorkbookObject : public Served {
 public:
  explicit WorkbookObject(const std::shared_ptr<Workbook>& w) : workbook_(w) {}

 private:
  enum : DispId { kSheets = 1, kSave, kSaveAs, kNewWindow, kPrintPreview, kPrintOut, kClose, kName,
                  kFullName, kSaved, kActiveSheet, kActivate };
  const MemberTable& Members() const override {
    static const MemberTable table{
        {"Sheets", kSheets, kGet},           {"Worksheets", kSheets, kGet},
        {"Save", kSave, kMethodGet},         {"SaveAs", kSaveAs, kMethodGet},
        {"NewWindow", kNewWindow, kMethodGet}, {"PrintPreview", kPrintPreview, kMethodGet},
        {"PrintOut", kPrintOut, kMethodGet}, {"Close", kClose, kMethodGet},
        {"Name", kName, kGet},               {"FullName", kFullName, kGet},
        {"Saved", kSaved, kGetPut},          {"ActiveSheet", kActiveSheet, kGet},
        {"Activate", kActivate, kMethodGet}};
    return table;
  }
  HResult Call(DispId id, InvokeKind kind, const CallArgs& args, Variant* result) override {
    const auto& w = workbook_;
    if (w->closed()) return kFailed;
    Application* app = w->application();
    ApplicationHooks* hooks = app->hooks;
    switch (id) {
      case kSheets: *result = NewSheets(w); return S_OK;
      case kActiveSheet:
        *result = NewWorksheet(w->sheet(w->active_sheet_index()));
        return S_OK;
      case kSave: return app->Save(*w, nullptr) ? S_OK : kFailed;
      case kSaveAs: {
        if (!args.Has(0)) return DISP_E_PARAMNOTOPTIONAL;
        const auto path = TextArg(args[0]);
        if (!path) return DISP_E_TYPEMISMATCH;
        if (path->empty()) return kFailed;
        return app->SaveAs(*w, *path, nullptr) ? S_OK : kFailed;
      }
      case kNewWindow:
        if (!hooks) return DISP_E_MEMBERNOTFOUND;
        return hooks->NewWindow(*w) ? S_OK : kFailed;
      case kPrintPreview:
        if (!hooks) return DISP_E_MEMBERNOTFOUND;
        return hooks->PrintPreview(*w) ? S_OK : kFailed;
      case kPrintOut:
        if (!hooks) return DISP_E_MEMBERNOTFOUND;
        return hooks->PrintOut(*w) ? S_OK : kFailed;
      case kClose: {
        if (args.Has(0) && BoolArg(args[0]).value_or(false)) {  // SaveChanges:=True
          if (!app->Save(*w, nullptr)) return kFailed;
        } else if (args.Has(0)) {
          w->MarkSaved();  // SaveChanges:=False: the caller chose to drop them
        }
        return app->CloseWorkbook(*w) ? S_OK : kFailed;
      }
      case kName: *result = Variant::Text(w->name()); return S_OK;
      case kFullName: *result = Variant::Text(w->path().empty() ? w->name() : w->path()); return S_OK;
      case kSaved:
        if (kind == kGet) {
          *result = Variant::Bool(!w->dirty());
          return S_OK;
        } else {
          const auto saved = BoolArg(*args.put_value());
          if (!saved) return DISP_E_TYPEMISMATCH;
          if (*saved) w->MarkSaved(); else w->MarkDirty();
          return S_OK;
        }
      case kActivate: app->ActivateWorkbook(*w); return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }
  std::shared_ptr<Workbook> workbook_;
};

class WorkbooksObject : public Served {
 public:
  explicit WorkbooksObject(std::shared_ptr<Application> app) : app_(std::move(app)) {}

 private:
  enum : DispId { kItem = 0, kOpen = 1, kClose, kAdd, kOpenXML, kCount };
  const MemberTable& Members() const override {
    static const MemberTable table{{"Item", kItem, kGet},         {"Open", kOpen, kMethodGet},
                                   {"Close", kClose, kMethodGet}, {"Add", kAdd, kMethodGet},
                                   {"OpenXML", kOpenXML, kMethodGet}, {"Count", kCount, kGet}};
    return table;
  }
  HResult Call(DispId id, InvokeKind, const CallArgs& args, Variant* result) override {
    switch (id) {
      case kCount: *result = Variant::Int4(static_cast<std::int32_t>(app_->workbooks().size())); return S_OK;
      case kAdd: *result = NewWorkbook(app_->AddWorkbook()); return S_OK;
      case kClose: return app_->CloseAll() ? S_OK : kFailed;
      case kOpen:
      case kOpenXML: {
        if (!args.Has(0)) return DISP_E_PARAMNOTOPTIONAL;
        if (args.count() > 15) return DISP_E_BADPARAMCOUNT;
        const auto path = TextArg(args[0]);
        if (!path) return DISP_E_TYPEMISMATCH;
        if (id == kOpenXML) return kFailed;  // XML spreadsheets are not read here
        auto opened = app_->OpenWorkbook(*path, nullptr);
        if (!opened) return kFailed;
        *result = NewWorkbook(opened);
        return S_OK;
      }
      default: {
        if (args.count() != 1 || !args.Has(0)) return DISP_E_BADPARAMCOUNT;
        const auto& books = app_->workbooks();
        if (args[0].type() == VT_BSTR) {
          const std::string name = Utf16ToUtf8(args[0].text());
          for (const auto& b : books)
            if (b->name() == name) {
              *result = NewWorkbook(b);
              return S_OK;
            }
          return DISP_E_BADINDEX;
        }
        const auto n = IntArg(args[0]);
        if (!n) return DISP_E_TYPEMISMATCH;
        if (*n < 1 || static_cast<std::size_t>(*n) > books.size()) return DISP_E_BADINDEX;
        *result = NewWorkbook(books[static_cast<std::size_t>(*n - 1)]);
        return S_OK;
      }
    }
  }
  std::shared_ptr<Application> app_;
};

class WindowObject : public Served {
 public:
  explicit WindowObject(std::shared_ptr<Application> app) : app_(std::move(app)) {}

 private:
  enum : DispId { kView = 1 };
  const MemberTable& Members() const override {
    static const MemberTable table{{"View", kView, kGetPut}};
    return table;
  }
  HResult Call(DispId, InvokeKind kind, const CallArgs& args, Variant* result) override {
    if (!app_->hooks) return DISP_E_MEMBERNOTFOUND;
    if (kind == kGet) {
      *result = Variant::Int4(app_->hooks->View());
      return S_OK;
    }
    const auto view = IntArg(*args.put_value());
    if (!view) return DISP_E_TYPEMISMATCH;
    return app_->hooks->SetView(*view) ? S_OK : kFailed;
  }
  std::shared_ptr<Application> app_;
};

}  // namespace

Variant NewWorkbooks(const std::shared_ptr<Application>& app) { return Hand<WorkbooksObject>(app); }
Variant NewWorkbook(const std::shared_ptr<Workbook>& workbook) { return Hand<WorkbookObject>(workbook); }
Variant NewSheets(const std::shared_ptr<Workbook>& workbook) { return Hand<SheetsObject>(workbook); }
Variant NewWorksheet(const std::shared_ptr<Sheet>& sheet) { return Hand<WorksheetObject>(sheet); }
Variant NewWindow(const std::shared_ptr<Application>& app) { return Hand<WindowObject>(app); }

}  // namespace varnex::spreadsheet::objects
