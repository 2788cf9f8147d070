#pragma once
// Designed positions and sizes are twips (1/1440 inch); 15 twips make one
// pixel at 96 dots per inch.
namespace cifrano {

inline constexpr int kTwipsPerPixel = 15;

// Nearest whole pixel; Qt's high-DPI scaling does the rest.
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

// Nearest whole number, halves to the even neighbour.
long long RoundHalfEven(double value);

// Left (or top) that centres a window of the given size on a screen of the
// given size: the difference rounded half to even, then halved toward zero.
// A window larger than the screen gets a negative position.
long long CentredPosition(double screenSize, double windowSize);

struct PictureSize {
    int width = 0;
    int height = 0;
    bool IsEmpty() const { return width <= 0 || height <= 0; }
    friend constexpr bool operator==(const PictureSize&, const PictureSize&) = default;
};

// A picture shown at a screen's common height with its width in proportion
// (whole part). A picture without height, or no picture, stays empty. A
// picture that would be wider than `maxWidth` is shown at that width, with its
// height in proportion, so that no picture reaches past its screen.
PictureSize ScalePicture(PictureSize natural, int pictureHeight, int maxWidth = 1 << 30);

}  // namespace cifrano
