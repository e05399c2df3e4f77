// The elements of a screen as plain data: labels, picture boxes, text boxes, option buttons, frames, command
// buttons and timers. Game code reads and writes their properties; a back end mirrors them into widgets.
#pragma once
#include <QImage>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/property.h"

class Screen;

// Colours are 0xRRGGBB.
using Colour = std::uint32_t;

enum class ElementKind { Label, PictureBox, TextBox, OptionButton, Frame, CommandButton, Timer };

class Element {
 public:
  Element(Screen* screen, ElementKind kind, std::string name);
  Element(const Element&) = delete;
  Element& operator=(const Element&) = delete;
  virtual ~Element() = default;

  const std::string& Name() const { return name_; }
  ElementKind Kind() const { return kind_; }
  Screen& Owner() const { return *screen_; }

  Prop<int> Left{this, 0};
  Prop<int> Top{this, 0};
  Prop<int> Width{this, 0};
  Prop<int> Height{this, 0};
  Prop<bool> Visible{this, true};
  Prop<bool> Enabled{this, true};
  Prop<Colour> ForeColor{this, 0x000000};
  Prop<Colour> BackColor{this, 0xF0F0F0};
  Prop<double> FontSize{this, 9.0};
  Prop<bool> FontBold{this, false};
  // 0 left, 1 right, 2 centre.
  Prop<int> Alignment{this, 0};
  // 0 transparent, 1 opaque.
  Prop<int> BackStyle{this, 1};
  // The frame that holds this element, or none (the screen itself); positions are relative to it.
  Element* Container = nullptr;

  std::function<void()> OnClick;

  void Move(int left, int top, int width, int height);
  // Front-to-back order among the elements of the screen: a higher value is in front.
  int ZOrderValue() const { return z_; }
  void BringToFront();
  void SendToBack();

  // Called by a property after a write that changed it.
  virtual void Changed(const void* which);
  // Back to the values every element starts with, before the screen's design values are applied.
  virtual void ResetToDefaults();

 protected:
  Screen* screen_;

 private:
  ElementKind kind_;
  std::string name_;
  int z_ = 0;
};

class Label : public Element {
 public:
  Label(Screen* s, std::string name) : Element(s, ElementKind::Label, std::move(name)) {}
  Prop<std::string> Caption{this, ""};
  // Shown on one line: a caption too long for the label loses its middle to "…" instead of wrapping.
  Prop<bool> OneLine{this, false};
  void ResetToDefaults() override;
};

class PictureBox : public Element {
 public:
  PictureBox(Screen* s, std::string name) : Element(s, ElementKind::PictureBox, std::move(name)) {}
  // The persistent bitmap (automatic redraw): all drawing goes here, and the window shows it.
  QImage Image;
  // Design-time picture: the embedded file that the screen definition builds in, if any.
  std::string DesignPicture;

  // Replaces the picture; the bitmap grows to hold it and the rest keeps the back colour.
  void SetPicture(const QImage& picture);
  // Loads a bitmap file (a game path with backslashes); false when it cannot be read.
  bool LoadPicture(const std::string& path);
  // Shows the current bitmap on the screen now.
  void Refresh();
  void ResetToDefaults() override;
};

class TextBox : public Element {
 public:
  TextBox(Screen* s, std::string name) : Element(s, ElementKind::TextBox, std::move(name)) {}
  Prop<std::string> Text{this, ""};
  Prop<bool> Locked{this, false};
  int MaxLength = 0;
  // Runs after every change of the text, by the program or by the player.
  std::function<void()> OnChange;
  // Runs when the player presses Enter in the box.
  std::function<void()> OnEnter;
  void Changed(const void* which) override;
  void ResetToDefaults() override;
};

class OptionButton : public Element {
 public:
  OptionButton(Screen* s, std::string name) : Element(s, ElementKind::OptionButton, std::move(name)) {}
  Prop<std::string> Caption{this, ""};
  // The caption's last word (after its last run of blanks) stands right-aligned at the button's right edge, so
  // that the prices of a column of options line up.
  Prop<bool> LastWordRight{this, false};
  // Setting it clears the other option buttons of the same container and runs the click handler.
  Prop<bool> Value{this, false};
  void Changed(const void* which) override;
  void ResetToDefaults() override;
};

class Frame : public Element {
 public:
  Frame(Screen* s, std::string name) : Element(s, ElementKind::Frame, std::move(name)) {}
  Prop<std::string> Caption{this, ""};
  void ResetToDefaults() override;
};

class CommandButton : public Element {
 public:
  CommandButton(Screen* s, std::string name) : Element(s, ElementKind::CommandButton, std::move(name)) {}
  Prop<std::string> Caption{this, ""};
  void ResetToDefaults() override;
};

// A timer ticks on the event thread every Interval milliseconds while its screen is loaded; 0 stops it.
// Writing the interval it already has changes nothing; any other value restarts the countdown.
class Timer : public Element {
 public:
  Timer(Screen* s, std::string name);
  ~Timer() override;
  Prop<int> Interval{this, 0};
  std::function<void()> OnTick;

  // Scheduling state kept by the timer queue.
  std::int64_t dueMs = 0;
  std::int64_t periodMs = 0;  // the interval, but never below the shortest period
  bool inTick = false;
  bool queued = false;           // among the running timers
  std::uint64_t queueOrder = 0;  // the order of making: timers due at once tick in this order

  void Changed(const void* which) override;
  void ResetToDefaults() override;
};

template <class T>
Prop<T>& Prop<T>::operator=(const T& value) {
  if (!(value_ == value)) {
    value_ = value;
    owner_->Changed(this);
  }
  return *this;
}
