// One game from any configuration line and any sequence of player actions:
// the line is laid out and generated, then typed answers, keys, clicks, the
// arrow buttons and the clock are driven by the input bytes.
//
// Input: the configuration bytes up to the first line feed; then eight bytes of
// random seed; then one action per opcode byte, each taking its operands from
// the bytes that follow.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/game_settings.h"
#include "app/sound_cues.h"
#include "common/numbers.h"
#include "fuzz_check.h"
#include "game/answer_check.h"
#include "game/answer_entry.h"
#include "game/game_session.h"
#include "game/problem_generator.h"
#include "game/template_row.h"
#include "results/game_clock.h"
#include "results/match.h"
#include "setup/operation_types.h"

using namespace cifrano;

namespace {

// Keeps the input short of rows so that each run is quick: one minute, 100 problems.
constexpr short kMinutes = 1;
constexpr int kProblems = 100;

class Bytes {
public:
    explicit Bytes(std::string_view data) : data_(data) {}
    bool Empty() const { return pos_ >= data_.size(); }
    std::uint8_t Next() { return Empty() ? 0 : static_cast<std::uint8_t>(data_[pos_++]); }
    std::string_view Take(std::size_t n) {
        const std::string_view part = data_.substr(pos_, n);
        pos_ += part.size();
        return part;
    }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

class CountingSounds final : public SoundCues {
public:
    void Play(SoundCue cue) override {
        hits += cue == SoundCue::Acierto;
        errors += cue == SoundCue::Error;
    }
    int hits = 0;
    int errors = 0;
};

class Results final : public ResultsScreenPort {
public:
    explicit Results(GameSettings& settings) : settings_(settings) {}
    ResultsBoard& RestoreAndShow() override {
        if (!loaded_) board_.Load(settings_, ResultsPlayers{"uno.bmp", "", "uno", "Jugador 2"});
        loaded_ = true;
        return board_;
    }

private:
    GameSettings& settings_;
    ResultsBoard board_;
    bool loaded_ = false;
};

// Letters of a number code in field `index`, written out from the rules of
// the operation types rather than taken from the generator.
int CodeLetters(const std::string& field, int index) {
    const auto repeated = [&](char letter) {
        if (field.empty() || field.size() > 4) return 0;
        for (char c : field)
            if (c != letter) return 0;
        return static_cast<int>(field.size());
    };
    if (index <= 1) return repeated('A');
    if (index <= 3) return repeated('B');
    if (index <= 5) return field == "C" ? 1 : field == "BBBB" ? 4 : 0;
    return 0;
}

long long TopOfRange(int letters) {
    long long top = 1;
    for (int i = 0; i < letters; ++i) top *= 10;
    return top - 1;
}

// Plain decimal digits, no sign and no leading zero, within [low, high].
bool IsNumberIn(const std::string& caption, long long low, long long high) {
    if (caption.empty() || caption.size() > 18 || caption[0] == '0') return false;
    long long value = 0;
    for (char c : caption) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high;
}

long long ValueOf(const std::string& plainDigits) { return std::stoll(plainDigits); }

bool IsDrawnOperator(const std::string& caption) {
    return caption == "+" || caption == "-" || caption == "x";
}

// A code cell, a "*" cell or a literal cell, as the generator must leave it
// when no adjustment touched it.
void CheckDrawnCell(const TokenCell& cell, const std::string& field, int index,
                    const std::string& designed) {
    if (const int letters = CodeLetters(field, index); letters > 0) {
        FUZZ_CHECK(IsNumberIn(cell.Caption, 2, TopOfRange(letters)));
    } else if (field == "*" && index >= 1 && index <= 5) {
        FUZZ_CHECK(IsDrawnOperator(cell.Caption));
    } else if (!field.empty()) {
        FUZZ_CHECK(cell.Caption == field);
    } else {
        FUZZ_CHECK(cell.Caption == designed);
    }
}

std::optional<long long> Plain(const std::string& caption) {
    if (caption.empty() || caption.size() > 15) return std::nullopt;
    for (char c : caption)
        if (c < '0' || c > '9') return std::nullopt;
    return std::stoll(caption);
}

// Integer arithmetic for rows of whole numbers and the signs +, - and x, kept
// apart from the program's own evaluation so that each checks the other.
std::optional<long long> Apply(const std::string& op, long long x, long long y) {
    if (op == "+") return x + y;
    if (op == "-") return x - y;
    if (op == "x" || op == "X") return x * y;
    return std::nullopt;
}

std::optional<long long> WholeExpected(int shape, const SheetRow& row) {
    const auto& c = row.Cells;
    const auto a = Plain(c[0].Caption), b = Plain(c[2].Caption), third = Plain(c[4].Caption);
    if (!a || !b) return std::nullopt;
    if (shape == 4) return Apply(c[1].Caption, *a, *b);
    if (!third) return std::nullopt;
    if (shape == 6) {
        const bool secondBinds = c[3].Caption == "x" || c[3].Caption == "X";
        const bool firstBinds = c[1].Caption == "x" || c[1].Caption == "X";
        if (secondBinds && !firstBinds) {
            const auto product = Apply(c[3].Caption, *b, *third);
            return product ? Apply(c[1].Caption, *a, *product) : std::nullopt;
        }
        const auto left = Apply(c[1].Caption, *a, *b);
        return left ? Apply(c[3].Caption, *left, *third) : std::nullopt;
    }
    if (shape == 7 && c[1].Caption == "(") {
        const auto inner = Apply(c[3].Caption, *b, *third);
        if (inner) return *a * *inner;
    }
    return std::nullopt;
}

void CheckSheet(const GameSession& s) {
    const OperationFields& f = s.Fields;
    FUZZ_CHECK(s.ProblemCount == kProblems);
    FUZZ_CHECK(static_cast<int>(s.Sheet.Rows.size()) == s.ProblemCount + 1);
    FUZZ_CHECK(!s.Sheet.Rows[0].AnswerShown && !s.Sheet.Rows[0].NumberShown);
    FUZZ_CHECK(s.ProblemShape == 0 || (s.ProblemShape >= 4 && s.ProblemShape <= 7));

    for (int r = 1; r <= s.ProblemCount; ++r) {
        const SheetRow& row = s.Sheet.Rows[r];
        const auto& c = row.Cells;
        FUZZ_CHECK(row.NumberCaption == NumberText(r) + "-");
        FUZZ_CHECK(row.Top == sheet_geometry::RowTop(r));
        FUZZ_CHECK(row.NumberShown && row.AnswerShown);
        for (int k = 0; k < 4; ++k) FUZZ_CHECK(c[k].Shown);

        const std::string& op = c[1].Caption;
        CheckDrawnCell(c[1], f[1], 1, "x");
        FUZZ_CHECK(op != ":" || f[1] == ":");  // "*" never draws a division

        const int firstLetters = CodeLetters(f[0], 0);
        const int thirdLetters = CodeLetters(f[2], 2);
        if (op == ":") {
            // Cell 1 is remade as cell 3 times 2..9.
            if (thirdLetters > 0) {
                FUZZ_CHECK(IsNumberIn(c[2].Caption, 2, TopOfRange(thirdLetters)));
                const long long b = ValueOf(c[2].Caption);
                FUZZ_CHECK(IsNumberIn(c[0].Caption, 2 * b, 9 * b));
                FUZZ_CHECK(ValueOf(c[0].Caption) % b == 0);
            }
        } else {
            CheckDrawnCell(c[0], f[0], 0, "222");
        }
        if (op == "-") {
            // Cell 3 is remade below cell 1, so the difference is at least 1.
            if (firstLetters > 0) {
                const long long a = ValueOf(c[0].Caption);
                const long long top = (f[2] == "B" && a >= 10) ? 9 : a - 1;
                FUZZ_CHECK(IsNumberIn(c[2].Caption, 1, top));
            }
        } else if (op != ":") {
            CheckDrawnCell(c[2], f[2], 2, "222");
        } else if (thirdLetters == 0) {
            CheckDrawnCell(c[2], f[2], 2, "222");
        }
        CheckDrawnCell(c[3], f[3], 3, "=");
        for (int k = 4; k <= 5; ++k) {
            FUZZ_CHECK(c[k].Shown == !f[k].empty());
            if (c[k].Shown) CheckDrawnCell(c[k], f[k], k, "");
        }
        FUZZ_CHECK(c[6].Shown == !f[6].empty());
        if (c[6].Shown) FUZZ_CHECK(c[6].Caption == f[6]);

        if (const auto whole = WholeExpected(s.ProblemShape, row)) {
            const auto e = ExpectedValue(s.ProblemShape, c[0].Caption, c[1].Caption, c[2].Caption,
                                         c[3].Caption, c[4].Caption);
            FUZZ_CHECK(e && *e == static_cast<double>(*whole));
        }
    }
}

// What must hold after every action, whatever it was.
struct Watch {
    int hits = 0;
    int errors = 0;
    bool over = false;

