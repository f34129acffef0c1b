#include "correlation/material_under_node.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace ai {

namespace {

// The grey-level gradient energy under the node against the noise's: over the disc, pure
// noise gives 1 with a spread of 0.1, and 1.45 at most in 10 000 discs. Holes are the
// featureless regions' business; this only asks for some detail under the node, so that a
// speckle's plain patches pass under noise.
constexpr double kMaterialContrast = 1.5;
// The window that must show detail around a node reaches at least this far (pixels): a
// speckle's plain patches can fill a smaller one.
constexpr int kLeastMaterialReach = 9;
// The rounding of the grey levels to whole numbers is noise too (1/12 grey level squared).
constexpr double kLeastNoiseVariance = 1.0 / 12.0;
// A pixel shows detail when its Sobel gradient energy passes this many times the noise
// variance: noise alone gives 0.375 times it on average, and passes it at about one pixel
// in 500 000.
constexpr double kDetailContrast = 5.0;
// The radius of the narrowest featureless disc taken for a hole or a background, below half
// a subset: the plain patches of a dense speckle of dots of a few pixels, even where it
// saturates into dark plateaus, hold no featureless disc much wider than 13 pixels in radius.
constexpr int kLeastPlainRadius = 16;
// How far beyond a featureless disc an edge's detail may reach: a point in the hole that
// near its edge touches the detail, and is placed against the edge itself.
constexpr int kEdgeReach = 4;
// A point on the edge is on the material: the edge's position, found next to a speckle from
// 0.55 pixel short of it to 0.3 beyond it (0.16 short on average), must lie this much beyond
// the point for the point to be in the plain region.
constexpr double kEdgeTolerance = 0.2;

struct Pixel {
    int column = 0;
    int row = 0;
};

// Mean grey-level gradient energy in a disc around the node, against the noise's.
bool detailUnder(const GreyImage& free, Pixel node, int subsetSide, double noiseVariance)
{
    // A disc, so that a point inside a round hole sees the hole's edge at the same depth
    // whatever its direction.
    const int reach = std::max(kLeastMaterialReach, subsetSide / 4);
    double energy = 0.0;
    int pixels = 0;
    for (int j = -reach; j <= reach; ++j)
        for (int k = -reach; k <= reach; ++k) {
            const int c = node.column + k;
            const int r = node.row + j;
            if (k * k + j * j > reach * reach || c < 1 || r < 1 || c + 1 >= free.width ||
                r + 1 >= free.height)
                continue;
            const double gx = (free.at(c + 1, r) - free.at(c - 1, r)) / 2.0;
            const double gy = (free.at(c, r + 1) - free.at(c, r - 1)) / 2.0;
            energy += gx * gx + gy * gy;
            ++pixels;
        }
    // The noise's central differences carry half its variance along each axis, so pure
    // noise gives an energy of about its variance.
    return pixels > 0 && energy / pixels >= kMaterialContrast * noiseVariance;
}

// Which pixels of a square window around the node show detail, each judged when first asked.
class DetailFlags {
public:
    DetailFlags(const GreyImage& image, Pixel centre, int reach, double threshold)
        : image_(image), left_(centre.column - reach), top_(centre.row - reach),
          side_(2 * reach + 1), threshold_(threshold),
          flags_(static_cast<std::size_t>(side_) * static_cast<std::size_t>(side_), kUnknown)
    {
    }

    // Outside the photograph, or on its outer pixels, counts as detail: nothing there can be
    // shown featureless.
    bool detail(int column, int row)
    {
        if (column < 1 || row < 1 || column + 1 >= image_.width || row + 1 >= image_.height)
            return true;
        std::int8_t& flag = flags_[static_cast<std::size_t>(row - top_) * static_cast<std::size_t>(side_) +
                                   static_cast<std::size_t>(column - left_)];
        if (flag == kUnknown)
            flag = static_cast<double>(sobelEnergy64(column, row)) > 64.0 * threshold_ ? 1 : 0;
        return flag == 1;
    }

private:
    static constexpr std::int8_t kUnknown = -1;

