#include "app/status_bar.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "tax/text_convert.h"

namespace varnex {

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
  for (std::size_t i = 0; i < panes_.size(); ++i) {
    panes_[i] = new QLabel(this);
    panes_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panes_[i]->setObjectName(QStringLiteral("状态条1_%1").arg(i));
    panes_[i]->installEventFilter(this);
  }
}

void StatusBar::SetPaneText(int index, const QString& text) { pane(index)->setText(text); }

void StatusBar::SetPaneTooltip(int index, const QString& text) {
  tooltips_.at(static_cast<std::size_t>(index)) = text;
}

QString StatusBar::PaneTooltip(int index) const { return tooltips_.at(static_cast<std::size_t>(index)); }

QRect StatusBar::PaneRect(int index) const { return pane(index)->geometry(); }

bool StatusBar::TooltipShown(int index) const {
  const QLabel* label = pane(index);
  return !PaneTooltip(index).isEmpty() &&
         label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width();
}

void StatusBar::resizeEvent(QResizeEvent*) {
  int x = 0;
  for (std::size_t i = 0; i < panes_.size(); ++i) {
    const int width = i < kWidths.size() ? kWidths[i] : std::max(0, this->width() - x);
    panes_[i]->setGeometry(x, 0, width, height());
    x += width;
  }
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    for (int i = 0; i < static_cast<int>(panes_.size()); ++i) {
      if (watched != panes_[static_cast<std::size_t>(i)]) continue;
      const auto* help = static_cast<QHelpEvent*>(event);
      if (TooltipShown(i))
        QToolTip::showText(help->globalPos(), PaneTooltip(i), pane(i));
      else
        QToolTip::hideText();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

SheetSpinner::SheetSpinner(QWidget* parent, QLineEdit* buddy) : QWidget(parent), buddy_(buddy) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (int delta : {1, -1}) {
    auto* button = new QToolButton(this);
    button->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setObjectName(delta > 0 ? QStringLiteral("up") : QStringLiteral("down"));
    connect(button, &QToolButton::clicked, this, [this, delta] { StepBy(delta); });
    layout->addWidget(button);
  }
}

void SheetSpinner::StepBy(int delta) {
  const int current = TextToInteger(buddy_->text().toStdString());
  const int next = std::clamp(current + delta, Lowest(), Highest());
  const QString text = QString::number(next);
  if (text != buddy_->text()) buddy_->setText(text);
}

}  // namespace varnex
