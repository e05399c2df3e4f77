// The real back end on Qt Widgets: a window per loaded screen, real time, real timers and message boxes.
#pragma once
#include <QObject>
#include <QTimer>

#include "platform/backend.h"

class QtBackend : public QObject, public Backend {
 public:
  // Needs a QApplication. Installs itself.
  QtBackend();
  ~QtBackend() override;

  double Clock() override;
  std::int64_t NowMs() override;
  void Sleep(int ms) override;
  void DoEvents() override;
  int MsgBox(const std::string& text, int buttons, const std::string& title) override;
  void ScreenLoaded(Screen& s) override;
  void ScreenUnloaded(Screen& s) override;
  void TimersChanged() override;
  std::uint64_t ClockSeed() override;

  // Runs the event loop until the last screen is unloaded; returns the exit code.
  int Run();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Pump();
  QTimer pump_;
  int loadedScreens_ = 0;
};

// Maps a Qt key to its Windows virtual-key code; 0 for keys the game has no code for.
int VirtualKeyOf(int qtKey);
