#include "results/match.h"

#include <cstddef>
#include <utility>

#include "common/geometry.h"
#include "common/numbers.h"
#include "setup/player_names.h"

namespace cifrano {

double HitsPerMinute(std::string_view hitsCaption, int gameMinutes) {
    if (gameMinutes <= 0) return 0.0;
    return NumericValue(hitsCaption) / static_cast<double>(gameMinutes);
}

std::string ResultsLine(int gameNumber, double rate, std::string_view operationText,
                        std::string_view errorsCaption, char decimalSeparator) {
    std::string line = NumberText(gameNumber);
    line += ")  ";
    line += NumberText(rate, decimalSeparator);
    line += " op/min";
    line += " -{";
    line += operationText;
    line += "}- Err ";
    // The errors caption is a whole count (empty before the first error), so
    // its number text never carries a decimal separator.
    line += NumberText(NumericValue(errorsCaption), decimalSeparator);
    return line;
}

bool IsSinglePlayer(std::string_view secondPlayerName) { return secondPlayerName == kNoPlayerTwo; }

std::string ResultsName(std::string_view fileName, std::string_view shownName) {
    if (!HasUserName(fileName)) return std::string(shownName);
    return UserName(fileName);
}

void ResultsBoard::Load(GameSettings& settings, const ResultsPlayers& players) {
    *this = ResultsBoard{};
    settings.SecondPlayerTurn = false;
    Names[kPlayerOne] = ResultsName(players.FirstFile, players.FirstName);
    SinglePlayer = IsSinglePlayer(players.SecondName);
    if (!SinglePlayer) Names[kPlayerTwo] = ResultsName(players.SecondFile, players.SecondName);
}

void ResultsBoard::WriteLine(int player, int gameNumber, std::string line) {
    std::vector<std::string>& list = Lists.at(static_cast<std::size_t>(player));
    const long long entry = static_cast<long long>(gameNumber) - 1;
    if (entry >= 0 && entry < static_cast<long long>(list.size())) {
        list[static_cast<std::size_t>(entry)] = std::move(line);
    } else {
        list.push_back(std::move(line));
    }
}

void ResultsBoard::AddPoint(int player) {
    std::string& caption = Points.at(static_cast<std::size_t>(player));
    caption = NumberText(NumericValue(caption) + 1.0);
}

void RecordGame(GameSettings& settings, ResultsBoard& board, std::string_view secondPlayerName,
                const GameOutcome& outcome, char decimalSeparator) {
    std::string line = ResultsLine(settings.GameNumber, outcome.Rate, outcome.OperationText,
                                   outcome.ErrorsCaption, decimalSeparator);
    if (IsSinglePlayer(secondPlayerName)) {
        board.WriteLine(kPlayerOne, settings.GameNumber, std::move(line));
        ++settings.GameNumber;
    } else if (!settings.SecondPlayerTurn) {
        settings.FirstPlayerRate = outcome.Rate;
        board.WriteLine(kPlayerOne, settings.GameNumber, std::move(line));
        settings.SecondPlayerTurn = true;
    } else {
        board.WriteLine(kPlayerTwo, settings.GameNumber, std::move(line));
        if (settings.FirstPlayerRate > outcome.Rate) {
            board.AddPoint(kPlayerOne);
        } else if (settings.FirstPlayerRate < outcome.Rate) {
            board.AddPoint(kPlayerTwo);
        } else {
            board.AddPoint(kPlayerOne);
            board.AddPoint(kPlayerTwo);
        }
        settings.SecondPlayerTurn = false;
        ++settings.GameNumber;
    }
}

ResultsLayout ArrangeSinglePlayer(double windowWidth, int nameWidth, int listWidth,
                                  int pictureWidth) {
    ResultsLayout layout;
    layout.NameLeft = CentredPosition(windowWidth, nameWidth);
    layout.ListLeft = CentredPosition(windowWidth, listWidth);
    layout.PictureLeft = CentredPosition(windowWidth, pictureWidth);
    layout.SecondColumnShown = false;
    layout.PointsShown = false;
    return layout;
}

}  // namespace cifrano
