// The window of a loaded screen: one widget per element, following the model's properties.
#pragma once
#include <QWidget>
#include <map>

#include "platform/screen.h"

class QtScreenView : public QWidget, public ScreenView {
 public:
  explicit QtScreenView(Screen& screen);
  ~QtScreenView() override;

  Screen* Model() const { return screen_; }
  QWidget* WidgetOf(const Element* e) const;
  // The screen was unloaded: forget it and close the window.
  void Detach();
  // The game's window shown last that is still open, if any: message boxes stand over it.
  static QtScreenView* Frontmost();
  // What an option button with a right-aligned last word shows there, and where.
  QString LastWordOf(const Element* option) const;
  QRect LastWordRectOf(const Element* option) const;

  void ElementChanged(Element& e) override;
  void CaptionChanged() override;
  void Repaint(PictureBox& p) override;
  void Show() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* Create(Element* e);
  void Sync(Element* e);
  void Restack();
  QFont FontFor(const Element* e) const;

  Screen* screen_;
  std::map<const Element*, QWidget*> widgets_;
  std::map<const Element*, int> stackedZ_;
  std::map<const Element*, QFont> fonts_;  // the font last given to each element's widget
};
