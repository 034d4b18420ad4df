#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "spreadsheet/cell.h"
#include "spreadsheet/palette.h"
#include "spreadsheet/sheet.h"

namespace varnex::spreadsheet {

class Application;

// A workbook: named sheets in order, one of them active, the shared format
// table and palette, and whether it has unsaved changes. `lost_content`
// names what the file held that could not be kept, so that saving over the
// file can say what would be lost.
class Workbook final : public SheetOwner {
 public:
  Workbook(Application* application, std::string name);
  ~Workbook();
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  const std::string& name() const { return name_; }
  // The file the workbook was read from or last saved to; empty if none.
  const std::string& path() const { return path_; }
  void SetPath(std::string path);

  std::size_t sheet_count() const { return sheets_.size(); }
  const std::shared_ptr<Sheet>& sheet(std::size_t index) const { return sheets_.at(index); }
  std::shared_ptr<Sheet> FindSheet(const std::string& name) const;
  std::ptrdiff_t IndexOf(const Sheet& sheet) const;
  Sheet& AddSheet(std::string name = {});
  // Fails (false) for the last remaining sheet, as a workbook keeps one.
  bool RemoveSheet(std::size_t index);

  std::size_t active_sheet_index() const { return active_sheet_; }
  Sheet& active_sheet() const { return *sheets_.at(active_sheet_); }
  void ActivateSheet(std::size_t index);

  const CellFormat& Format(std::uint16_t index) const;
  // The index of an equal format, adding it when new. Index 0 is the
  // default format.
  std::uint16_t Intern(const CellFormat& format);
  std::size_t format_count() const { return formats_.size(); }

  const Palette& palette() const { return palette_; }
  void SetPalette(const Palette& palette) { palette_ = palette; }

  bool dirty() const { return dirty_; }
  void MarkDirty();
  void MarkSaved();

  std::vector<std::string>& lost_content() { return lost_content_; }
  const std::vector<std::string>& lost_content() const { return lost_content_; }

  // Closed workbooks answer no more automation calls, even while a
  // handle still holds them.
  bool closed() const { return closed_; }
  void MarkClosed() { closed_ = true; }

  Application* application() const { return application_; }
  void Attach(Application* application) { application_ = application; }

  // SheetOwner
  void CellsChanged(Sheet& sheet, const Area& area) override;
  void LayoutChanged(Sheet& sheet) override;
  void SelectionChanged(Sheet& sheet) override;

 private:
  static std::string FormatKey(const CellFormat& format);

  Application* application_;
  std::string name_;
  std::string path_;
  std::vector<std::shared_ptr<Sheet>> sheets_;
  std::size_t active_sheet_ = 0;
  std::vector<CellFormat> formats_;
  std::unordered_map<std::string, std::uint16_t> format_index_;
  Palette palette_ = Palette::Default();
  bool dirty_ = false;
  bool closed_ = false;
  std::vector<std::string> lost_content_;
};

}  // namespace varnex::spreadsheet
