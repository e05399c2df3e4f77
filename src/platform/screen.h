// A screen (a top-level window of the game) as plain data: it owns its elements under their names, knows its
// design-time values and its handlers, and is loaded and unloaded like the game's forms.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/elements.h"

class ScreenView;

class Screen {
 public:
  explicit Screen(std::string name);
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;
  virtual ~Screen();

  const std::string& Name() const { return name_; }
  const std::vector<Element*>& Elements() const { return elements_; }
  Element* Find(const std::string& name) const;

  // Window caption and client size.
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int ClientWidth = 0;
  int ClientHeight = 0;
  Colour BackColor = 0xF0F0F0;
  std::string FontName = "IPAPGothic";

  // Handlers. Keys come as Windows virtual-key codes.
  std::function<void()> OnLoad;
  std::function<void()> OnUnload;
  std::function<void(int keyCode, int shift)> OnKeyDown;

  bool Loaded() const { return loaded_; }
  bool Shown() const { return shown_; }
  // Builds the elements with their design values and runs the load handler. Does nothing when loaded.
  void Load();
  // Loads if needed and shows the window.
  void Show();
  // Runs the unload handler, stops every timer and closes the window.
  void Unload();

  // Hands a key to the key handler, as a key press on the window does.
  void KeyDown(int keyCode, int shift = 0);

  // The window that mirrors this screen, while a back end shows one.
  ScreenView* View() const { return view_; }
  void AttachView(ScreenView* view) { view_ = view; }

  // For elements: a property changed.
  void ElementChanged(Element& e, const void* which);
  void Register(Element* e) { elements_.push_back(e); }
  int NextFrontZ() { return ++frontZ_; }
  int NextBackZ() { return --backZ_; }

 protected:
  // Sets the design-time values of every element (called after each reset to defaults).
  virtual void Design() = 0;

 private:
  std::string name_;
  std::string caption_;
  std::vector<Element*> elements_;
  ScreenView* view_ = nullptr;
  bool loaded_ = false;
  bool shown_ = false;
  int frontZ_ = 0;
  int backZ_ = 0;
};

// What a back end's window does for a screen.
class ScreenView {
 public:
  virtual ~ScreenView() = default;
  virtual void ElementChanged(Element& e) = 0;
  virtual void CaptionChanged() = 0;
  virtual void Repaint(PictureBox& p) = 0;
  virtual void Show() = 0;
};
