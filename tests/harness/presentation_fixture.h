// The machine screen open on the virtual clock, with helpers to steer the draws of the presentation.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "lottery/random.h"
#include "harness/machine_fixture.h"

class PresentationTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    OpenDay();
    ClearQueuedUniforms();
    sound->ClearEvents();
  }
  void TearDown() override {
    ClearQueuedUniforms();
    MachineTest::TearDown();
  }

  // The uniform number that makes RandomInt(n) give v, and the one that makes the nearest integer to a * u + b
  // give v.
  static double Gives(int v, int n) { return v == 0 ? 0.1 / n : (v - 0.1) / n; }
  static double Near(int v, double a, double b) { return std::clamp((v - b) / a, 0.0, 0.999999); }

  // The bank sounds played since the last clear, as "a,b,c" without the extension.
  std::string Played() const {
    std::string out;
    for (const SoundEvent& e : sound->Events())
      if (e.action == SoundAction::Play) out += (out.empty() ? "" : ",") + Stem(e.file);
    return out;
  }
  static std::string Stem(const std::string& path) {
    const size_t slash = path.rfind('\\');
    std::string s = slash == std::string::npos ? path : path.substr(slash + 1);
    return s.substr(0, s.rfind('.'));
  }
  static std::string StopSounds() {
    return Stem(Lottery.StopSounds[0]) + " " + Stem(Lottery.StopSounds[1]) + " " + Stem(Lottery.StopSounds[2]);
  }
};

// A share measured over n trials lies within 4 standard errors of p.
inline void ExpectShare(long hits, long n, double p, const std::string& what) {
  const double share = static_cast<double>(hits) / static_cast<double>(n);
  EXPECT_NEAR(share, p, 4 * std::sqrt(p * (1 - p) / static_cast<double>(n))) << what << " over " << n;
}
