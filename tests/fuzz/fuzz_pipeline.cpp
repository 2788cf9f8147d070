// One game from any configuration line and any sequence of player actions: the
// line is laid out and generated, then typed answers, keys, clicks, the clock
// and the big button are driven by the input bytes. Every judgement is checked
// against a value worked out here, from the rules of forms 4, 6 and 7, rather
// than taken from the game.
//
// Input: the configuration bytes up to the first line feed; then eight bytes of
// random seed; then one action per opcode byte, each taking its operands from
// the bytes that follow.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "fuzz_check.h"
#include "game/game_session.h"
#include "setup/operation_types.h"

using namespace cifrano;

namespace {

struct Cues final : SoundCues {
    void Play(SoundCue cue) override { ++count[static_cast<int>(cue)]; }
    int count[8] = {};
};

FUZZ_UNCOVERED std::optional<double> Apply(double x, const std::string& op, double y) {
    if (op == "+") return x + y;
    if (op == "-") return x - y;
    if (op == "x" || op == "X") return x * y;
    if (op == ":") return x / y;
    return std::nullopt;
}

// The right answer of a problem row, or nothing when it must never be judged.
FUZZ_UNCOVERED std::optional<double> Oracle(int form, const SheetRow& row) {
    const auto n = [&](int k) { return NumericValue(row.Cells[k].Caption); };
    const std::string &op1 = row.Cells[1].Caption, &op2 = row.Cells[3].Caption;
    const auto binds = [](const std::string& op) { return op == ":" || op == "x" || op == "X"; };
    std::optional<double> v;
    if (form == 4) v = Apply(n(0), op1, n(2));
    if (form == 7 && op1 == "(" && (v = Apply(n(2), op2, n(4)))) *v *= n(0);
    if (form == 6 && Apply(0, op1, 1) && Apply(0, op2, 1))
        v = binds(op2) && !binds(op1) ? Apply(n(0), op1, *Apply(n(2), op2, n(4)))
                                      : Apply(*Apply(n(0), op1, n(2)), op2, n(4));
    return v && std::isfinite(*v) ? v : std::nullopt;
}

std::string Exact(double v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

}  // namespace

// The driver itself is not the code under test: the fuzzer steers by the game's coverage.
extern "C" FUZZ_UNCOVERED int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = all.find('\n');
    const std::string_view ops =
        cut == std::string_view::npos ? std::string_view() : all.substr(cut + 1);
    std::size_t pos = 0;
    const auto next = [&]() -> int {
        return pos < ops.size() ? static_cast<std::uint8_t>(ops[pos++]) : 0;
    };
    // As the exercise selection would: decode, take the first item, split it.
    const auto lines = SplitConfigurationLines(DecodeConfigurationBytes(all.substr(0, cut)));
    const std::string line = lines.empty() ? std::string() : lines.front();
    GameSettings settings;
    settings.OperationFields = SplitOperationType(line);
    std::uint64_t seed = 0;
    for (int i = 0; i < 8; ++i) seed = (seed << 8) | next();
    settings.GameMinutes = static_cast<int>(seed % 6) + 1;  // every game length
    SeededRandom random(seed);
    // The form: the cells in use from cell 4 on, up to the first empty one.
    int form = 0;
    for (int k = 3; k < 7 && !settings.OperationFields[k].empty(); ++k) form = k + 1;

