#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "verify/controls.h"

namespace varnex::testing {

// The controls without widgets: texts, ticks, a results table, panes, and
// a record of focus, cursor, progress and which boxes were read.
class FakeControls : public Controls {
 public:
  FakeControls() {
    texts[ControlId::编辑框_表序] = "1";
    texts[ControlId::组合框_起征点] = "3500";
  }

  std::string Text(ControlId control) const override {
    reads.push_back(control);
    const auto it = texts.find(control);
    return it == texts.end() ? std::string() : it->second;
  }
  void SetText(ControlId control, std::string_view text) override { texts[control] = std::string(text); }
  bool IsTicked(ControlId check_box) const override {
    reads.push_back(check_box);
    const auto it = ticks.find(check_box);
    return it != ticks.end() && it->second;
  }
  void SetSheetNumberUpperLimit(std::int32_t limit) override { upper_limit = limit; }

  void ClearResultRows() override {
    rows.clear();
    ++clears;
  }
  int AppendResultRow(std::string_view column0) override {
    rows.push_back({});
    rows.back().texts[0] = std::string(column0);
    return static_cast<int>(rows.size()) - 1;
  }
  void SetResultText(int row, int column, std::string_view text) override {
    rows.at(static_cast<std::size_t>(row)).texts.at(static_cast<std::size_t>(column)) = std::string(text);
  }
  std::string ResultText(int row, int column) const override {
    if (row < 0 || row >= static_cast<int>(rows.size())) return {};
    return rows[static_cast<std::size_t>(row)].texts.at(static_cast<std::size_t>(column));
  }
  int ResultRowCount() const override { return static_cast<int>(rows.size()); }
  bool IsResultRowTicked(int row) const override {
    return row >= 0 && row < static_cast<int>(rows.size()) && rows[static_cast<std::size_t>(row)].ticked;
  }
  int SelectedResultRow() const override { return selected; }

  void SetPaneText(int pane, std::string_view text) override { panes.at(static_cast<std::size_t>(pane)) = std::string(text); }
  void SetPaneTooltip(int pane, std::string_view text) override {
    tooltips.at(static_cast<std::size_t>(pane)) = std::string(text);
  }
  void ShowProgress(bool visible) override {
    progress_visible = visible;
    progress_shown_ever = progress_shown_ever || visible;
  }
  void SetProgress(int position) override { progress.push_back(position); }
  void Focus(ControlId control) override { focused = control; }
  void ShowWaitCursor() override { ++wait_cursor; }
  void RestoreCursor() override { --wait_cursor; }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messages.push_back(std::string(caption) + "|" + std::string(text));
  }
  std::optional<std::string> ChooseFile() override {
    ++dialogs;
    return chosen_file;
  }

  struct Row {
    std::array<std::string, 5> texts;
    bool ticked = false;
  };
  std::map<ControlId, std::string> texts;
  std::map<ControlId, bool> ticks;
  std::vector<Row> rows;
  std::array<std::string, 4> panes;
  std::array<std::string, 4> tooltips;
  std::vector<int> progress;
  std::vector<std::string> messages;
  std::optional<std::string> chosen_file;
  std::optional<ControlId> focused;
  mutable std::vector<ControlId> reads;
  std::int32_t upper_limit = 100;
  int selected = -1;
  int clears = 0;
  int wait_cursor = 0;
  int dialogs = 0;
  bool progress_visible = false;
  bool progress_shown_ever = false;
};

}  // namespace varnex::testing
