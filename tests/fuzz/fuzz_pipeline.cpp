// One game from any configuration line and any sequence of player actions:
// the line is laid out and generated, then typed answers, keys, clicks, the
// arrow buttons and the clock are driven by the input bytes.
//
// Input: the configuration bytes up to the first line feed; then eight bytes of
// random seed; then one action per opcode byte, each taking its operands from
// the bytes that follow.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/numbers.h"
#include "fuzz_check.h"
#include "game/answer_check.h"
#include "game/answer_entry.h"
#include "game/game_session.h"
#include "game/problem_generator.h"
#include "results/game_clock.h"
#include "setup/operation_types.h"

using namespace cifrano;

namespace {

struct Bytes {
    std::string_view data;
    std::size_t pos = 0;
    bool Empty() const { return pos >= data.size(); }
    std::uint8_t Next() { return Empty() ? 0 : static_cast<std::uint8_t>(data[pos++]); }
};

// Silent sounds, and a single player's results screen loaded before the game.
class Ports final : public SoundCues, public ResultsScreenPort {
  public:
    void Play(SoundCue) override {}
    ResultsBoard& RestoreAndShow() override { return board; }
    ResultsBoard board;
};

// Letters of a number code in field `index`, written out from the rules of
// the operation types rather than taken from the generator.
int CodeLetters(const std::string& field, int index) {
    if (index >= 4) return field == "C" ? 1 : field == "BBBB" ? 4 : 0;
    const char letter = index <= 1 ? 'A' : 'B';
    if (field.empty() || field.size() > 4) return 0;
    for (char c : field)
        if (c != letter) return 0;
    return static_cast<int>(field.size());
}

// Plain decimal digits, no sign and no leading zero, within [low, high].
bool IsNumberIn(const std::string& caption, long long low, long long high) {
    if (caption.empty() || caption.size() > 18 || caption[0] == '0' ||
        caption.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long long value = std::stoll(caption);
    return value >= low && value <= high;
}

// ProblemCount + 1 rows, and every number-code cell plain digits within its
// letters' range, except the cells a division or a subtraction remakes: the
// first for ":" (not checked), the third for "-" (1 up to the first less one).
void CheckSheet(const GameSession& s) {
    FUZZ_CHECK(static_cast<int>(s.Sheet.Rows.size()) == s.ProblemCount + 1);
    for (int r = 1; r <= s.ProblemCount; ++r) {
        const auto& c = s.Sheet.Rows[r].Cells;
        const std::string& op = c[1].Caption;
        for (int k = 0; k <= 5; ++k) {
            const int letters = CodeLetters(s.Fields[k], k);
            if (letters == 0 || (k == 0 && op == ":")) continue;
            if (k == 2 && op == "-") {
                if (CodeLetters(s.Fields[0], 0) > 0)
                    FUZZ_CHECK(IsNumberIn(c[2].Caption, 1, std::stoll(c[0].Caption) - 1));
                continue;
            }
            long long top = 1;
            for (int i = 0; i < letters; ++i) top *= 10;
            FUZZ_CHECK(IsNumberIn(c[k].Caption, 2, top - 1));
        }
    }
}

int RowOperand(Bytes& in, const GameSession& s) {
    const std::uint8_t b = in.Next();
    if (b == 0) return s.CurrentRow;
    if (b == 1) return s.FocusRow;
    return b % (s.ProblemCount + 4) - 1;  // -1 .. ProblemCount + 2
}

std::optional<double> Expected(const GameSession& s, int row) {
    if (!s.Sheet.IsProblemRow(row)) return std::nullopt;
    const auto& c = s.Sheet.Rows[row].Cells;
    return ExpectedValue(s.ProblemShape, c[0].Caption, c[1].Caption, c[2].Caption, c[3].Caption,
                         c[4].Caption);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = all.find('\n');
    Bytes in{cut == std::string_view::npos ? std::string_view() : all.substr(cut + 1)};

    // As the exercise selection would: decode, take the first item, split it.
    const auto lines = SplitConfigurationLines(DecodeConfigurationBytes(all.substr(0, cut)));
    const std::string line = lines.empty() ? std::string() : lines.front();
    GameSettings settings;
    settings.OperationFields = SplitOperationType(line);
    settings.GameMinutes = 1;  // 100 problems: each run stays quick
    settings.GameNumber = 1;

    std::uint64_t seed = 0;
    for (int i = 0; i < 8; ++i) seed = (seed << 8) | in.Next();
    SeededRandom random(seed);
    Ports sounds;
    sounds.board.Load(settings, {"uno.bmp", "", "uno", "Jugador 2"});
    const EndOfGameLinks links{settings, sounds, sounds, "Jugador 2", '.'};
    GameSession s;
    s.FormLoad(settings, line);
    s.StartGame(random, sounds);
    CheckSheet(s);

    // After every action: counters never go down, their captions are their
    // NumberText ("" for none), and the sheet has its rows.
    int hits = 0, errors = 0;
    const auto watch = [&] {
        FUZZ_CHECK(s.HitCount >= hits && s.ErrorCount >= errors);
        hits = s.HitCount;
        errors = s.ErrorCount;
        FUZZ_CHECK(s.HitCaption == (hits == 0 ? "" : NumberText(hits)));
        FUZZ_CHECK(s.ErrorCaption == (errors == 0 ? "" : NumberText(errors)));
        FUZZ_CHECK(static_cast<int>(s.Sheet.Rows.size()) ==
                   (s.State == GameState::Ready ? 1 : s.ProblemCount + 1));
    };
    watch();
    while (!in.Empty()) {
        switch (in.Next() % 10) {
            case 0: {  // the player types anything into a box
                const int row = RowOperand(in, s);
                std::string text;
                for (int n = in.Next() % 32; n > 0 && !in.Empty(); --n) text += char(in.Next());
                SetAnswerText(s, row, text);
                break;
            }
            case 1:  // the right answer, confirmed
                if (const auto e = Expected(s, s.CurrentRow); e && s.Sheet.Enabled) {
                    SetAnswerText(s, s.CurrentRow, NumberText(*e));
                    CheckAnswer(s, sounds);
                }
                break;
            case 2: {
                static constexpr int kKeys[] = {kKeyEnter, kKeyDown, kKeyUp, '5', '?'};
                const int index = RowOperand(in, s);
                const std::uint8_t k = in.Next();
                Text1_KeyDown(s, sounds, index, k < 250 ? kKeys[k % 5] : k);
                break;
            }
            case 3:
                Text1_Click(s, sounds, RowOperand(in, s));
                break;
            case 4:
                Command2_Click(s, sounds, static_cast<int>(in.Next() % 4) - 1);
                break;
            case 5:  // only the answer boxes call the check, and only while playing
                if (s.State == GameState::Playing) CheckAnswer(s, sounds);
                break;
            case 6:  // the clocks run on; enough ticks end the game
                for (int t = in.Next(); t > 0; --t) {
                    Timer2_Timer(s);
                    Timer1_Timer(s, links);
                }
                break;
            case 7:
                if (s.Command1_Click(random, sounds) == ButtonOutcome::LeaveScreen) {
                    // Back at the exercise selection, then the same game again.
                    s.FormLoad(settings, line);
                    hits = errors = 0;
                    watch();
                    FUZZ_CHECK(s.Command1_Click(random, sounds) == ButtonOutcome::GameStarted);
                    CheckSheet(s);
                }
                break;
            default:
                HighlightRow(s, RowOperand(in, s));
                break;
        }
        watch();
    }
    return 0;
}
