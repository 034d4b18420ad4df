#include "spreadsheet/workbook.h"

#include <algorithm>
#include <sstream>

#include "spreadsheet/application.h"

namespace varnex::spreadsheet {

Workbook::Workbook(Application* application, std::string name)
    : application_(application), name_(std::move(name)) {
  formats_.emplace_back();
  format_index_.emplace(FormatKey(formats_.front()), 0);
}

Workbook::~Workbook() {
  for (auto& sheet : sheets_) sheet->set_owner(nullptr);
}

void Workbook::SetPath(std::string path) {
  path_ = std::move(path);
  const auto slash = path_.find_last_of("/\\");
  name_ = slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

std::shared_ptr<Sheet> Workbook::FindSheet(const std::string& name) const {
  for (const auto& sheet : sheets_)
    if (sheet->name() == name) return sheet;
  return nullptr;
}

std::ptrdiff_t Workbook::IndexOf(const Sheet& sheet) const {
  for (std::size_t i = 0; i < sheets_.size(); ++i)
    if (sheets_[i].get() == &sheet) return static_cast<std::ptrdiff_t>(i);
  return -1;
}

Sheet& Workbook::AddSheet(std::string name) {
  if (name.empty()) {
    for (std::size_t n = sheets_.size() + 1;; ++n) {
      name = "Sheet" + std::to_string(n);
      if (!FindSheet(name)) break;
    }
  }
  sheets_.push_back(std::make_shared<Sheet>(std::move(name), this));
  MarkDirty();
  if (application_) application_->Notify([&](ModelListener& l) { l.LayoutChanged(*this, *sheets_.back()); });
  return *sheets_.back();
}

bool Workbook::RemoveSheet(std::size_t index) {
  if (index >= sheets_.size() || sheets_.size() == 1) return false;
  sheets_[index]->set_owner(nullptr);
  sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(index));
  if (active_sheet_ >= sheets_.size() || active_sheet_ > index) active_sheet_ = active_sheet_ ? active_sheet_ - 1 : 0;
  MarkDirty();
  if (application_) application_->Notify([&](ModelListener& l) { l.ActiveSheetChanged(*this); });
  return true;
}

void Workbook::ActivateSheet(std::size_t index) {
  if (index >= sheets_.size()) return;
  active_sheet_ = index;
  if (application_) application_->Notify([&](ModelListener& l) { l.ActiveSheetChanged(*this); });
}

const CellFormat& Workbook::Format(std::uint16_t index) const {
  return index < formats_.size() ? formats_[index] : formats_.front();
}

std::string Workbook::FormatKey(const CellFormat& f) {
  std::ostringstream key;
  key << f.fill_index << '|' << f.font.name << '|' << f.font.size << '|' << f.font.color << '|'
      << f.font.bold << f.font.italic << f.font.underline << f.font.strikethrough << '|'
      << f.horizontal_alignment << '|' << f.number_format;
  for (const Border& b : f.borders) key << '|' << b.line_style << ',' << b.weight << ',' << b.color;
  return key.str();
}

std::uint16_t Workbook::Intern(const CellFormat& format) {
  std::string key = FormatKey(format);
  if (const auto it = format_index_.find(key); it != format_index_.end()) return it->second;
  if (formats_.size() >= 0xFFFF) return 0;  // a table this full is no real workbook
  formats_.push_back(format);
  const auto index = static_cast<std::uint16_t>(formats_.size() - 1);
  format_index_.emplace(std::move(key), index);
  return index;
}

void Workbook::MarkDirty() {
  if (dirty_) return;
  dirty_ = true;
  if (application_) application_->Notify([&](ModelListener& l) { l.SavedStateChanged(*this); });
}

void Workbook::MarkSaved() {
  dirty_ = false;
  if (application_) application_->Notify([&](ModelListener& l) { l.SavedStateChanged(*this); });
}

void Workbook::CellsChanged(Sheet& sheet, const Area& area) {
  MarkDirty();
  if (application_) application_->Notify([&](ModelListener& l) { l.CellsChanged(*this, sheet, area); });
}

void Workbook::LayoutChanged(Sheet& sheet) {
  MarkDirty();
  if (application_) application_->Notify([&](ModelListener& l) { l.LayoutChanged(*this, sheet); });
}

void Workbook::SelectionChanged(Sheet& sheet) {
  if (application_) application_->Notify([&](ModelListener& l) { l.SelectionChanged(*this, sheet); });
}

}  // namespace varnex::spreadsheet
