#include "correlation/feature_seeding.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/core.hpp>
#include <opencv2/features2d.hpp>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ai {

namespace {

// Larger photographs are halved before their keypoints are sought: the seeds need only
// bring the refinement within its reach, and SIFT's cost grows with the area.
constexpr long long kMostPixels = 4'000'000;
// Matches whose descriptors are not clearly nearer than the second best are dropped
// (Lowe's ratio test).
constexpr float kRatio = 0.8f;
// The matches around a node that its motion is fitted to, and how many must agree.
constexpr std::size_t kLocalMatches = 40;
constexpr int kLeastInliers = 8;
constexpr double kInlierDistance = 2.0; // pixels of the reduced photograph

struct Reduced {
    cv::Mat image;
    double scale = 1.0; // full-size pixels per pixel of `image`
};

Reduced reduced(const GreyImage& grey)
{
    cv::Mat image(grey.height, grey.width, CV_8U);
    std::copy(grey.levels.begin(), grey.levels.end(), image.data);
    double scale = 1.0;
    while (static_cast<long long>(image.rows) * image.cols > kMostPixels) {
        cv::Mat half(image.rows / 2, image.cols / 2, CV_8U);
        for (int r = 0; r < half.rows; ++r)
            for (int c = 0; c < half.cols; ++c)
                half.at<std::uint8_t>(r, c) = static_cast<std::uint8_t>(
                    (image.at<std::uint8_t>(2 * r, 2 * c) + image.at<std::uint8_t>(2 * r, 2 * c + 1) +
                     image.at<std::uint8_t>(2 * r + 1, 2 * c) +
                     image.at<std::uint8_t>(2 * r + 1, 2 * c + 1) + 2) /
                    4);
        image = half;
        scale *= 2.0;
    }
    return {image, scale};
}

} // namespace

std::vector<std::optional<LocalMotion>> featureMotions(const GreyImage& free, const GreyImage& loaded,
                                                       const std::vector<double>& x,
                                                       const std::vector<double>& y)
{
    std::vector<std::optional<LocalMotion>> motions(x.size());
    if (x.empty() || free.empty() || loaded.empty())
        return motions;
    const Reduced a = reduced(free);
    const Reduced b = reduced(loaded);
    const cv::Ptr<cv::SIFT> sift = cv::SIFT::create();
    std::vector<cv::KeyPoint> keysA;
    std::vector<cv::KeyPoint> keysB;
    cv::Mat descriptorsA;
    cv::Mat descriptorsB;
    sift->detectAndCompute(a.image, cv::noArray(), keysA, descriptorsA);
    sift->detectAndCompute(b.image, cv::noArray(), keysB, descriptorsB);
    if (keysA.size() < 2 || keysB.size() < 2)
        return motions;
    std::vector<std::vector<cv::DMatch>> candidates;
    cv::FlannBasedMatcher().knnMatch(descriptorsA, descriptorsB, candidates, 2);
    std::vector<cv::Point2f> from;
    std::vector<cv::Point2f> to;
    for (const auto& pair : candidates)
        if (pair.size() == 2 && pair[0].distance < kRatio * pair[1].distance) {
            from.push_back(keysA[static_cast<std::size_t>(pair[0].queryIdx)].pt);
            to.push_back(keysB[static_cast<std::size_t>(pair[0].trainIdx)].pt);
        }
    if (from.size() < static_cast<std::size_t>(kLeastInliers))
        return motions;

    // The reduced photographs' pixel i covers full-size pixels scale i .. scale i + scale - 1.
    const auto full = [](double at, double scale) { return at * scale + (scale - 1.0) / 2.0; };
    cv::setRNGSeed(1); // RANSAC's draws: the same seeds every time
    std::vector<std::pair<double, std::size_t>> distances(from.size());
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double px = (x[n] - (a.scale - 1.0) / 2.0) / a.scale;
        const double py = (y[n] - (a.scale - 1.0) / 2.0) / a.scale;
        for (std::size_t m = 0; m < from.size(); ++m)
            distances[m] = {std::hypot(from[m].x - px, from[m].y - py), m};
        const std::size_t count = std::min(kLocalMatches, distances.size());
        std::partial_sort(distances.begin(), distances.begin() + static_cast<std::ptrdiff_t>(count),
                          distances.end());
        std::vector<cv::Point2f> localFrom;
        std::vector<cv::Point2f> localTo;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t m = distances[i].second;
            localFrom.emplace_back(static_cast<float>(full(from[m].x, a.scale)),
                                   static_cast<float>(full(from[m].y, a.scale)));
            localTo.emplace_back(static_cast<float>(full(to[m].x, b.scale)),
                                 static_cast<float>(full(to[m].y, b.scale)));
        }
        std::vector<std::uint8_t> inliers;
        const cv::Mat fitted = cv::estimateAffine2D(localFrom, localTo, inliers, cv::RANSAC,
                                                    kInlierDistance * b.scale);
        if (fitted.empty() ||
            std::count(inliers.begin(), inliers.end(), std::uint8_t{1}) < kLeastInliers)
            continue;
        motions[n] = LocalMotion{fitted.at<double>(0, 0), fitted.at<double>(0, 1),
                                 fitted.at<double>(0, 2), fitted.at<double>(1, 0),
                                 fitted.at<double>(1, 1), fitted.at<double>(1, 2)};
    }
    return motions;
}

} // namespace ai