    // Eight times the Sobel gradient, squared: whole numbers, compared with 64 times the
    // threshold.
    long sobelEnergy64(int column, int row) const
    {
        const auto g = [&](int k, int j) { return static_cast<long>(image_.at(column + k, row + j)); };
        const long gx = g(1, -1) + 2 * g(1, 0) + g(1, 1) - g(-1, -1) - 2 * g(-1, 0) - g(-1, 1);
        const long gy = g(-1, 1) + 2 * g(0, 1) + g(1, 1) - g(-1, -1) - 2 * g(0, -1) - g(1, -1);
        return gx * gx + gy * gy;
    }

    const GreyImage& image_;
    int left_;
    int top_;
    int side_;
    double threshold_;
    std::vector<std::int8_t> flags_;
};

// The offsets of a disc of `radius` pixels, nearest first: a scan for detail stops at the
// nearest, which tells how far around the disc's centre no other centre can be plain.
const std::vector<Pixel>& discOffsets(int radius)
{
    thread_local std::vector<Pixel> offsets;
    thread_local int made = -1;
    if (made != radius) {
        offsets.clear();
        for (int j = -radius; j <= radius; ++j)
            for (int k = -radius; k <= radius; ++k)
                if (k * k + j * j <= radius * radius)
                    offsets.push_back({k, j});
        std::stable_sort(offsets.begin(), offsets.end(), [](Pixel a, Pixel b) {
            return a.column * a.column + a.row * a.row < b.column * b.column + b.row * b.row;
        });
        made = radius;
    }
    return offsets;
}

// The centre nearest the node, within `reach`, of a featureless disc of `radius` pixels.
// Such a centre lies in a featureless tile of a grid whose tiles fit in the disc wherever its
// centre falls in them; in a speckle a tile's first pixels show detail, so that the centres
// are tried only where the tiles are plain.
std::optional<Pixel> nearestPlainCentre(DetailFlags& flags, Pixel node, int radius, int reach)
{
    const int tile = static_cast<int>(radius / std::sqrt(2.0));
    const long reachSquared = long(reach) * reach;
    std::vector<Pixel> centres;
    for (int top = node.row - reach; top <= node.row + reach; top += tile)
        for (int left = node.column - reach; left <= node.column + reach; left += tile) {
            bool plain = true;
            for (int r = top; plain && r < top + tile; ++r)
                for (int c = left; plain && c < left + tile; ++c)
                    plain = !flags.detail(c, r);
            for (int r = top; plain && r < top + tile; ++r)
                for (int c = left; c < left + tile; ++c)
                    if (long(c - node.column) * (c - node.column) + long(r - node.row) * (r - node.row) <=
                        reachSquared)
                        centres.push_back({c, r});
        }
    // Detail at distance d from a tried centre rules out every centre within radius - d of it.
    struct RuledOut {
        Pixel centre;
        int within = 0;
    };
    const std::vector<Pixel>& disc = discOffsets(radius);
    const auto firstPlain = [&]() -> std::optional<Pixel> {
        std::vector<RuledOut> ruledOut;
        for (const Pixel c : centres) {
            const bool excluded = std::any_of(ruledOut.begin(), ruledOut.end(), [&](const RuledOut& o) {
                const int dx = c.column - o.centre.column;
                const int dy = c.row - o.centre.row;
                return dx * dx + dy * dy <= o.within * o.within;
            });
            if (excluded)
                continue;
            const auto detail = std::find_if(disc.begin(), disc.end(), [&](Pixel o) {
                return flags.detail(c.column + o.column, c.row + o.row);
            });
            if (detail == disc.end())
                return c;
            ruledOut.push_back({c, static_cast<int>(radius - std::hypot(detail->column, detail->row))});
        }
        return std::nullopt;
    };
    // Most nodes near plain tiles have no plain centre at all: the order matters only once
    // one is known to exist.
    if (!firstPlain())
        return std::nullopt;
    const auto fromNode = [&](Pixel p) {
        return long(p.column - node.column) * (p.column - node.column) +
               long(p.row - node.row) * (p.row - node.row);
    };
    std::sort(centres.begin(), centres.end(),
              [&](Pixel a, Pixel b) { return fromNode(a) < fromNode(b); });
    return firstPlain();
}

double bilinear(const GreyImage& image, double x, double y)
{
    const int c = std::clamp(static_cast<int>(std::floor(x)), 0, image.width - 2);
    const int r = std::clamp(static_cast<int>(std::floor(y)), 0, image.height - 2);
    const double fx = std::clamp(x - c, 0.0, 1.0);
    const double fy = std::clamp(y - r, 0.0, 1.0);
    return (1 - fy) * ((1 - fx) * image.at(c, r) + fx * image.at(c + 1, r)) +
           fy * ((1 - fx) * image.at(c, r + 1) + fx * image.at(c + 1, r + 1));
}

// How far beyond the point (x, y) the edge lies, going from the centre of a featureless
// disc through the point (infinite if none shows within reach): where the grey level has
// come half way from the plain level to the level a pixel further on, a blurred step's
// middle. Taken along five parallel lines 1.5 pixels apart, the second nearest: a speckle
// dot as dark as the plain region just beyond the edge pushes a line's edge outwards, and
// the lines beside a convex corner meet the edge late.
double edgeBeyond(const GreyImage& free, Pixel centre, double x, double y, double noiseVariance)
{
    const double dx = x - centre.column;
    const double dy = y - centre.row;
    const double length = std::hypot(dx, dy);
    const double ux = dx / length;
    const double uy = dy / length;
    // The plain level, averaged over the disc's middle against the noise.
    double plain = 0.0;
    for (int j = -2; j <= 2; ++j)
        for (int k = -2; k <= 2; ++k)
            plain += free.at(centre.column + k, centre.row + j) / 25.0;
    // Both levels well clear of the noise, so that the noise cannot place the edge early.
    const double significant = 3.0 * std::sqrt(noiseVariance);
    constexpr double kStep = 0.05;
    std::array<double, 5> beyond{};
    for (std::size_t line = 0; line < beyond.size(); ++line) {
        const double shift = 1.5 * (static_cast<double>(line) - 2.0);
        const double startX = centre.column - uy * shift;
        const double startY = centre.row + ux * shift;
        const auto away = [&](double t) {
            return std::fabs(bilinear(free, startX + ux * t, startY + uy * t) - plain);
        };
        beyond[line] = HUGE_VAL;
        for (double t = length - kEdgeReach; t <= length + kEdgeReach; t += kStep) {
            const double further = away(t + 1.0);
            const double here = away(t);
            if (further > 2.0 * significant && here > significant && here >= further / 2.0) {
                beyond[line] = t - length;
                break;
            }
        }
    }
    std::nth_element(beyond.begin(), beyond.begin() + 1, beyond.end());
    return beyond[1];
}

} // namespace

bool onMaterial(const GreyImage& free, double x, double y, int subsetSide, double noiseVariance)
{
    const double noise = std::max(noiseVariance, kLeastNoiseVariance);
    const Pixel node{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
    if (!detailUnder(free, node, subsetSide, noise))
        return false;
    const int radius = std::max(kLeastPlainRadius, subsetSide / 2);
    const int reach = radius + kEdgeReach;
    DetailFlags flags(free, node, reach + radius, kDetailContrast * noise);
    const std::optional<Pixel> centre = nearestPlainCentre(flags, node, radius, reach);
    if (!centre)
        return true;
    if (std::hypot(x - centre->column, y - centre->row) <= radius)
        return false;
    const double beyond = edgeBeyond(free, *centre, x, y, noise);
    return beyond <= kEdgeTolerance;
}

} // namespace ai
