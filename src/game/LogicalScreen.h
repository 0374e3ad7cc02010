#pragma once

// The game's fixed drawing area: every position, rectangle and picture of the
// game is in these units, and the drawer fits the area into any window.
namespace LogicalScreen {
constexpr short width = 1024;
constexpr short height = 768;
} // namespace LogicalScreen
