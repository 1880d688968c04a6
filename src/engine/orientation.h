// Re-orientation of the model before it is written, for inputs whose vertices carry the
// orientation letters "F", "T" and "R" (the parser sets Model::OrientFlag for them).
#pragma once

namespace ostrel {

struct Model;

// Turns the vertex positions FirstVertex..LastVertex in place:
// 1. "F": the foot point P of the first three vertices flagged "F" (one vertex: its position;
//    two: the point of their line nearest the origin; three: the foot of the perpendicular from
//    the origin to their plane) is turned onto the positive z axis, first about the z axis and
//    then in the y-z plane. When face 1 is flagged "Y" the model is instead turned in the x-z
//    plane only, by π/2 plus the angle of (Px, Pz).
// 2. "T": the foot point Q of the first three vertices flagged "T" (after stage 1) is turned
//    about the z axis onto the positive y side (x = 0); the z axis stays where stage 1 put it.
// 3. "R": when the last vertex flagged "R" has x below 0, every x is negated (a mirror in the
//    y-z plane).
// A stage whose letter no vertex carries is skipped. A foot point at the origin has the angle 0,
// so the quarter turns of stage 1 are still made.
void OrientationStep(Model& model);

// The two-argument arctangent of the point (x, y) the turns use: atan(y/x) for x > 0; for x < 0,
// atan(y/x) + π when y > 0, else atan(y/x) − π; for x = 0, π/2 when y > 0, 3π/2 when y < 0 and
// 0 when y = 0. It agrees with std::atan2(y, x) up to whole turns.
double orientation_angle(double x, double y);

}  // namespace ostrel
