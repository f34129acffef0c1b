#pragma once

#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace ai {

inline constexpr int kMaxNodes = 1000;
inline constexpr int kMaxElements = 1000;
inline constexpr int kTableSlots = 1001; // slot 0 is never used

// A coordinate as the tables hold it: the value of its text, NaN while the text is empty.
inline constexpr double kUnset = std::numeric_limits<double>::quiet_NaN();
inline bool isSet(double coordinate) { return !std::isnan(coordinate); }

struct Position {
    double x = kUnset;
    double y = kUnset;

    bool isSet() const { return ai::isSet(x) && ai::isSet(y); }
};

// Node numbers of a triangle in pick order; 0 stands for an empty text.
struct Triangle {
    std::array<int, 3> nodes{0, 0, 0};

    int first() const { return nodes[0]; }
    int second() const { return nodes[1]; }
    int third() const { return nodes[2]; }
};

// Per node: how many triangles contributed in the last study, and their sum, then average.
struct NodeSum {
    double count = kUnset;
    double value = kUnset;
};

enum class Component { None, Sxx, Syy, Sxy, VonMises };

inline constexpr double kTwipsPerPixel = 15.0;

// The standard deviation of each coordinate of a position known to the pixel (a click, a
// generator, a mesh file): uniform over the pixel, 15 / sqrt(12) view units.
inline constexpr double kPixelResolutionSd = kTwipsPerPixel / 3.4641016151377544;

// The covariance of a position, view units squared.
struct PositionCovariance {
    double xx = kPixelResolutionSd * kPixelResolutionSd;
    double xy = 0.0;
    double yy = kPixelResolutionSd * kPixelResolutionSd;
};

// How a loaded position was obtained. The default is a position known to the pixel;
// a position found by correlation carries the correlation's covariance and final ZNCC.
struct LoadLocation {
    bool correlated = false;
    double zncc = kUnset;
    PositionCovariance covariance{};
    // A correlation looked for the node and did not find it: its loaded position is a
    // starting guess, not a measurement, until the user places it or a correlation finds it.
    bool notFound = false;
};

// The one study in memory. Coordinates are held as the values of their texts
// (view units, twips); see number_text.h for the conversions to and from text.
struct ProjectState {
    std::array<Position, kTableSlots> FreeNodes{};
    std::array<Position, kTableSlots> LoadNodes{};
    std::array<Triangle, kTableSlots> Elements{};
    std::array<NodeSum, kTableSlots> NodeSums{};
    // Beside LoadNodes: reset to the default whenever a loaded position is set otherwise
    // than by correlation (a click, a drag, a generator, a file, an erase).
    std::array<LoadLocation, kTableSlots> LoadLocations{};

    int NodeCount = 0;
    int ElementCount = 0;
    int CurrentElement = 0;
    int FreeDragNode = 0;
    int LoadDragNode = 0;

    bool StopFlag = false;
    bool PlaneStressFlag = false;
    Component StressComponent = Component::None;

    std::string FreeImageFile;
    std::string LoadImageFile;

    int GridBaseNodeCount = 0;
    int GridBaseElementCount = 0;

    // The node created on the free view that waits for its loaded position, 0 if none.
    // It is always node NodeCount while set.
    int PendingNode = 0;

    // Nodes that have both positions: every node but the one waiting for its location.
    int locatedNodeCount() const { return PendingNode != 0 ? NodeCount - 1 : NodeCount; }
};

} // namespace ai
