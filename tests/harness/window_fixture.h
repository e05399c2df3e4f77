// The game's screens on the real back end (Qt's offscreen platform): real widgets, real key and mouse events,
// real message boxes. The program's folder is a scratch folder of the test's own, as on the virtual back end.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <string>

#include "core/machine_screen.h"
#include "core/play_state.h"
#include "core/run_state.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_screen_view.h"
#include "records/name_text.h"
#include "records/player_record.h"
#include "records/save_files.h"
#include "records/save_format.h"
#include "records/save_store.h"
#include "harness/scratch_folder.h"
#include "reels/reel_state.h"
#include "shop/shop_form.h"
#include "sound/recording_sound.h"
#include "sound/sound_bank.h"
#include "harness/wave_files.h"
#include "title/title_form.h"
#include "platform/convert.h"
#include "title/title_screen.h"

// One application for the whole test program, left standing at exit: Qt's own teardown must not run after the
// statics it uses are gone.
inline QApplication& App() {
  static int argc = 1;
  static char name[] = "test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

inline std::string& WindowAppFolder() {
  static std::string folder;
  return folder;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    backend = std::make_unique<QtBackend>();
    WindowAppFolder() = folder.Path();
    LocateAppFolder = [] { AppFolder = WindowAppFolder() + "\\"; };
    const std::string sounds = folder.Path() + "/soundMofuran";
    std::filesystem::create_directory(sounds);
    for (const char* f : {"StSound5.wav", "Bell.wav", "1Gren.wav", "Boffu.wav", "f-piro.wav"})
      WriteWave(sounds + "/" + f, 0.05);
    ChangeFolder(sounds);
    ResetRunState();
  }
  void TearDown() override {
    Form3.Unload();
    Form1.Unload();
    Form2.Unload();
    Play.ScreenClosed = 0;
    BackFromMachine = 0;
    LocateAppFolder = SetAppFolder;
    QApplication::processEvents();
    backend.reset();
  }

  // A registered player with these savings, stored in the save files.
  static void StorePlayer(double yen, const std::string& name = "もふ") {
    PlayerRecord r = InitialRecord();
    r.Savings = Currency::FromYen(yen);
    r.Name = FixedName(name);
    ASSERT_TRUE(WriteSavePair(EncodeDataFiles(r), EncodeVbdsnd(r)));
  }
  static std::string StoredName() { return Trim(DecodeDataFiles(ReadSaveFile(kDataFiles)).Name); }

  static QtScreenView* ViewOf(Screen& s) { return dynamic_cast<QtScreenView*>(s.View()); }
  template <class W>
  static W* WidgetOf(Element& e) {
    auto* view = ViewOf(e.Owner());
    return view ? dynamic_cast<W*>(view->WidgetOf(&e)) : nullptr;
  }
  // Opens a screen as the program does and waits until its window is up.
  static QtScreenView* Open(Screen& s) {
    s.Show();
    QtScreenView* view = ViewOf(s);
    if (view) {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(view));
    }
    return view;
  }

  // Answers the next message box with a key (or a click on a button) as soon as it is up, and records what it said.
  struct Answered {
    QString text, title;
    QWidget* parent = nullptr;
    bool seen = false;
  };
  std::shared_ptr<Answered> AnswerNextBox(int qtKey, QMessageBox::StandardButton click = QMessageBox::NoButton) {
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

  std::unique_ptr<QtBackend> backend;
  RecordingSound sound;
  ScratchFolder folder;
};
