// make_textures: writes the two pictures the textured box example draws with,
// so that the repository holds no binary picture: checker.png, a 128 x 128
// red and cream checker, and landscape.png, a 256 x 256 photo-like evening
// landscape (sky, sun, two ranges of hills, a lake) made of value noise.
// Usage: make_textures OUTPUT_FOLDER
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "orvane.h"

namespace {

constexpr int kCheckerSize = 128;
constexpr int kCheckerCell = 16;
constexpr int kLandscapeSize = 256;

struct Colour {
    double r, g, b;
};

Colour mix(const Colour& a, const Colour& b, double t) {
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Repeatable pseudo-random value in 0..1 for a lattice point.
double lattice(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xffff) / 65535.0;
}

double smoothNoise(double x, double y, int seed) {
    const int xi = static_cast<int>(std::floor(x));
    const int yi = static_cast<int>(std::floor(y));
    const double fx = x - xi;
    const double fy = y - yi;
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double top =
        lattice(xi, yi, seed) + (lattice(xi + 1, yi, seed) - lattice(xi, yi, seed)) * sx;
    const double bottom = lattice(xi, yi + 1, seed) +
                          (lattice(xi + 1, yi + 1, seed) - lattice(xi, yi + 1, seed)) * sx;
    return top + (bottom - top) * sy;
}

// Four octaves of noise, 0..1.
double fractal(double x, double y, int seed) {
    double sum = 0;
    double amplitude = 0.5;
    for (int octave = 0; octave < 4; ++octave) {
        sum += amplitude * smoothNoise(x, y, seed + octave);
        x *= 2;
        y *= 2;
        amplitude *= 0.5;
    }
    return sum / 0.9375;
}

void put(OrvImage* image, int x, int y, const Colour& c) {
    uint8_t* p = image->at(x, y);
    p[0] = static_cast<uint8_t>(std::lround(c.r * 255));
    p[1] = static_cast<uint8_t>(std::lround(c.g * 255));
    p[2] = static_cast<uint8_t>(std::lround(c.b * 255));
    p[3] = 255;
}

// The landscape at (u, v), v = 0 at the top.
Colour landscape(double u, double v) {
    const double horizon = 0.62;
    const Colour sky = mix({0.16, 0.26, 0.55}, {0.98, 0.72, 0.45}, v / horizon);
    const double sunDistance = std::hypot(u - 0.68, v - 0.45);
    Colour colour = mix({1.0, 0.93, 0.7}, sky, (sunDistance - 0.06) / 0.05);
    const double farHills = 0.50 - 0.10 * fractal(u * 3, 0.5, 11);
    const double nearHills = 0.58 - 0.12 * fractal(u * 4, 2.5, 23);
    if (v > farHills) {
        colour = mix({0.36, 0.36, 0.52}, {0.28, 0.30, 0.42}, fractal(u * 20, v * 20, 5));
    }
    if (v > nearHills) {
        colour = mix({0.18, 0.34, 0.16}, {0.32, 0.46, 0.20}, fractal(u * 30, v * 30, 7));
    }
    if (v > horizon + 0.02 && v < 0.86 && std::fabs(u - 0.5) < 0.42 - (v - horizon) * 0.6) {
        // The lake mirrors the sky, rippled.
        const double ripple = 0.1 * std::sin(v * 180 + fractal(u * 8, v * 40, 3) * 6);
        colour = mix(mix({0.98, 0.72, 0.45}, {0.2, 0.3, 0.55}, (v - horizon) * 3), {0.1, 0.15, 0.3},
                     0.2 + ripple);
    } else if (v > horizon) {
        colour = mix({0.25, 0.42, 0.15}, {0.45, 0.38, 0.18}, fractal(u * 40, v * 40, 9));
    }
    return colour;
}

int writeChecker(const std::string& path) {
    OrvImage image = {};
    if (!image.allocate(kCheckerSize, kCheckerSize)) {
        return -1;
    }
    for (int y = 0; y < kCheckerSize; ++y) {
        for (int x = 0; x < kCheckerSize; ++x) {
            const bool red = (x / kCheckerCell + y / kCheckerCell) % 2 == 0;
            put(&image, x, y, red ? Colour{0.8, 0.1, 0.1} : Colour{0.96, 0.92, 0.8});
        }
    }
    const int result = OrvPngCodec::write(path.c_str(), &image);
    image.release();
    return result;
}

int writeLandscape(const std::string& path) {
    OrvImage image = {};
    if (!image.allocate(kLandscapeSize, kLandscapeSize)) {
        return -1;
    }
    for (int y = 0; y < kLandscapeSize; ++y) {
        for (int x = 0; x < kLandscapeSize; ++x) {
            put(&image, x, y, landscape((x + 0.5) / kLandscapeSize, (y + 0.5) / kLandscapeSize));
        }
    }
    const int result = OrvPngCodec::write(path.c_str(), &image);
    image.release();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_textures OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (writeChecker(folder + "/checker.png") != 0 ||
        writeLandscape(folder + "/landscape.png") != 0) {
        std::fprintf(stderr, "make_textures: the pictures could not be written to %s\n",
                     folder.c_str());
        return 1;
    }
    return 0;
}
