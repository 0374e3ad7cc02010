#include "Figure.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct P {
    double x;
    double y;
};

// A stroke whose radius runs from r0 at a to r1 at b.
struct Capsule {
    P a;
    P b;
    double r0;
    double r1;
};

double distanceTo(const Capsule& c, double x, double y)
{
    const double bx = c.b.x - c.a.x;
    const double by = c.b.y - c.a.y;
    const double px = x - c.a.x;
    const double py = y - c.a.y;
    const double lengthSquared = bx * bx + by * by;
    double t = lengthSquared > 0.0 ? (px * bx + py * by) / lengthSquared : 0.0;
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    const double dx = px - bx * t;
    const double dy = py - by * t;
    return std::sqrt(dx * dx + dy * dy) - (c.r0 + (c.r1 - c.r0) * t);
}

struct Limb {
    P root;
    P joint;
    P end;
    P tip; // hand or toe
};

struct Body {
    P head;
    P neckTop;
    P chest;
    P hips;
    Limb nearArm;
    Limb farArm;
    Limb nearLeg;
    Limb farLeg;
};

P moved(P p, double dx, double dy)
{
    return {p.x + dx, p.y + dy};
}

// Everything above the hips moves together when the figure breathes or bobs.
void liftUpperBody(Body& body, double dy, double lean)
{
    body.head = moved(body.head, lean, dy);
    body.neckTop = moved(body.neckTop, lean, dy);
    body.chest = moved(body.chest, lean * 0.6, dy);
    for (Limb* arm : {&body.nearArm, &body.farArm}) {
        arm->root = moved(arm->root, lean * 0.6, dy);
        arm->joint = moved(arm->joint, lean * 0.5, dy);
        arm->end = moved(arm->end, lean * 0.4, dy);
        arm->tip = moved(arm->tip, lean * 0.4, dy);
    }
}

Limb arm(P shoulder, P elbow, P hand)
{
    return {shoulder, elbow, hand, hand};
}

Limb leg(P hip, P knee, P ankle, P toe)
{
    return {hip, knee, ankle, toe};
}

Body bodyFor(Figure::Pose pose)
{
    Body body;
    body.head = {12.0, 6.8};
    body.neckTop = {11.7, 11.5};
    body.chest = {11.3, 18.0};
    body.hips = {10.8, 32.0};
    body.nearArm = arm({12.0, 18.4}, {13.7, 24.8}, {14.7, 30.4});
    body.farArm = arm({10.2, 18.4}, {8.6, 24.8}, {7.8, 30.2});
    body.nearLeg = leg({11.6, 33.0}, {12.6, 45.0}, {12.8, 56.4}, {16.2, 58.3});
    body.farLeg = leg({10.0, 33.0}, {9.2, 45.0}, {8.4, 56.4}, {11.8, 58.3});

    switch (pose) {
    case Figure::Pose::Stand:
        break;
    case Figure::Pose::StandBreathIn:
        liftUpperBody(body, -0.8, 0.0);
        body.nearArm.end.x += 0.3;
        body.nearArm.tip.x += 0.3;
        break;
    case Figure::Pose::WalkPassing:
        liftUpperBody(body, -0.3, 0.5);
        body.nearArm = arm({11.8, 17.9}, {12.0, 24.8}, {11.9, 30.9});
        body.farArm = arm({10.9, 17.9}, {11.2, 24.8}, {12.0, 30.6});
        body.nearLeg = leg({11.2, 33.0}, {12.2, 45.0}, {11.2, 56.4}, {14.7, 58.3});
        body.farLeg = leg({10.6, 33.0}, {12.6, 43.8}, {8.4, 52.6}, {11.4, 54.6});
        break;
    case Figure::Pose::WalkNearLegAhead:
    case Figure::Pose::WalkFarLegAhead: {
        liftUpperBody(body, 0.8, 0.7);
        body.hips.y += 0.8;
        const Limb armAhead = arm({11.2, 18.9}, {13.4, 25.2}, {15.6, 30.2});
        const Limb armBehind = arm({11.6, 18.9}, {9.6, 25.4}, {7.6, 30.6});
        const Limb legAhead = leg({11.2, 33.8}, {14.6, 45.0}, {16.6, 56.0}, {19.9, 57.9});
        const Limb legBehind = leg({10.4, 33.8}, {8.4, 45.4}, {5.0, 55.4}, {8.2, 58.4});
        const bool nearAhead = pose == Figure::Pose::WalkNearLegAhead;
        // Arms swing against the legs.
        body.nearLeg = nearAhead ? legAhead : legBehind;
        body.farLeg = nearAhead ? legBehind : legAhead;
        body.nearArm = nearAhead ? armBehind : armAhead;
        body.farArm = nearAhead ? armAhead : armBehind;
        break;
    }
    }
    return body;
}

void addArm(std::vector<Capsule>& parts, const Limb& a)
{
    parts.push_back({a.root, a.joint, 1.55, 1.4});
    parts.push_back({a.joint, a.end, 1.4, 1.25});
    parts.push_back({a.end, a.end, 1.6, 1.6});
}

void addLeg(std::vector<Capsule>& parts, const Limb& l)
{
    parts.push_back({l.root, l.joint, 2.0, 1.7});
    parts.push_back({l.joint, l.end, 1.7, 1.4});
    parts.push_back({l.end, l.tip, 1.45, 1.3});
}

double coverage(const std::vector<Capsule>& parts, double x, double y)
{
    // 4 x 4 samples a pixel: smooth edges without blurring such a small figure.
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            const double px = x + (sx + 0.5) / 4.0;
            const double py = y + (sy + 0.5) / 4.0;
            for (const Capsule& c : parts)
                if (distanceTo(c, px, py) <= 0.0) {
                    ++inside;
                    break;
                }
        }
    return inside / 16.0;
}

} // namespace

Canvas Figure::draw(Pose pose)
{
    const Body body = bodyFor(pose);
    std::vector<Capsule> nearParts;
    std::vector<Capsule> farParts;
    nearParts.push_back({body.head, body.head, 5.2, 5.2});
    nearParts.push_back({{body.head.x + 5.0, body.head.y + 0.8}, {body.head.x + 5.7, body.head.y + 1.4}, 1.0, 0.8});
    nearParts.push_back({body.neckTop, body.chest, 1.5, 2.0});
    nearParts.push_back({body.chest, body.hips, 3.5, 2.9});
    addArm(nearParts, body.nearArm);
    addLeg(nearParts, body.nearLeg);
    addArm(farParts, body.farArm);
    addLeg(farParts, body.farLeg);

    const float ink[3] = {34 / 255.0f, 32 / 255.0f, 42 / 255.0f};
    const float farInk[3] = {82 / 255.0f, 80 / 255.0f, 96 / 255.0f};
    Canvas canvas(width, height, ink[0], ink[1], ink[2]);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double n = coverage(nearParts, x, y);
            const double f = coverage(farParts, x, y) * (1.0 - n);
            const double a = n + f;
            if (a <= 0.0)
                continue;
            float rgb[3];
            for (int i = 0; i < 3; ++i)
                rgb[i] = float((n * ink[i] + f * farInk[i]) / a);
            canvas.set(x, y, rgb[0], rgb[1], rgb[2], float(a));
        }
    return canvas;
}
