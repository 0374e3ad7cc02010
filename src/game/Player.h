#pragma once

class GamePlay;

// The figure the player steers: a 22 x 60 box by its top-left corner, its
// facing, jump arc and fall speed. It tells its game when it leaves the screen
// through an edge and comes back in at the opposite one. Advances per frame
// only; nothing here can fail. All positions wrap at 16 bits.
class Player {
public:
    static constexpr short width = 22;
    static constexpr short height = 60;
    // Frames after a screen change before another may start.
    static constexpr int screenChangeCooldownFrames = 30;

    void setGamePlay(GamePlay* owner) { gamePlay = owner; }
    // Moves the figure, turns it towards the move (against the last frame's
    // position) and changes the screen when it has left sideways.
    void setPosition(short newX, short newY);
    void setLastPosition(short newX, short newY)
    {
        lastX = newX;
        lastY = newY;
    }
    // Starts (or restarts) a jump arc from the current height.
    void jump();
    void cancelJump() { jumping = false; }
    // Landing after a fall resets the fall speed to 4.
    void setGrounded(bool g);
    // One frame of falling; below the screen the figure comes back from above.
    void applyGravity();
    // One frame of the jump arc and of the screen-change cooldown.
    void tick();

    short x = 0;
    short y = 0;
    short lastX = 0;
    short lastY = 0;
    bool grounded = false;
    float fallSpeed = 1.0f;
    bool jumping = false;
    float jumpAngle = 0.0f;  // 0 to pi along the arc
    short jumpBaseY = 0;
    bool facingRight = true;
    GamePlay* gamePlay = nullptr;
    int screenChangeCooldown = 0;
};
