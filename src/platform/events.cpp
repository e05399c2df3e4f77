#include "platform/events.h"

#include <algorithm>

#include "platform/backend.h"

namespace {
Backend* g_backend = nullptr;
int g_depth = 0;
int g_maxDepth = 0;
}  // namespace

Backend& CurrentBackend() { return *g_backend; }
void InstallBackend(Backend* backend) { g_backend = backend; }
bool HasBackend() { return g_backend != nullptr; }

double Clock() { return g_backend->Clock(); }

void Sleep(int ms) { g_backend->Sleep(ms); }

void DoEvents() {
  ++g_depth;
  g_maxDepth = std::max(g_maxDepth, g_depth);
  g_backend->DoEvents();
  --g_depth;
}

int MsgBox(const std::string& text, int buttons, const std::string& title) {
  return g_backend->MsgBox(text, buttons, title.empty() ? AppTitle() : title);
}

std::string& AppTitle() {
  static std::string title = "モフラン";
  return title;
}

int EventDepth() { return g_depth; }
int MaxEventDepth() { return g_maxDepth; }
void ResetMaxEventDepth() { g_maxDepth = g_depth; }

std::uint64_t ClockSeed() { return g_backend->ClockSeed(); }
