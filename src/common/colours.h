#pragma once
// Colours of the program, as red, green and blue.
namespace cifrano {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

namespace colours {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kOrange{255, 128, 0};
inline constexpr Rgb kSplashBackground{255, 224, 192};
inline constexpr Rgb kResultsBackground{255, 255, 128};
inline constexpr Rgb kAnswerInitial{255, 192, 255};
inline constexpr Rgb kAnswerHit{0, 255, 0};
inline constexpr Rgb kAnswerError{255, 0, 0};
inline constexpr Rgb kRowHighlight{0, 0, 255};
inline constexpr Rgb kRowNumber{0, 0, 64};
inline constexpr Rgb kDarkGreen{0, 128, 0};
inline constexpr Rgb kPlayerOne{0, 0, 128};
inline constexpr Rgb kPlayerTwo{64, 0, 64};
}  // namespace colours

}  // namespace cifrano
