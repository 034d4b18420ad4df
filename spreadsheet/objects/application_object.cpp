#include "spreadsheet/objects/application_object.h"

#include "automation/registry.h"
#include "spreadsheet/objects/served.h"

namespace varnex::spreadsheet::objects {

using namespace automation;

namespace {

class ApplicationObject : public Served {
 public:
  explicit ApplicationObject(std::shared_ptr<Application> app) : app_(std::move(app)) {}

 private:
  enum : DispId { kVisible = 1, kStatusBar, kWorkbooks, kActiveWorkbook, kActiveSheet, kActiveWindow,
                  kRange, kCells, kRun, kQuit, kInputBox, kFindFile, kStandardFont, kStandardFontSize,
                  kRollZoom, kApplication, kName };
  const MemberTable& Members() const override {
    static const MemberTable table{
        {"Visible", kVisible, kGetPut},           {"StatusBar", kStatusBar, kGetPut},
        {"Workbooks", kWorkbooks, kGet},          {"ActiveWorkbook", kActiveWorkbook, kGet},
        {"ActiveSheet", kActiveSheet, kGet},      {"ActiveWindow", kActiveWindow, kGet},
        {"Range", kRange, kGet},                  {"Cells", kCells, kGet},
        {"Run", kRun, kMethodGet},                {"Quit", kQuit, kMethodGet},
        {"InputBox", kInputBox, kMethodGet},      {"FindFile", kFindFile, kMethodGet},
        {"StandardFont", kStandardFont, kGetPut}, {"StandardFontSize", kStandardFontSize, kGetPut},
        {"RollZoom", kRollZoom, kGetPut},         {"Application", kApplication, kGet},
        {"Name", kName, kGet}};
    return table;
  }

  HResult Call(DispId id, InvokeKind kind, const CallArgs& args, Variant* result) override {
    const bool put = kind == kPut;
    const Variant* value = args.put_value();
    auto workbook = app_->active_workbook();
    switch (id) {
      case kVisible:
        if (!put) {
          *result = Variant::Bool(app_->visible());
          return S_OK;
        } else if (const auto on = BoolArg(*value)) {
          app_->SetVisible(*on);
          return S_OK;
        }
        return DISP_E_TYPEMISMATCH;
      case kStatusBar:
        if (!put) {
          *result = app_->status_bar.empty() ? Variant::Bool(false) : Variant::Text(app_->status_bar);
          return S_OK;
        }
        // False gives the bar back to the application, a text shows that text.
        app_->status_bar = value->type() == VT_BOOL ? std::string() : TextArg(*value).value_or("");
        return S_OK;
      case kWorkbooks: *result = NewWorkbooks(app_); return S_OK;
      case kActiveWorkbook:
        *result = workbook ? NewWorkbook(workbook) : Variant::Object(nullptr);
        return S_OK;
      case kActiveSheet:
        *result = workbook ? NewWorksheet(workbook->sheet(workbook->active_sheet_index()))
                           : Variant::Object(nullptr);
        return S_OK;
      case kActiveWindow:
        *result = workbook ? NewWindow(app_) : Variant::Object(nullptr);
        return S_OK;
      case kRange:
        if (!workbook) return kFailed;
        return RangeOnSheet(workbook->sheet(workbook->active_sheet_index()), args, result);
      case kCells:
        if (!workbook) return kFailed;
        *result = NewRange(workbook->sheet(workbook->active_sheet_index()),
                           {1, 1, kMaxRows, kMaxColumns});
        return S_OK;
      case kRun: return kFailed;  // no macros in this application
      case kQuit: return app_->Quit() ? S_OK : kFailed;
      case kInputBox: {
        if (!app_->hooks) return DISP_E_MEMBERNOTFOUND;
        if (!args.Has(0)) return DISP_E_PARAMNOTOPTIONAL;
        const auto prompt = TextArg(args[0]);
        const auto title = args.Has(1) ? TextArg(args[1]) : std::optional<std::string>("");
        const auto initial = args.Has(2) ? TextArg(args[2]) : std::optional<std::string>("");
        if (!prompt || !title || !initial) return DISP_E_TYPEMISMATCH;
        const auto answer = app_->hooks->InputBox(*prompt, *title, *initial);
        *result = answer ? Variant::Text(*answer) : Variant::Bool(false);
        return S_OK;
      }
      case kFindFile:
        if (!app_->hooks) return DISP_E_MEMBERNOTFOUND;
        *result = Variant::Bool(app_->hooks->FindFile());
        return S_OK;
      case kStandardFont:
        if (!put) {
          *result = Variant::Text(app_->standard_font);
          return S_OK;
        } else if (const auto name = TextArg(*value); name && !name->empty()) {
          app_->standard_font = *name;
          return S_OK;
        }
        return kFailed;
      case kStandardFontSize:
        if (!put) {
          *result = Variant::Real8(app_->standard_font_size);
          return S_OK;
        } else if (const auto size = RealArg(*value); size && *size >= 1 && *size <= 409) {
          app_->standard_font_size = *size;
          return S_OK;
        }
        return kFailed;
      case kRollZoom:
        if (!put) {
          *result = Variant::Bool(app_->roll_zoom);
          return S_OK;
        } else if (const auto on = BoolArg(*value)) {
          app_->roll_zoom = *on;
          return S_OK;
        }
        return DISP_E_TYPEMISMATCH;
      case kApplication: *result = Variant::Object(this); return S_OK;
      case kName: *result = Variant::Text("Varnex 电子表格"); return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

  std::shared_ptr<Application> app_;
};

}  // namespace

Ref<Dispatch> NewApplicationObject(std::shared_ptr<Application> application) {
  return Ref<Dispatch>(new ApplicationObject(std::move(application)));
}

void RegisterEmbeddedSpreadsheet(ApplicationCreated on_created, WorkbookFiles* files) {
  Classes().Register(kExcelProgId, kExcelClassId,
                     [on_created = std::move(on_created), files](std::uint32_t context, Ref<Dispatch>* out) {
                       if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
                       auto application = std::make_shared<Application>();
                       application->files = files;
                       if (on_created) on_created(application);
                       *out = NewApplicationObject(std::move(application));
                       return S_OK;
                     });
}

}  // namespace varnex::spreadsheet::objects
