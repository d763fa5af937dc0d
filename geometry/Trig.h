#pragma once

// Whole-degree trigonometry shared by the drawing view, the figures and the
// start window's animation: sine and cosine from 361-entry tables, computed
// once in single precision, and the integer distance and direction angle
// that go with them.
namespace Trig
{

// Brings a whole number of degrees into 0..360 (by adding or removing 360
// as often as needed) and looks it up.
float sinDeg(int degrees);
float cosDeg(int degrees);
// sin / cos of the whole-degree angle, from the tables.
float tanDeg(int degrees);

// The distance between two integer points rounded down: the integer square
// root of dx^2 + dy^2.
int distance(int x1, int y1, int x2, int y2);
long long isqrt(long long n);

// Direction from (a, b) to (c, d) in whole degrees, y counted upwards:
// between -90 and 270.
int directionAngle(float a, float b, float c, float d);

} // namespace Trig
