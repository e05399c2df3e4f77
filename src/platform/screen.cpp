#include "platform/screen.h"

#include <unordered_map>

#include "platform/backend.h"
#include "platform/embedded.h"
#include "platform/picture.h"

namespace {

// A picture built into a screen definition, decoded once per run: every load of the screen shares it until the
// game draws on it.
QImage DesignImage(const std::string& name) {
  static std::unordered_map<std::string, QImage> decoded;
  auto it = decoded.find(name);
  if (it == decoded.end()) {
    QImage image;
    const auto bytes = EmbeddedFile(name);
    if (!bytes.empty())
      image = QImage::fromData(bytes.data(), static_cast<int>(bytes.size())).convertToFormat(QImage::Format_RGB32);
    it = decoded.emplace(name, image).first;
  }
  return it->second;
}

}  // namespace

Screen::Screen(std::string name) : name_(std::move(name)) {}

Screen::~Screen() = default;

Element* Screen::Find(const std::string& name) const {
  for (Element* e : elements_)
    if (e->Name() == name) return e;
  return nullptr;
}

void Screen::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  if (view_) view_->CaptionChanged();
}

void Screen::ElementChanged(Element& e, const void*) {
  if (view_) view_->ElementChanged(e);
}

void Screen::Load() {
  if (loaded_) return;
  frontZ_ = 0;
  backZ_ = 0;
  for (Element* e : elements_) e->ResetToDefaults();
  caption_.clear();
  Design();
  // Picture boxes start with the picture built into the screen definition, or their back colour. In no-draw mode
  // nothing is ever drawn from or onto them, so none is decoded.
  for (Element* e : elements_) {
    if (PixelDrawingOff) break;
    if (e->Kind() != ElementKind::PictureBox) continue;
    auto* p = static_cast<PictureBox*>(e);
    p->SetPicture(p->DesignPicture.empty() ? QImage() : DesignImage(name_ + "." + p->DesignPicture));
  }
  loaded_ = true;
  if (HasBackend()) CurrentBackend().ScreenLoaded(*this);
  if (OnLoad) OnLoad();
}

void Screen::Show() {
  Load();
  if (!loaded_) return;
  shown_ = true;
  if (view_) view_->Show();
}

void Screen::Unload() {
  if (!loaded_) return;
  if (OnUnload) OnUnload();
  for (Element* e : elements_)
    if (e->Kind() == ElementKind::Timer) static_cast<Timer*>(e)->Interval = 0;
  loaded_ = false;
  shown_ = false;
  if (HasBackend()) CurrentBackend().ScreenUnloaded(*this);
  view_ = nullptr;
}

void Screen::KeyDown(int keyCode, int shift) {
  if (loaded_ && OnKeyDown) OnKeyDown(keyCode, shift);
}
