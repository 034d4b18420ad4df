// Time from the start of main to the main window's first paint, as
// run.sh starts it (the process's own loading comes on top; see README).
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <cstdio>

#include "app/main_window.h"
#include "excel/global_session.h"
#include "spreadsheet/objects/application_object.h"

namespace {

class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QElapsedTimer& timer) : timer_(timer) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !done_) {
      done_ = true;
      std::printf("start to first paint: %lld ms\n", static_cast<long long>(timer_.elapsed()));
      std::fflush(stdout);
      QTimer::singleShot(0, qApp, &QApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QElapsedTimer& timer_;
  bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer timer;
  timer.start();
  QApplication application(argc, argv);
  varnex::spreadsheet::objects::RegisterEmbeddedSpreadsheet();
  auto* window = new varnex::MainWindow(varnex::excelSession);
  FirstPaint first(timer);
  window->installEventFilter(&first);
  window->show();
  application.exec();  // quitting closes the window, which deletes itself
  return 0;
}
