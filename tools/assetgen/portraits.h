// The five proxy players' portraits, 132 x 66: もこじろう, もこたろう, もこパパ, にゃんすけ (a cat), もこゴッド.
#pragma once
#include <QImage>

constexpr int kPortraitCount = 5;
QImage Portrait(int index);  // 0..4 in the order of the contracts (100, 300, 1000, 5000, 15000 games)
