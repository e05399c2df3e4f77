#include "harness/windows.h"

#include <QTimer>

#include "platform/convert.h"
#include "records/save_format.h"

QApplication& App() {
  // Left standing at exit: Qt's own teardown must not run after the statics it uses are gone.
  static int argc = 1;
  static char name[] = "test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

std::string WindowTest::StoredName() { return Trim(DecodeDataFiles(ReadSaveFile(kDataFiles)).Name); }

QtScreenView* WindowTest::Open(Screen& s) {
  s.Show();
  QtScreenView* view = ViewOf(s);
  if (view) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view));
  }
  return view;
}

std::shared_ptr<WindowTest::Answered> WindowTest::AnswerNextBox(int qtKey, QMessageBox::StandardButton click) {
  auto answered = std::make_shared<Answered>();
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [answered, poll, qtKey, click] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      QTimer::singleShot(5, *poll);
      return;
    }
    answered->seen = true;
    answered->text = box->text();
    answered->title = box->windowTitle();
    answered->parent = box->parentWidget();
    if (click != QMessageBox::NoButton) {
      QTest::mouseClick(box->button(click), Qt::LeftButton);
    } else {
      // The key goes where the box has its focus (the desktop blocks the windows under a modal box).
      QWidget* focus = box->focusWidget();
      QTest::keyClick(focus ? focus : box, static_cast<Qt::Key>(qtKey));
    }
  };
  QTimer::singleShot(0, *poll);
  return answered;
}
