#include <cstdint>
#include <initializer_list>

#include "machine/lottery_state.h"
#include "machine/mc_state.h"
#include "machine/reel_state.h"
#include "reels/reels.h"

namespace {

// A set of positions 1..21 as bits.
using Positions = std::uint32_t;
constexpr Positions P(std::initializer_list<int> list) {
  Positions bits = 0;
  for (int p : list) bits |= Positions{1} << p;
  return bits;
}

// One row of a stop table: the allowed positions for StopGroup 1 to 5.
struct StopRow {
  Positions group[5];
};

// Left reel.
constexpr StopRow kLeftSeven = {{P({7, 9, 17}), P({7, 9, 17}), P({8, 18}), P({3, 9, 11, 15, 19}), P({3, 9, 11, 15, 19})}};
constexpr StopRow kLeftReplay = {{P({5, 10, 18}), P({5, 10, 18}), P({3, 6, 11, 15, 19}), P({4, 7, 16, 20}), P({4, 7, 16, 20})}};
constexpr StopRow kLeftMame = {{P({4, 6, 11, 16, 20}), P({4, 6, 11, 16, 20}), P({7, 17}), P({6, 8, 18}), P({6, 8, 18})}};
constexpr StopRow kLeftMofuran = {{P({3, 8, 15, 19}), P({3, 8, 15, 19}), P({10, 17}), P({10, 17}), P({10, 17})}};
// HidaReal, by StopPattern 2, 3 and any other.
constexpr StopRow kHidaReplay = {{P({5, 10, 18}), P({5, 10, 18}), P({3, 6, 11, 15, 19}), P({4, 7, 16, 20}), P({4, 7, 16, 20})}};
constexpr StopRow kHidaMame = {{P({4, 11, 16, 20}), P({4, 11, 16, 20}), P({5, 7, 17}), P({6, 8, 18}), P({6, 8, 18})}};
constexpr StopRow kHidaMofuran = {{P({3, 8, 15, 19}), P({3, 8, 15, 19}), P({4, 16, 20}), P({5, 10, 17}), P({5, 10, 17})}};

// Centre reel (groups 2, 3 and 4 share their positions).
constexpr StopRow Centre(Positions g1, Positions g234, Positions g5) { return {{g1, g234, g234, g234, g5}}; }
constexpr StopRow kCentreSeven = Centre(P({4, 7, 12, 17, 20}), P({5, 8, 13, 18, 21}), P({1, 6, 9, 14, 19}));
constexpr StopRow kCentreReplay = Centre(P({6, 19}), P({3, 7, 11, 16, 20}), P({4, 8, 12, 17, 21}));
constexpr StopRow kCentreMame = Centre(P({1, 5, 9, 14, 18}), P({6, 10, 15, 19}), P({3, 7, 11, 16, 20}));
constexpr StopRow kCentreMofuran = Centre(P({3, 8, 11, 13, 16, 21}), P({1, 4, 9, 12, 14, 17}), P({2, 10, 15}));
// NakaREAL, by StopPattern 2, 3 and any other.
constexpr StopRow kNakaReplay = Centre(P({2, 6, 10, 15, 19}), P({3, 7, 11, 16, 20}), P({4, 8, 12, 17, 21}));
constexpr StopRow kNakaMame = Centre(P({1, 5, 9, 14, 18}), P({2, 6, 10, 15, 19}), P({3, 7, 11, 16, 20}));
constexpr StopRow kNakaMofuran = Centre(P({8, 16, 21}), P({1, 4, 9, 12, 14, 17}), P({2, 5, 10, 15, 18}));

// Right reel.
constexpr StopRow kRightSeven = {{P({1, 10, 17}), P({3, 8, 12, 17, 19}), P({2, 7, 11, 18}), P({1, 10, 17}), P({3, 8, 12, 17, 19})}};
// A won MC before its reveal completes the line of its pattern's kind.
constexpr StopRow kRightHiddenReplay = {{P({4, 9, 13, 21}), P({2, 6, 11, 15, 20}), P({1, 5, 10, 14, 19}), P({4, 9, 13, 21}), P({2, 6, 11, 15, 20})}};
constexpr StopRow kRightHiddenMame = {{P({2, 5, 7, 11, 14}), P({4, 7, 9, 13, 16}), P({3, 6, 8, 12, 15, 20}), P({2, 5, 7, 11, 14, 19}), P({4, 7, 9, 13, 16})}};
constexpr StopRow kRightHiddenMofuran = {{P({3, 8, 12, 20}), P({1, 5, 10, 14}), P({4, 9, 13, 21}), P({3, 8, 12, 20}), P({1, 5, 10, 14})}};
constexpr StopRow kRightReplay = {{P({4, 9, 13, 21}), P({2, 6, 11, 15, 20}), P({1, 5, 10, 14, 19}), P({4, 9, 13, 21}), 0}};
constexpr StopRow kRightMame = {{P({2, 5, 11, 14}), P({4, 9, 13, 16}), P({3, 6, 8, 12, 15, 20}), P({2, 5, 11, 14, 19}), P({4, 9, 13, 16})}};
constexpr StopRow kRightMofuran = {{P({3, 8, 12, 20}), P({1, 5, 10, 14}), P({4, 9, 13, 21}), P({3, 8, 12, 20}), P({1, 5, 10, 14})}};
// MigiReal: the near-miss, avoiding the pattern's symbol on the line.
constexpr StopRow kMigiNotReplay = {{P({3, 5, 8, 11, 16, 19}), P({3, 5, 12, 18, 19}), P({2, 6, 8, 16, 18}), P({3, 5, 8, 11, 16, 19}), P({3, 5, 12, 18, 19})}};
constexpr StopRow kMigiNotMame = {{P({1, 6, 10, 15}), P({1, 2, 5, 6, 10, 11, 15, 18, 20}), P({2, 7, 11, 16, 19}), P({1, 6, 10, 15}), P({1, 2, 5, 6, 10, 11, 15, 18, 20})}};
constexpr StopRow kMigiNotMofuran = {{P({4, 9, 13, 21}), P({2, 7, 11, 16}), P({1, 3, 6, 8, 10, 12, 15, 16, 18, 20}), P({4, 9, 13, 21}), P({2, 7, 11, 16})}};

const StopRow& ByPattern(const StopRow& replay, const StopRow& mame, const StopRow& other) {
  if (Lottery.StopPattern == StopPatterns::ReplayMiss) return replay;
  if (Lottery.StopPattern == StopPatterns::MameMiss) return mame;
  return other;
}

bool Allowed(const StopRow& row, int pos) {
  const int group = Lottery.StopGroup;
  if (group < 1 || group > 5 || pos < 1 || pos > 21) return false;
  return (row.group[group - 1] >> pos) & 1u;
}

bool SevensRevealed() { return Lottery.GameFlag == GameFlags::Mc && Premonition.RevealStage == 2; }

// Each reel's rows for what the game won: the sevens once revealed, a replay, a mame, the digital win's mofuran;
// and its near misses, by the stop pattern (replay, mame, mofuran).
struct ReelRows {
  const StopRow *seven, *replay, *mame, *mofuran;
  const StopRow *nearReplay, *nearMame, *nearMofuran;
};
constexpr ReelRows kReelRows[3] = {
    {&kLeftSeven, &kLeftReplay, &kLeftMame, &kLeftMofuran, &kHidaReplay, &kHidaMame, &kHidaMofuran},
    {&kCentreSeven, &kCentreReplay, &kCentreMame, &kCentreMofuran, &kNakaReplay, &kNakaMame, &kNakaMofuran},
    {&kRightSeven, &kRightReplay, &kRightMame, &kRightMofuran, &kMigiNotReplay, &kMigiNotMame, &kMigiNotMofuran},
};

// The row of the game's own result, or none when the reel's near-miss decision applies. An MC not yet revealed
// hides on the right reel behind a near miss of its own.
const StopRow* ResultRow(int reel) {
  const ReelRows& rows = kReelRows[reel];
  if (SevensRevealed()) return rows.seven;
  switch (Lottery.GameFlag) {
    case GameFlags::Mc:
      return reel == 2 ? &ByPattern(kRightHiddenReplay, kRightHiddenMame, kRightHiddenMofuran) : nullptr;
    case GameFlags::Replay:
      return rows.replay;
    case GameFlags::Mame:
      return rows.mame;
    case GameFlags::Digital:
      return rows.mofuran;
    default:
      return nullptr;
  }
}

const StopRow& NearMissRow(int reel) {
  const ReelRows& rows = kReelRows[reel];
  return ByPattern(*rows.nearReplay, *rows.nearMame, *rows.nearMofuran);
}

}  // namespace

bool StopAllowed(int reel, int pos) {
  const StopRow* row = ResultRow(reel);
  return Allowed(row ? *row : NearMissRow(reel), pos);
}

void StopDecision(int reel) {
  const StopRow* row = ResultRow(reel);
  if (!row) {
    if (reel == 0) HidaReal();
    else if (reel == 1) NakaREAL();
    else MigiReal();
    return;
  }
  std::int16_t& pos = reel == 0 ? Reels.LeftReelPos : reel == 1 ? Reels.CentreReelPos : Reels.RightReelPos;
  std::int16_t& stopped = reel == 0 ? Reels.LeftReelStopped : reel == 1 ? Reels.CentreReelStopped : Reels.RightReelStopped;
  if (Allowed(*row, pos)) stopped = 1;
}

void HidaReal() {
  if (Allowed(NearMissRow(0), Reels.LeftReelPos)) Reels.LeftReelStopped = 1;
}

void NakaREAL() {
  if (Allowed(NearMissRow(1), Reels.CentreReelPos)) Reels.CentreReelStopped = 1;
}

void MigiReal() {
  if (Allowed(NearMissRow(2), Reels.RightReelPos)) Reels.RightReelStopped = 1;
}
