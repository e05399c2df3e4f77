#include "platform/qt/qt_backend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/events.h"
#include "platform/qt/qt_screen_view.h"
#include "platform/screen.h"
#include "platform/timer_queue.h"
#include "platform/vk.h"

QtBackend::QtBackend() {
  InstallBackend(this);
  pump_.setSingleShot(true);
  pump_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&pump_, &QTimer::timeout, [this] { Pump(); });
  qApp->installEventFilter(this);
}

QtBackend::~QtBackend() {
  if (HasBackend() && &CurrentBackend() == this) InstallBackend(nullptr);
}

double QtBackend::Clock() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto sub = std::chrono::duration<double>(now.time_since_epoch()).count() - static_cast<double>(t);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + sub;
}

std::int64_t QtBackend::NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void QtBackend::Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0))); }

void QtBackend::DoEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  timer_queue::DispatchDue(NowMs());
  TimersChanged();
}

void QtBackend::Pump() {
  timer_queue::DispatchDue(NowMs());
  TimersChanged();
}

void QtBackend::TimersChanged() {
  const std::int64_t due = timer_queue::NextDue();
  if (due < 0) {
    pump_.stop();
    return;
  }
  const auto wait = static_cast<int>(std::max<std::int64_t>(due - NowMs(), 0));
  if (!pump_.isActive() || pump_.remainingTime() > wait) pump_.start(wait);
}

int QtBackend::MsgBox(const std::string& text, int buttons, const std::string& title) {
  const bool yesNo = (buttons & 7) == vbYesNo;
  // Over the game's window in front, even when the desktop has not made it the active one yet.
  QWidget* parent = QtScreenView::Frontmost();
  // A screen just closed can still be the active window until it is deleted, and a box over it would go with it.
  if (QWidget* active = QApplication::activeWindow(); !parent && active && active->isVisible()) parent = active;
  // On the heap: should its window still be deleted under it, the box goes with the window, and it answers No (or
  // OK) instead of being freed twice.
  const QPointer<QMessageBox> box = new QMessageBox(
      (buttons & vbExclamation) == vbExclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
      QString::fromStdString(title), QString::fromStdString(text),
      yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
  // Enter answers the first button, Esc answers No (or OK), whichever widget of the box has the focus.
  if (yesNo) {
    box->button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box->button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
  } else {
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
  }
  // The box takes the keyboard as soon as it is up, so that the next key answers it.
  QTimer::singleShot(0, box, [b = box.data()] { b->activateWindow(); });
  // The keyboard goes back where it was in the window the box stood over: without a window manager nothing else
  // gives it back.
  QWidget* focus = QApplication::focusWidget();
  const QPointer<QWidget> back = focus && parent && focus->window() == parent ? focus : parent;
  const int r = box->exec();
  delete box;
  if (back && back->isVisible()) {
    back->window()->activateWindow();
    back->setFocus();
  }
  if (!yesNo) return vbOK;
  return r == QMessageBox::Yes ? vbYes : vbNo;
}

void QtBackend::ScreenLoaded(Screen& s) {
  ++loadedScreens_;
  s.AttachView(new QtScreenView(s));
}

void QtBackend::ScreenUnloaded(Screen& s) {
  if (auto* view = dynamic_cast<QtScreenView*>(s.View())) view->Detach();
  if (--loadedScreens_ <= 0) QCoreApplication::quit();
}

std::uint64_t QtBackend::ClockSeed() {
  // Nanoseconds through a strong mix: two reseeds never repeat a seed.
  static std::uint64_t counter = 0;
  std::uint64_t z = static_cast<std::uint64_t>(
                        std::chrono::high_resolution_clock::now().time_since_epoch().count()) +
                    0x9E3779B97F4A7C15ull * ++counter;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int QtBackend::Run() {
  if (loadedScreens_ <= 0) return 0;
  return QApplication::exec();
}

bool QtBackend::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  auto* view = dynamic_cast<QtScreenView*>(widget->window());
  // Only a screen with a key handler (the machine) takes keys; elsewhere every key edits and moves as usual.
  if (!view || !view->Model() || !view->Model()->OnKeyDown) return false;
  // Each key press once: at the focused widget, or at the window when nothing has the focus.
  QWidget* focus = QApplication::focusWidget();
  if (widget != focus && !(focus == nullptr && widget == view)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const int vk = VirtualKeyOf(key->key());
  if (vk == 0) return false;
  int shift = 0;
  if (key->modifiers() & Qt::ShiftModifier) shift |= 1;
  if (key->modifiers() & Qt::ControlModifier) shift |= 2;
  if (key->modifiers() & Qt::AltModifier) shift |= 4;
  view->Model()->KeyDown(vk, shift);
  // Keys the screen handles do not also move the focus or the caret.
  return widget == view || vk == vkUp || vk == vkDown || vk == vkLeft || vk == vkRight || vk == vkEscape;
}

int VirtualKeyOf(int k) {
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return vk0 + (k - Qt::Key_0);
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return vkA + (k - Qt::Key_A);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return vkF1 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Backspace: return vkBack;
    case Qt::Key_Tab: return vkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vkReturn;
    case Qt::Key_Shift: return vkShift;
    case Qt::Key_Control: return vkControl;
    case Qt::Key_Alt: return vkMenu;
    case Qt::Key_Escape: return vkEscape;
    case Qt::Key_Space: return vkSpace;
    case Qt::Key_Left: return vkLeft;
    case Qt::Key_Up: return vkUp;
    case Qt::Key_Right: return vkRight;
    case Qt::Key_Down: return vkDown;
    default: return 0;
  }
}
