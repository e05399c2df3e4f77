#include "platform/elements.h"

#include "platform/embedded.h"
#include "platform/events.h"
#include "platform/backend.h"
#include "platform/picture.h"
#include "platform/screen.h"
#include "platform/timer_queue.h"

Element::Element(Screen* screen, ElementKind kind, std::string name)
    : screen_(screen), kind_(kind), name_(std::move(name)) {
  screen_->Register(this);
}

void Element::Move(int left, int top, int width, int height) {
  Left = left;
  Top = top;
  Width = width;
  Height = height;
}

void Element::BringToFront() {
  z_ = screen_->NextFrontZ();
  Changed(&z_);
}

void Element::SendToBack() {
  z_ = screen_->NextBackZ();
  Changed(&z_);
}

void Element::Changed(const void* which) { screen_->ElementChanged(*this, which); }

void Element::ResetToDefaults() {
  Move(0, 0, 0, 0);
  Visible = true;
  Enabled = true;
  ForeColor = 0x000000;
  BackColor = 0xF0F0F0;
  FontSize = 9.0;
  FontBold = false;
  Alignment = 0;
  BackStyle = 1;
  z_ = 0;
}

void Label::ResetToDefaults() {
  Element::ResetToDefaults();
  Caption = "";
  OneLine = false;
}

void PictureBox::SetPicture(const QImage& picture) {
  const int w = std::max(Width(), picture.width());
  const int h = std::max(Height(), picture.height());
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(QColor::fromRgb(BackColor()));
  if (!picture.isNull()) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    ::BitBlt(image, 0, 0, rgb.width(), rgb.height(), rgb, 0, 0, SRCCOPY);
  }
  Image = image;
  Changed(&Image);
}

bool PictureBox::LoadPicture(const std::string& path) {
  const QImage picture = LoadImageFile(path);
  if (picture.isNull()) return false;
  SetPicture(picture);
  return true;
}

void PictureBox::Refresh() {
  if (screen_->View()) screen_->View()->Repaint(*this);
}

void PictureBox::ResetToDefaults() {
  Element::ResetToDefaults();
  DesignPicture.clear();
  Image = QImage();
}

void TextBox::Changed(const void* which) {
  Element::Changed(which);
  if (which == &Text && OnChange) OnChange();
}

void TextBox::ResetToDefaults() {
  Element::ResetToDefaults();
  BackColor = 0xFFFFFF;
  Locked = false;
  MaxLength = 0;
  // The design value is set silently: a change handler runs for changes after the load only.
  auto handler = std::move(OnChange);
  OnChange = nullptr;
  Text = "";
  OnChange = std::move(handler);
}

void OptionButton::Changed(const void* which) {
  Element::Changed(which);
  if (which != &Value || !Value()) return;
  for (Element* e : screen_->Elements()) {
    if (e != this && e->Kind() == ElementKind::OptionButton && e->Container == Container)
      static_cast<OptionButton*>(e)->Value = false;
  }
  if (OnClick && screen_->Loaded()) OnClick();
}

void OptionButton::ResetToDefaults() {
  Element::ResetToDefaults();
  Caption = "";
  LastWordRight = false;
  Value = false;
}

void Frame::ResetToDefaults() {
  Element::ResetToDefaults();
  Caption = "";
}

void CommandButton::ResetToDefaults() {
  Element::ResetToDefaults();
  Caption = "";
}

Timer::Timer(Screen* s, std::string name) : Element(s, ElementKind::Timer, std::move(name)) {
  timer_queue::Add(this);
}

Timer::~Timer() { timer_queue::Remove(this); }

void Timer::Changed(const void* which) {
  if (which == &Interval) {
    timer_queue::Restart(this, HasBackend() ? CurrentBackend().NowMs() : 0);
    if (HasBackend()) CurrentBackend().TimersChanged();
    return;
  }
  Element::Changed(which);
}

void Timer::ResetToDefaults() {
  Element::ResetToDefaults();
  Interval = 0;
}
