#include "common/geometry.h"

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

PictureSize ScalePicture(PictureSize natural, int pictureHeight) {
    if (natural.IsEmpty() || pictureHeight <= 0) return {};
    const double width = static_cast<double>(natural.width) * pictureHeight / natural.height;
    return {static_cast<int>(std::floor(width)), pictureHeight};
}

}  // namespace cifrano
