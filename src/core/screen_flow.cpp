#include "core/screen_flow.h"

#include "core/day.h"

namespace {

// Indexed by ScreenName; constant-initialised, so a screen may register before any other global is built.
void (*g_show[])() = {nullptr, StartDay, nullptr, nullptr};

}  // namespace

void RegisterScreen(ScreenName screen, void (*show)()) { g_show[static_cast<int>(screen)] = show; }

void ShowScreen(ScreenName screen) {
  if (void (*show)() = g_show[static_cast<int>(screen)]) show();
}
