// Windows virtual-key codes, the codes the game's key handlers receive.
#pragma once

constexpr int vkBack = 8;
constexpr int vkTab = 9;
constexpr int vkReturn = 13;
constexpr int vkShift = 16;
constexpr int vkControl = 17;
constexpr int vkMenu = 18;
constexpr int vkEscape = 27;
constexpr int vkSpace = 32;
constexpr int vkLeft = 37;
constexpr int vkUp = 38;
constexpr int vkRight = 39;
constexpr int vkDown = 40;
constexpr int vk0 = 48;  // '0'..'9' are 48..57
constexpr int vkA = 65;  // 'A'..'Z' are 65..90
constexpr int vkD = 68;
constexpr int vkR = 82;
constexpr int vkT = 84;
constexpr int vkU = 85;
constexpr int vkY = 89;
constexpr int vkF1 = 112;  // F1..F12 are 112..123
constexpr int vkF6 = 117;
constexpr int vkF8 = 119;
