#include "platform/events.h"

#include <algorithm>

#include "platform/backend.h"

namespace {
Backend* g_backend = nullptr;
}  // namespace

namespace events_detail {
VirtualClock* g_virtual = nullptr;
int g_depth = 0;
int g_maxDepth = 0;

double BackendClock() { return g_backend->Clock(); }
void BackendSleep(int ms) { g_backend->Sleep(ms); }
void BackendDoEvents() {
  ++g_depth;
  g_maxDepth = std::max(g_maxDepth, g_depth);
  g_backend->DoEvents();
  --g_depth;
}
}  // namespace events_detail

using namespace events_detail;

Backend& CurrentBackend() { return *g_backend; }
void InstallBackend(Backend* backend) {
  g_backend = backend;
  g_virtual = backend ? backend->Virtual() : nullptr;
}
bool HasBackend() { return g_backend != nullptr; }

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
