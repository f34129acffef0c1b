#include "plate_example/plate_photographs.h"

#include "plate_example/plate_geometry.h"
#include "plate_example/speckle.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace ai::example {

namespace {

constexpr int kSamples = 3;      // per pixel and axis over the speckle
constexpr int kEdgeSamples = 15; // per pixel and axis where an edge may cross
constexpr double kBackground = 0.22;
constexpr double kPlateLight = 0.9;
constexpr double kSpeckleDark = 0.1;

bool inHole(Vector2 p)
{
    return std::hypot(p.x - kHoleCentre.x, p.y - kHoleCentre.y) < kHoleRadius;
}

// Brightness of the material point p of the free plate (twips), or of the background.
double brightnessAt(std::optional<Vector2> p)
{
    if (!p || p->x < kPlateLeft || p->x > kPlateRight || p->y < kPlateTop || p->y > kPlateBottom ||
        inHole(*p))
        return kBackground;
    const double speckle = speckleBrightness(p->x / kTwipsPerPixel, p->y / kTwipsPerPixel);
    return kSpeckleDark + (kPlateLight - kSpeckleDark) * speckle;
}

// True when an edge of the plate or the hole may cross the pixel centred at `centre`, the
// material point seen there being `material` (nothing in the hole).
bool nearAnEdge(Vector2 centre, std::optional<Vector2> material)
{
    constexpr double kReach = 1.5 * kTwipsPerPixel;
    const Vector2 p = material.value_or(centre);
    const double fromHole = std::fabs(std::hypot(p.x - kHoleCentre.x, p.y - kHoleCentre.y) - kHoleRadius);
    const double fromSides = std::min({std::fabs(p.x - kPlateLeft), std::fabs(p.x - kPlateRight),
                                       std::fabs(p.y - kPlateTop), std::fabs(p.y - kPlateBottom)});
    return std::min(fromHole, fromSides) < kReach;
}

// The mean brightness over the pixel (column, row), from samples x samples points.
template <typename MaterialPoint>
double pixelBrightness(MaterialPoint materialPoint, int column, int row, int samples)
{
    double sum = 0.0;
    for (int i = 0; i < samples; ++i) {
        for (int j = 0; j < samples; ++j) {
            // Pixel i is centred at the view unit 15 i, as the views draw it.
            const Vector2 at{(column - 0.5 + (i + 0.5) / samples) * kTwipsPerPixel,
                             (row - 0.5 + (j + 0.5) / samples) * kTwipsPerPixel};
            sum += brightnessAt(materialPoint(at));
        }
    }
    return sum / (samples * samples);
}

template <typename MaterialPoint> QImage render(MaterialPoint materialPoint)
{
    QImage image(kImageWidth, kImageHeight, QImage::Format_Grayscale8);
    for (int row = 0; row < kImageHeight; ++row) {
        uchar* line = image.scanLine(row);
        for (int column = 0; column < kImageWidth; ++column) {
            // The plate's edges are sharp: sampled finely, they sit where the plate is
            // rather than on a grid of thirds of a pixel.
            const Vector2 centre{column * kTwipsPerPixel, row * kTwipsPerPixel};
            const int samples =
                nearAnEdge(centre, materialPoint(centre)) ? kEdgeSamples : kSamples;
            line[column] = static_cast<uchar>(
                std::lround(255.0 * pixelBrightness(materialPoint, column, row, samples)));
        }
    }
    return image;
}

} // namespace

QImage freePhotograph()
{
    return render([](Vector2 at) { return std::optional<Vector2>(at); });
}

QImage loadedPhotograph(double share)
{
    return render([share](Vector2 at) { return kirschMaterialPoint(kLoad, kHoleCentre, at, share, 1e-9); });
}

} // namespace ai::example
