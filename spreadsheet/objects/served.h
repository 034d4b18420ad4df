#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "automation/dispatch.h"
#include "automation/served_object.h"
#include "spreadsheet/application.h"

// The pieces every object of the spreadsheet's object model shares.
namespace varnex::spreadsheet::objects {

using automation::CallArgs;
using automation::DispId;
using automation::HResult;
using automation::InvokeKind;
using automation::Variant;

inline constexpr InvokeKind kGet = automation::DISPATCH_PROPERTYGET;
inline constexpr InvokeKind kPut = automation::DISPATCH_PROPERTYPUT;
inline constexpr InvokeKind kGetPut = kGet | kPut;
inline constexpr InvokeKind kMethod = automation::DISPATCH_METHOD;
// A method that may also be read (Excel lets both kinds reach most methods).
inline constexpr InvokeKind kMethodGet = kMethod | kGet;

// An object answering from a member table; subclasses handle the calls.
class Served : public automation::RefCountedDispatch {
 public:
  Served() { ++live_; }
  ~Served() override { --live_; }
  // Objects handed out and not yet released, to check that callers
  // balance their references.
  static long LiveObjects() { return live_; }

  // Objects come and go by the thousand per second (several per cell
  // read): small ones are recycled instead of going back to the heap.
  static void* operator new(std::size_t size);
  static void operator delete(void* object, std::size_t size);

  HResult GetIdOfName(std::u16string_view name, automation::Lcid, DispId* id) final;
  HResult DescribeMember(DispId id, InvokeKind kind, automation::MemberDescription* d) final;
  HResult Invoke(DispId id, automation::Lcid, InvokeKind kind, automation::DispParams& params,
                 Variant* result) final;

 protected:
  virtual const automation::MemberTable& Members() const = 0;
  virtual HResult Call(DispId id, InvokeKind kind, const CallArgs& args, Variant* result) = 0;

 private:
  static inline long live_ = 0;  // the object model lives on the UI thread only
};

// Hands a new object out as a variant (the caller gets the one reference).
template <typename T, typename... A>
Variant Hand(A&&... args) {
  return Variant::Object(automation::MakeRef<T>(std::forward<A>(args)...).get());
}

// Argument reading through the platform's type change.
std::optional<std::int32_t> IntArg(const Variant& v);
std::optional<double> RealArg(const Variant& v);
std::optional<bool> BoolArg(const Variant& v);
std::optional<std::string> TextArg(const Variant& v);

// Cell values in and out of variants, as Excel hands them.
Variant CellToVariant(const CellValue& value);
// Stores a variant into a cell as writing it through automation does:
// texts as typed (numbers become numbers), formulas kept as text.
HResult StoreVariant(Sheet& sheet, std::int32_t row, std::int32_t column, const Variant& value);

inline constexpr HResult kFailed = automation::DISP_E_EXCEPTION;

// Ranges this large are refused rather than filled cell by cell.
inline constexpr long long kMaxCellsTouched = 4'000'000;

// Object constructors, for the objects that hand each other out.
Variant NewWorkbooks(const std::shared_ptr<Application>& app);
// Objects below the application hold only what they stand for; the
// workbook (and through it the application) is reached from there and is
// usable while the workbook is open.
Variant NewWorkbook(const std::shared_ptr<Workbook>& workbook);
Variant NewSheets(const std::shared_ptr<Workbook>& workbook);
Variant NewWorksheet(const std::shared_ptr<Sheet>& sheet);
enum class RangeMode { kCells, kRows, kColumns };
Variant NewRange(const std::shared_ptr<Sheet>& sheet, const Area& area, RangeMode mode = RangeMode::kCells);
Variant NewWindow(const std::shared_ptr<Application>& app);
// The range an address names on a sheet.
HResult RangeOnSheet(const std::shared_ptr<Sheet>& sheet, const CallArgs& args, Variant* result);

// The open workbook holding a sheet, or null when the sheet was removed or
// its workbook closed.
Workbook* OpenWorkbookOf(const Sheet& sheet);

}  // namespace varnex::spreadsheet::objects
