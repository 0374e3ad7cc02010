#include "game/Player.h"

#include <cmath>

#include "game/GamePlay.h"
#include "game/LogicalScreen.h"

namespace {
// Where a figure that fell off the bottom comes back in: above the top edge.
constexpr short reentryY = -118;
}  // namespace

void Player::setPosition(short newX, short newY)
{
    x = newX;
    y = newY;
    if (x > lastX)
        facingRight = true;
    else if (x < lastX)
        facingRight = false;

    if (x > LogicalScreen::width && screenChangeCooldown == 0) {
        gamePlay->newLevel(GamePlay::Right);
        screenChangeCooldown = screenChangeCooldownFrames;
        x = -width;
    } else if (x < -width && screenChangeCooldown == 0) {
        gamePlay->newLevel(GamePlay::Left);
        screenChangeCooldown = screenChangeCooldownFrames;
        x = LogicalScreen::width;
    }
}

void Player::jump()
{
    jumping = true;
    grounded = false;
    jumpAngle = 0.0f;
    jumpBaseY = y;
}

void Player::setGrounded(bool g)
{
    if (g && !grounded)
        fallSpeed = 4.0f;
    grounded = g;
}

void Player::applyGravity()
{
    y = static_cast<short>(y + static_cast<int>(fallSpeed));
    if (!(fallSpeed >= 10.0f))
        fallSpeed += 0.1f;
    if (y > LogicalScreen::height) {
        if (screenChangeCooldown == 0) {
            gamePlay->newLevel(GamePlay::Down);
            screenChangeCooldown = screenChangeCooldownFrames;
        }
        y = reentryY;
    }
}

void Player::tick()
{
    if (jumping) {
        jumpAngle += 0.075f;
        if (jumpAngle >= 3.1415927f)
            jumping = false;
        else
            y = static_cast<short>(jumpBaseY - static_cast<int>(std::sin(jumpAngle) * 150.0f));
    }
    if (screenChangeCooldown > 0)
        --screenChangeCooldown;
}
