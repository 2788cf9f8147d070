#include "history/history_recorder.h"

#include <utility>

namespace cifrano {

std::string HistoryNoticeText(const std::string& problem) {
    const std::string what =
        problem.empty() ? "No se ha podido guardar la partida en el historial." : problem;
    return what +
           " El juego sigue con normalidad; este aviso no se repetirá hasta la próxima vez"
           " que se abra el programa.";
}

HistoryRecorder::HistoryRecorder(GameHistory& history, Notice notice)
    : history_(history), notice_(std::move(notice)) {}

void HistoryRecorder::NoticeOnce(const std::string& problem) {
    if (noticed_) return;
    noticed_ = true;
    try {
        if (notice_) notice_(HistoryNoticeText(problem));
    } catch (...) {
        // A notice that cannot be shown must not end the game either.
    }
}

bool HistoryRecorder::Record(const FinishedGame& game) {
    bool recorded = false;
    std::string problem;
    try {
        recorded = history_.Record(game);
        if (!recorded) problem = history_.Problem();
    } catch (...) {
        problem.clear();  // the notice then says the game was not kept
    }
    if (!recorded) NoticeOnce(problem);
    return recorded;
}

std::vector<std::string> HistoryRecorder::Players() {
    try {
        return history_.Players();
    } catch (...) {
        return {};
    }
}

std::vector<std::string> HistoryRecorder::Operations(const std::string& player) {
    try {
        return history_.Operations(player);
    } catch (...) {
        return {};
    }
}

std::vector<FinishedGame> HistoryRecorder::Games(const std::string& player,
                                                 const std::string& operation) {
    try {
        return history_.Games(player, operation);
    } catch (...) {
        return {};
    }
}

std::string HistoryRecorder::Problem() const {
    try {
        return history_.Problem();
    } catch (...) {
        return {};
    }
}

}  // namespace cifrano
