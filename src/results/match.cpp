#include "results/match.h"

#include <cstddef>
#include <utility>

#include "common/geometry.h"
#include "common/numbers.h"

namespace cifrano {

std::string ResultsLine(int gameNumber, double rate, std::string_view operationText, int errors,
                        char decimalSeparator) {
    std::string line = NumberText(gameNumber);
    line += ")  ";
    line += NumberText(rate, decimalSeparator);
    line += " op/min";
    line += " -{";
    line += operationText;
    line += "}- Err ";
    line += NumberText(errors);
    return line;
}

std::string ResultsName(std::string_view fileName, std::string_view shownName) {
    if (!HasUserName(fileName)) return std::string(shownName);
    return UserName(fileName);
}

void ResultsBoard::Load(GameSettings& settings, const ChosenPlayers& players) {
    *this = ResultsBoard{};
    settings.SecondPlayerTurn = false;
    Names[kPlayerOne] = ResultsName(players.Files[0], players.Names[0]);
    SinglePlayer = IsSinglePlayer(players.Names[1]);
    if (!SinglePlayer) Names[kPlayerTwo] = ResultsName(players.Files[1], players.Names[1]);
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

void RecordGame(GameSettings& settings, ResultsBoard& board, const GameOutcome& outcome,
                char decimalSeparator) {
    std::string line = ResultsLine(settings.GameNumber, outcome.Rate, outcome.OperationText,
                                   outcome.Errors, decimalSeparator);
    if (board.SinglePlayer) {
        board.WriteLine(kPlayerOne, settings.GameNumber, std::move(line));
        ++settings.GameNumber;
    } else if (!settings.SecondPlayerTurn) {
        settings.FirstPlayerRate = outcome.Rate;
        board.WriteLine(kPlayerOne, settings.GameNumber, std::move(line));
        settings.SecondPlayerTurn = true;
    } else {
        board.WriteLine(kPlayerTwo, settings.GameNumber, std::move(line));
        if (settings.FirstPlayerRate >= outcome.Rate) ++board.Points[kPlayerOne];
        if (settings.FirstPlayerRate <= outcome.Rate) ++board.Points[kPlayerTwo];
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
