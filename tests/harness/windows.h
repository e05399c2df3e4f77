// The game's screens on the real back end (Qt's offscreen platform): real widgets, real key and mouse events,
// real message boxes.
#pragma once
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

#include "harness/harness.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_screen_view.h"

// The one application of the test program.
QApplication& App();

// The program's folder a scratch folder of the test's own, as on the virtual back end, unless asked otherwise.
class WindowTest : public GameTest {
 protected:
  explicit WindowTest(Start::Folder folder = Start::Folder::Program, double waveSeconds = 0.05)
      : GameTest({.realBackend = true, .folder = folder, .waveSeconds = waveSeconds}) {}

  // A registered player with these savings, stored in the save files; the name stored now.
  static void StorePlayer(double yen, const std::string& name = "もふ") { Store(Player(yen, name)); }
  static std::string StoredName();

  static QtScreenView* ViewOf(Screen& s) { return dynamic_cast<QtScreenView*>(s.View()); }
  template <class W>
  static W* WidgetOf(Element& e) {
    auto* view = ViewOf(e.Owner());
    return view ? dynamic_cast<W*>(view->WidgetOf(&e)) : nullptr;
  }
  // Opens a screen as the program does and waits until its window is up.
  static QtScreenView* Open(Screen& s);

  // Answers the next message box with a key (or a click on a button) as soon as it is up, and records what it said.
  struct Answered {
    QString text, title;
    QWidget* parent = nullptr;
    bool seen = false;
  };
  static std::shared_ptr<Answered> AnswerNextBox(int qtKey, QMessageBox::StandardButton click = QMessageBox::NoButton);
};
