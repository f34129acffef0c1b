#include "plate_example/plate_photographs.h"

#include "plate_example/plate_geometry.h"
#include "plate_example/speckle.h"

#include <cmath>
#include <optional>

namespace ai::example {

namespace {

constexpr int kSamples = 3; // per pixel and axis, so that the edges are smooth
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

// The material point that the deformation brought to `loaded`: the fixed point of
// free = loaded - u(free), a contraction since the strains are a few per cent. Nothing
// when it lies in the hole, where the field is not defined.
std::optional<Vector2> materialPointAt(Vector2 loaded)
{
    Vector2 free = loaded;
    for (int i = 0; i < 60; ++i) {
        if (std::hypot(free.x - kHoleCentre.x, free.y - kHoleCentre.y) < kHoleRadius / 2.0)
            return std::nullopt;
        const Vector2 moved = loadedPosition(free);
        const Vector2 next{free.x + loaded.x - moved.x, free.y + loaded.y - moved.y};
        const bool settled = std::hypot(next.x - free.x, next.y - free.y) < 1e-9;
        free = next;
        if (settled)
            break;
    }
    if (inHole(free))
        return std::nullopt;
    return free;
}

template <typename MaterialPoint> QImage render(MaterialPoint materialPoint)
{
    QImage image(kImageWidth, kImageHeight, QImage::Format_Grayscale8);
    for (int row = 0; row < kImageHeight; ++row) {
        uchar* line = image.scanLine(row);
        for (int column = 0; column < kImageWidth; ++column) {
            double sum = 0.0;
            for (int i = 0; i < kSamples; ++i) {
                for (int j = 0; j < kSamples; ++j) {
                    const Vector2 at{(column + (i + 0.5) / kSamples) * kTwipsPerPixel,
                                     (row + (j + 0.5) / kSamples) * kTwipsPerPixel};
                    sum += brightnessAt(materialPoint(at));
                }
            }
            line[column] = static_cast<uchar>(std::lround(255.0 * sum / (kSamples * kSamples)));
        }
    }
    return image;
}

} // namespace

QImage freePhotograph()
{
    return render([](Vector2 at) { return std::optional<Vector2>(at); });
}

QImage loadedPhotograph() { return render(materialPointAt); }

} // namespace ai::example
