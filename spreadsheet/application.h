#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "spreadsheet/workbook.h"

namespace varnex::spreadsheet {

// What a window listens to. Every call comes on the thread that changed the
// model, right after the change.
class ModelListener {
 public:
  virtual ~ModelListener() = default;
  virtual void WorkbooksChanged() {}  // opened, added, closed or activated
  virtual void ActiveSheetChanged(Workbook&) {}
  virtual void CellsChanged(Workbook&, Sheet&, const Area&) {}
  virtual void LayoutChanged(Workbook&, Sheet&) {}
  virtual void SelectionChanged(Workbook&, Sheet&) {}
  virtual void SavedStateChanged(Workbook&) {}
  virtual void VisibilityChanged(bool) {}
  virtual void Quit() {}
};

enum class SaveChoice { kSave, kDontSave, kCancel };

// What needs a person; the window layer installs it. Members that need a
// hook fail, as a missing member does, while none is installed.
class ApplicationHooks {
 public:
  virtual ~ApplicationHooks() = default;
  // Before unsaved changes would be thrown away.
  virtual SaveChoice AskToSave(Workbook& workbook) = 0;
  // Before saving over a file would lose what the reader could not keep.
  virtual bool AgreeToLoseContent(Workbook& workbook) = 0;
  // nullopt when the user cancels.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& initial) = 0;
  // Lets the user pick a workbook and opens it; false when cancelled.
  virtual bool FindFile() = 0;
  virtual bool PrintPreview(Workbook& workbook) = 0;
  virtual bool PrintOut(Workbook& workbook) = 0;
  virtual bool NewWindow(Workbook& workbook) = 0;
  virtual bool FunctionWizard(Sheet& sheet, const Area& area) = 0;
  virtual std::int32_t View() = 0;
  virtual bool SetView(std::int32_t view) = 0;
};

// Reading and writing workbook files, filled in by the file-format code.
class WorkbookFiles {
 public:
  virtual ~WorkbookFiles() = default;
  virtual bool Read(const std::string& path, Workbook& into, std::string* error) = 0;
  virtual bool Write(const Workbook& workbook, const std::string& path, std::string* error) = 0;
};

// The spreadsheet application: its workbooks, settings, clipboard, hooks
// and listeners.
class Application {
 public:
  Application();
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  const std::vector<std::shared_ptr<Workbook>>& workbooks() const { return workbooks_; }
  // The last opened, added or activated workbook; null when none is open.
  std::shared_ptr<Workbook> active_workbook() const;
  void ActivateWorkbook(const Workbook& workbook);

  // A new workbook "BookN" with one sheet "Sheet1".
  std::shared_ptr<Workbook> AddWorkbook();
  // Reads a file through `files`; null (with a reason) when it can't.
  std::shared_ptr<Workbook> OpenWorkbook(const std::string& path, std::string* error);
  // Closing asks before unsaved changes are thrown away; false when the
  // workbook stays open (cancelled, no one to ask, or its save failed).
  bool CloseWorkbook(const Workbook& workbook);
  bool CloseAll();
  // Closes everything (asking as above); true when the application is done.
  bool Quit();
  bool has_quit() const { return quit_; }

  bool Save(Workbook& workbook, std::string* error);
  bool SaveAs(Workbook& workbook, const std::string& path, std::string* error);

  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  std::string status_bar;  // empty: the application's own text
  std::string standard_font = "宋体";
  double standard_font_size = 11;
  bool roll_zoom = false;

  // What Copy or Cut took, for PasteSpecial.
  struct Clipboard {
    std::weak_ptr<Sheet> sheet;
    Area area;
    bool cut = false;
  };
  Clipboard clipboard;

  ApplicationHooks* hooks = nullptr;
  WorkbookFiles* files = nullptr;

  void AddListener(ModelListener* listener);
  void RemoveListener(ModelListener* listener);
  template <typename F>
  void Notify(F&& f) {
    const auto listeners = listeners_;  // a listener may remove itself
    for (ModelListener* l : listeners) f(*l);
  }

 private:
  bool Release(const Workbook& workbook);

  std::vector<std::shared_ptr<Workbook>> workbooks_;
  std::weak_ptr<Workbook> active_;
  std::vector<ModelListener*> listeners_;
  int books_made_ = 0;
  bool visible_ = false;
  bool quit_ = false;
};

}  // namespace varnex::spreadsheet
