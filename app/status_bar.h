#pragma once

#include <QWidget>

#include <algorithm>
#include <array>

class QLabel;
class QLineEdit;

namespace varnex {

// Four sunken panes of fixed widths (the last takes the rest). A pane's
// tooltip shows only while its text is too long for the pane, as the
// platform's status bar does.
class StatusBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr std::array<int, 3> kWidths = {45, 240, 60};

  explicit StatusBar(QWidget* parent);

  QLabel* pane(int index) const { return panes_.at(static_cast<std::size_t>(index)); }
  void SetPaneText(int index, const QString& text);
  void SetPaneTooltip(int index, const QString& text);
  QString PaneTooltip(int index) const;
  // The rectangle of a pane in the bar's own coordinates.
  QRect PaneRect(int index) const;
  // Whether hovering the pane now would show its tooltip.
  bool TooltipShown(int index) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLabel*, 4> panes_;
  std::array<QString, 4> tooltips_;
};

// The up-down spinner of the sheet-number box: it steps the number in the
// box between its two limits, the smaller being the lower end.
class SheetSpinner : public QWidget {
  Q_OBJECT

 public:
  SheetSpinner(QWidget* parent, QLineEdit* buddy);
  void SetUpperLimit(int limit) { upper_ = limit; }
  int Lowest() const { return std::min(lower_, upper_); }
  int Highest() const { return std::max(lower_, upper_); }
  void StepBy(int delta);

 private:
  QLineEdit* buddy_;
  int lower_ = 1;
  int upper_ = 100;
};

}  // namespace varnex
