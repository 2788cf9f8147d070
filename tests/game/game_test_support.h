#pragma once
// Building blocks shared by the game tests.
#include <QStringList>
#include <string_view>
#include <vector>

#include "app/game_settings.h"
#include "fakes/recording_sound_cues.h"
#include "game/game_session.h"
#include "game/template_row.h"

namespace cifrano::testing {

// A configuration line split at every single space: two spaces give an empty field.
inline OperationFields FieldsOf(std::string_view line) {
    OperationFields fields{};
    const QStringList parts = QString::fromUtf8(line.data(), int(line.size())).split(' ');
    for (int k = 0; k < parts.size() && k < int(fields.size()); ++k)
        fields[k] = parts[k].toStdString();
    return fields;
}

// Settings of game 1 of the given operation type and length.
inline GameSettings Settings(std::string_view line, int minutes, bool secondPlayer = false) {
    return {FieldsOf(line), static_cast<short>(minutes), secondPlayer, 1};
}

// A session in play whose rows 1..n show the given cells (split as FieldsOf), boxes at "?".
// Its form is the one row 1 gives as a pattern.
inline GameSession SessionWithProblems(const std::vector<std::string_view>& rows) {
    GameSession session;
    session.ProblemCount = static_cast<int>(rows.size());
    session.State = GameState::Playing;
    for (std::string_view cells : rows) {
        SheetRow row;
        row.AnswerShown = true;
        const OperationFields fields = FieldsOf(cells);
        for (std::size_t c = 0; c < row.Cells.size(); ++c)
            if (!fields[c].empty()) row.Cells[c] = {fields[c], true};
        session.Sheet.Rows.push_back(row);
    }
    session.ProblemShape = LayoutTemplateRow(FieldsOf(rows.front())).ProblemShape;
    return session;
}

// The cues played, in order: A = ACIERTO, E = ERROR, - = any other.
inline QString Cues(const RecordingSoundCues& sounds) {
    QString cues;
    for (SoundCue c : sounds.played)
        cues += c == SoundCue::Acierto ? 'A' : c == SoundCue::Error ? 'E' : '-';
    return cues;
}

// An answer box's colour after the given cues for its row: the last judgement wins.
inline Rgb ColourAfter(const QString& cues) {
    return cues.endsWith('A')   ? colours::kAnswerHit
           : cues.endsWith('E') ? colours::kAnswerError
                                : colours::kAnswerInitial;
}

}  // namespace cifrano::testing
