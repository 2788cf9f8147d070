#include "common/geometry.h"

#include <algorithm>
#include <cmath>

namespace cifrano {

int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

long long RoundHalfEven(double value) {
    return static_cast<long long>(std::nearbyint(value));  // default rounding mode: to even
}

long long CentredPosition(double screenSize, double windowSize) {
    return RoundHalfEven(screenSize - windowSize) / 2;  // integer division truncates toward zero
}

PictureSize ScalePicture(PictureSize natural, int pictureHeight, int maxWidth) {
    if (natural.IsEmpty() || pictureHeight <= 0 || maxWidth <= 0) return {};
    const double width = static_cast<double>(natural.width) * pictureHeight / natural.height;
    if (width <= maxWidth) return {static_cast<int>(std::floor(width)), pictureHeight};
    const double height = static_cast<double>(natural.height) * maxWidth / natural.width;
    return {maxWidth, std::max(1, static_cast<int>(std::floor(height)))};
}

}  // namespace cifrano