    void After(const GameSession& s, const CountingSounds& sounds) {
        FUZZ_CHECK(s.HitCount >= hits && s.ErrorCount >= errors);
        // One action judges at most one row once.
        FUZZ_CHECK((s.HitCount - hits) + (s.ErrorCount - errors) <= 1);
        if (over) FUZZ_CHECK(s.HitCount == hits && s.ErrorCount == errors);
        hits = s.HitCount;
        errors = s.ErrorCount;
        over = s.GameOver;

        FUZZ_CHECK(s.HitCaption == (s.HitCount == 0 ? "" : NumberText(s.HitCount)));
        FUZZ_CHECK(s.ErrorCaption == (s.ErrorCount == 0 ? "" : NumberText(s.ErrorCount)));
        FUZZ_CHECK(sounds.hits == s.HitCount && sounds.errors == s.ErrorCount);
        FUZZ_CHECK(NumericValue(s.HitCaption) == s.HitCount);

        FUZZ_CHECK(static_cast<int>(s.Sheet.Rows.size()) ==
                   (s.State == GameState::Ready ? 1 : s.ProblemCount + 1));
        FUZZ_CHECK(s.CurrentRow >= 0 && s.CurrentRow <= s.ProblemCount);
        FUZZ_CHECK(s.PreviousRow >= 0 && s.PreviousRow <= s.ProblemCount);
        FUZZ_CHECK(s.Sheet.Top % sheet_geometry::kRowPitch == 0);
        FUZZ_CHECK(s.GameOver == (s.State == GameState::Finished));
        if (s.GameOver) FUZZ_CHECK(!s.Sheet.Enabled && !s.Timer1Enabled && !s.Timer2Enabled);

        // A box is green or red only through a hit or an error that was counted.
        int green = 0, red = 0;
        for (const SheetRow& row : s.Sheet.Rows) {
            green += row.AnswerColour == colours::kAnswerHit;
            red += row.AnswerColour == colours::kAnswerError;
        }
        FUZZ_CHECK(green <= s.HitCount && red <= s.ErrorCount);
    }
};

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

// Answers the program has to take in its stride.
std::string OddAnswer(std::uint8_t pick, const GameSession& s) {
    const auto e = Expected(s, s.CurrentRow);
    const std::string right = e ? NumberText(*e) : "0";
    switch (pick % 12) {
        case 0: return "?";
        case 1: return "";
        case 2: return "1e400";
        case 3: return "-0";
        case 4: return "&HFFFFFFFFFFFF";
        case 5: return "\xD9\xA3";  // ARABIC-INDIC DIGIT THREE
        case 6: return right + " y algo";
        case 7: return " " + right;
        case 8: return right + ".0";
        case 9: return std::string(2000, '9');
        case 10: return "-" + right;
        default: return right + "," + right;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = all.find('\n');
    const std::string_view configuration = all.substr(0, cut);
    Bytes in(cut == std::string_view::npos ? std::string_view() : all.substr(cut + 1));

    // As the exercise selection would: decode, take the first item, split it.
    const auto lines = SplitConfigurationLines(DecodeConfigurationBytes(configuration));
    const std::string line = lines.empty() ? std::string() : lines.front();

    GameSettings settings;
    settings.OperationFields = SplitOperationType(line);
    settings.GameMinutes = kMinutes;
    settings.GameNumber = 1;

    std::uint64_t seed = 0;
    for (int i = 0; i < 8; ++i) seed = (seed << 8) | in.Next();
    SeededRandom random(seed);
    CountingSounds sounds;
    Results results(settings);
    const EndOfGameLinks links{settings, sounds, results, "Jugador 2", '.'};

    GameSession s;
    s.FormLoad(settings, line);
    FUZZ_CHECK(s.Sheet.Rows.size() == 1);
    FUZZ_CHECK(s.ProblemShape == LayoutTemplateRow(settings.OperationFields).ProblemShape);
    s.StartGame(random, sounds);
    CheckSheet(s);

    Watch watch;
    watch.After(s, sounds);
    while (!in.Empty()) {
        switch (in.Next() % 10) {
            case 0: {  // the player types anything into a box
                const int row = RowOperand(in, s);
                const std::string_view text = in.Take(in.Next() % 32);
                SetAnswerText(s, row, std::string(text));
                break;
            }
            case 1: {  // the right answer, confirmed
                const int row = s.CurrentRow;
                const auto e = Expected(s, row);
                const bool wasGreen =
                    s.Sheet.IsRow(row) && s.Sheet.Rows[row].AnswerColour == colours::kAnswerHit;
                const int hitsBefore = s.HitCount;
                if (!e || !s.Sheet.Enabled) break;
                const std::string answer = NumberText(*e);
                SetAnswerText(s, row, answer);
                CheckAnswer(s, sounds);
                if (NumericValue(answer) == *e) {
                    FUZZ_CHECK(s.Sheet.Rows[row].AnswerColour == colours::kAnswerHit);
                    FUZZ_CHECK(s.HitCount == hitsBefore + (wasGreen ? 0 : 1));
                }
                break;
            }
            case 2: {
                const int index = RowOperand(in, s);
                static constexpr int kKeys[] = {kKeyEnter, kKeyDown, kKeyUp, '5', '?'};
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
            case 5:
                // Only the answer boxes and the end of the game call the check,
                // and a finished sheet takes no input.
                if (s.State == GameState::Playing) CheckAnswer(s, sounds);
                break;
            case 6: {  // the clocks run on; enough ticks end the game
                const int ticks = in.Next();
                for (int t = 0; t < ticks; ++t) {
                    Timer2_Timer(s);
                    if (Timer1_Timer(s, links)) {
                        FUZZ_CHECK(s.GameOver && s.ButtonCaption == kContinueCaption);
                    }
                }
                break;
            }
            case 7:
                if (s.Command1_Click(random, sounds) == ButtonOutcome::LeaveScreen) {
                    // Back at the exercise selection, then the same game again.
                    s.FormLoad(settings, line);
                    watch = Watch{};
                    sounds = CountingSounds{};
                    watch.After(s, sounds);
                    FUZZ_CHECK(s.Command1_Click(random, sounds) == ButtonOutcome::GameStarted);
                    CheckSheet(s);
                }
                break;
            case 8:
                SetAnswerText(s, s.CurrentRow, OddAnswer(in.Next(), s));
                break;
            default:
                HighlightRow(s, RowOperand(in, s));
                break;
        }
        watch.After(s, sounds);
    }
    CheckSheet(s);
    return 0;
}
