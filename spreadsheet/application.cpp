#include "spreadsheet/application.h"

#include <algorithm>

namespace varnex::spreadsheet {

Application::Application() = default;
Application::~Application() {
  // Handles may keep a workbook past its application: they find it closed.
  for (const auto& w : workbooks_) w->MarkClosed();
}

std::shared_ptr<Workbook> Application::active_workbook() const {
  if (auto active = active_.lock()) return active;
  return workbooks_.empty() ? nullptr : workbooks_.back();
}

void Application::ActivateWorkbook(const Workbook& workbook) {
  for (const auto& w : workbooks_) {
    if (w.get() == &workbook) {
      active_ = w;
      Notify([](ModelListener& l) { l.WorkbooksChanged(); });
    }
  }
}

std::shared_ptr<Workbook> Application::AddWorkbook() {
  auto workbook = std::make_shared<Workbook>(this, "Book" + std::to_string(++books_made_));
  workbook->AddSheet("Sheet1");
  workbook->MarkSaved();  // a new workbook has nothing to lose yet
  workbooks_.push_back(workbook);
  active_ = workbook;
  Notify([](ModelListener& l) { l.WorkbooksChanged(); });
  return workbook;
}

std::shared_ptr<Workbook> Application::OpenWorkbook(const std::string& path, std::string* error) {
  if (!files) {
    if (error) *error = "没有可用的文件读取程序";
    return nullptr;
  }
  // Opening a file that is already open activates it, as Excel does.
  for (const auto& w : workbooks_) {
    if (!w->path().empty() && w->path() == path) {
      ActivateWorkbook(*w);
      return w;
    }
  }
  auto workbook = std::make_shared<Workbook>(nullptr, std::string());
  std::string reason;
  if (!files->Read(path, *workbook, &reason) || workbook->sheet_count() == 0) {
    if (error) *error = reason.empty() ? "无法读取文件" : reason;
    return nullptr;
  }
  // Read apart and attached only once complete, so that a failed read
  // leaves no trace and the reading itself notifies no one.
  workbook->Attach(this);
  workbook->SetPath(path);
  workbook->MarkSaved();
  workbooks_.push_back(workbook);
  active_ = workbook;
  Notify([](ModelListener& l) { l.WorkbooksChanged(); });
  return workbook;
}

bool Application::Release(const Workbook& workbook) {
  const auto it = std::find_if(workbooks_.begin(), workbooks_.end(),
                               [&](const auto& w) { return w.get() == &workbook; });
  if (it == workbooks_.end()) return false;
  if (active_.lock().get() == &workbook) active_.reset();
  (*it)->MarkClosed();
  workbooks_.erase(it);
  Notify([](ModelListener& l) { l.WorkbooksChanged(); });
  return true;
}

bool Application::CloseWorkbook(const Workbook& workbook) {
  std::shared_ptr<Workbook> keep;
  for (const auto& w : workbooks_)
    if (w.get() == &workbook) keep = w;
  if (!keep) return false;
  if (keep->dirty()) {
    if (!hooks) return false;  // no one to ask: nothing is thrown away
    switch (hooks->AskToSave(*keep)) {
      case SaveChoice::kCancel: return false;
      case SaveChoice::kSave:
        if (!Save(*keep, nullptr)) return false;
        break;
      case SaveChoice::kDontSave: break;
    }
  }
  return Release(*keep);
}

bool Application::CloseAll() {
  bool all = true;
  const auto open = workbooks_;
  for (const auto& w : open) {
    if (!CloseWorkbook(*w)) {
      all = false;
      if (hooks) break;  // the user cancelled: the rest stay open too
    }
  }
  return all;
}

bool Application::Quit() {
  if (!CloseAll()) return false;
  quit_ = true;
  visible_ = false;
  Notify([](ModelListener& l) { l.Quit(); });
  return true;
}

bool Application::Save(Workbook& workbook, std::string* error) {
  if (workbook.path().empty()) {
    if (error) *error = "工作簿尚未保存过，请使用另存为";
    return false;
  }
  if (!workbook.lost_content().empty() && !(hooks && hooks->AgreeToLoseContent(workbook))) {
    if (error) *error = "保存会丢失无法保留的内容";
    return false;
  }
  return SaveAs(workbook, workbook.path(), error);
}

bool Application::SaveAs(Workbook& workbook, const std::string& path, std::string* error) {
  if (!files) {
    if (error) *error = "没有可用的文件写入程序";
    return false;
  }
  std::string reason;
  if (!files->Write(workbook, path, &reason)) {
    if (error) *error = reason;
    return false;
  }
  if (path != workbook.path()) {
    workbook.SetPath(path);
    workbook.lost_content().clear();  // the new file holds everything it was given
  }
  workbook.MarkSaved();
  Notify([](ModelListener& l) { l.WorkbooksChanged(); });
  return true;
}

void Application::SetVisible(bool visible) {
  visible_ = visible;
  Notify([&](ModelListener& l) { l.VisibilityChanged(visible); });
}

void Application::AddListener(ModelListener* listener) { listeners_.push_back(listener); }

void Application::RemoveListener(ModelListener* listener) { std::erase(listeners_, listener); }

}  // namespace varnex::spreadsheet
