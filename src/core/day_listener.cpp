#include "core/day_listener.h"

namespace {

void Nothing() {}
void NoKey(int) {}
constexpr DayListener kNobody{Nothing, Nothing, Nothing, NoKey, Nothing};
const DayListener* g_listener = &kNobody;

}  // namespace

void SetDayListener(const DayListener* listener) { g_listener = listener ? listener : &kNobody; }

const DayListener& Listener() { return *g_listener; }
