// What the current GL context holds, read back for tests: integers, light
// parameters and where a world point lands in the window.
#pragma once

#include <array>
#include <vector>

class OrvRenderer;

// Where the world point (x, y, z) lands in the current context's window, y
// counted from the bottom: the renderer's view matrix, then GL's projection
// and viewport. Leaves the view matrix loaded.
std::array<double, 2> orvWindowPoint(OrvRenderer* renderer, double x, double y, double z);

// The single integer glGetIntegerv gives for name in the current context.
int glInteger(unsigned int name);

// The first count (at most 4) values glGetLightfv gives for name of the light
// unit light (GL_LIGHT0 + n). Values the driver leaves unwritten read -99, so
// that a refused query cannot pass for a light's zeros.
std::vector<float> lightValues(unsigned int light, unsigned int name, int count);
