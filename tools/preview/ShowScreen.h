#pragma once

class GamePlay;

// Sets the game on a screen as it looks once the fade-in is over, with the
// blocks at the breathing phase they have then and the shaking at a fixed
// seed, so that drawing the next frame always paints the same picture. The
// figure stands at the plane's start on its first screen and is kept out of
// sight on the others, where it has no place of its own.
void showScreen(GamePlay& game, int plane, int screen);