    Cues cues;
    std::optional<GameSession> game;
    std::vector<char> last;  // per row, the last judgement: 'A', 'E' or none
    int ticks = 0;           // of the clock, while the game runs
    const auto load = [&] {
        game.emplace(settings, line, cues);
        FUZZ_CHECK(game->ProblemShape == form);
        cues = Cues{};
        FUZZ_CHECK(game->ProblemCount == 100 * settings.GameMinutes);
        last.assign(static_cast<std::size_t>(game->ProblemCount) + 1, 0);
        ticks = 0;
    };
    // One game per input: building up to 600 rows is most of a run's cost, and
    // a second game on the same screen runs the same code again.
    bool started = false;
    load();
    while (pos < ops.size()) {
        GameSession& s = *game;
        const int row = s.CurrentRow, hits = s.HitCount, errors = s.ErrorCount;
        const auto rowOperand = [&] { return next() % (s.ProblemCount + 4) - 1; };
        // The right answer of the row active before the action (no action changes a problem).
        const auto expectedOf = [&] {
            return s.Sheet.IsProblemRow(row) ? Oracle(form, s.Sheet.Rows[row]) : std::nullopt;
        };
        std::optional<double> expected;
        const int action = next() % 7;
        if (action == 0) {  // the player types anything into a box
            const int box = rowOperand();
            std::string text(next() % 32, ' ');
            for (char& c : text) c = static_cast<char>(next());
            s.SetAnswerText(box, text);
        } else if (action == 1 && s.State() == GameState::Playing && (expected = expectedOf())) {
            // A right or a wrong answer into the active row, confirmed with Enter.
            const bool right = next() & 1;
            const bool green = s.Sheet.Rows[row].AnswerColour == colours::kAnswerHit;
            s.SetAnswerText(row, Exact(right ? *expected : *expected == 0 ? 1 : -*expected));
            s.Text1_KeyDown(row, kKeyEnter);
            FUZZ_CHECK(s.HitCount == hits + (right && !green) && s.ErrorCount == errors + !right);
        } else if (action == 2) {
            const int box = rowOperand();
            s.Text1_KeyDown(box, std::array{kKeyEnter, kKeyDown, kKeyUp, int('5')}[next() % 4]);
        } else if (action == 3) {
            s.Text1_Click(rowOperand());
        } else if (action == 4) {  // the clocks run on; enough ticks end the game
            for (int tick = next(); tick > 0; --tick) {
                s.Timer2_Timer();
                ticks += s.State() == GameState::Playing;
                if (const auto end = s.Timer1_Timer())
                    FUZZ_CHECK(ticks == 60 * settings.GameMinutes + 1 && end->Hits == s.HitCount &&
                               end->Errors == s.ErrorCount &&
                               end->Rate == double(s.HitCount) / settings.GameMinutes &&
                               end->Minutes == settings.GameMinutes && end->OperationText == line &&
                               s.State() == GameState::Finished && !s.Sheet.Enabled);
            }
        } else if (action == 5 && s.State() == GameState::Ready && std::exchange(started, true)) {
            break;  // a second game
        } else if (action == 5 && s.Command1_Click(random) == ButtonOutcome::LeaveScreen) {
            load();  // the screen is left after the game and loaded again
            continue;
        } else if (action == 6) {  // the screen goes away mid-game and is loaded again
            s.Stop();
            FUZZ_CHECK(!s.Timer1_Timer());
            load();
            continue;
        }
        // At most one judgement, of the row active before, and only as the values say.
        const int judged = s.HitCount - hits + s.ErrorCount - errors;
        FUZZ_CHECK(s.HitCount >= hits && s.ErrorCount >= errors && judged <= 1);
        if (judged) {
            if (!expected) expected = expectedOf();
            FUZZ_CHECK(expected && (NumericValue(s.Sheet.Rows[row].AnswerText) == *expected) ==
                                       (s.HitCount > hits));
            last[row] = s.HitCount > hits ? 'A' : 'E';
        }
        FUZZ_CHECK(cues.count[int(SoundCue::Acierto)] == s.HitCount &&
                   cues.count[int(SoundCue::Error)] == s.ErrorCount);
        FUZZ_CHECK(s.Sheet.LastRow() == (s.State() == GameState::Ready ? 0 : s.ProblemCount));
        FUZZ_CHECK(s.CurrentRow >= 0 && s.CurrentRow <= s.ProblemCount);
    }
    // Every box shows the colour of its last judgement.
    for (int r = 1; r <= game->Sheet.LastRow(); ++r)
        FUZZ_CHECK(game->Sheet.Rows[r].AnswerColour == (last[r] == 'A' ? colours::kAnswerHit
                                                        : last[r] == 'E'
                                                            ? colours::kAnswerError
                                                            : colours::kAnswerInitial));
    return 0;
}
