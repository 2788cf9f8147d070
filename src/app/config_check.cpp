#include "app/config_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>
#include <iterator>
#include <optional>

#include "common/numbers.h"
#include "game/answer_check.h"
#include "game/problem_generator.h"
#include "game/problem_sheet.h"
#include "game/template_row.h"
#include "setup/operation_types.h"

namespace cifrano {

namespace {

// Control characters (C0, DEL and the C1 range) are shown escaped, so that
// nothing in a file can drive the terminal that shows the report.
std::string Printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (c < 0x20 || c == 0x7F || c1) {
            const unsigned code = c1 ? static_cast<unsigned char>(text[++i]) : c;
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[code >> 4];
            out += kHex[code & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string Quoted(std::string_view text) { return "«" + Printable(text) + "»"; }

std::string FieldName(int fieldIndex) { return "campo " + std::to_string(fieldIndex + 1); }

// Every field of the line, also those past the eleventh.
std::vector<std::string> AllFields(std::string_view line) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t space = line.find(' ');
        fields.emplace_back(line.substr(0, space));
        if (space == std::string_view::npos) break;
        line.remove_prefix(space + 1);
    }
    return fields;
}

// What a cell of the problem rows can show: a number, one of the drawn
// operators, or the template's caption (the field's text, or the designed
// caption when the field is empty).
struct CellContent {
    int CodeLetters = 0;                // > 0: a drawn number
    std::vector<std::string> Captions;  // otherwise the captions it can show
};

CellContent ContentOf(const OperationFields& fields, const TemplateLayout& layout, int index) {
    const std::string& field = fields[index];
    if (const int letters = NumberCodeLength(field, index); letters > 0) return {letters, {}};
    if (field == "*" && AcceptsRandomOperator(index)) return {0, {"+", "-", "x"}};
    return {0, {layout.Cells[index].Caption}};
}

// The check's own rule decides whether a sign is understood: a probe problem
// with harmless numbers has a value exactly when every sign in it is known.
bool Understood(int shape, int index, const std::string& caption) {
    switch (shape) {
        case 4:
            return ExpectedValue(4, "6", caption, "2", "", "").has_value();
        case 6:
            return index == 1 ? ExpectedValue(6, "6", caption, "2", "+", "3").has_value()
                              : ExpectedValue(6, "6", "+", "2", caption, "3").has_value();
        case 7:
            return index == 1 ? ExpectedValue(7, "6", caption, "4", "+", "2").has_value()
                              : ExpectedValue(7, "6", "(", "4", caption, "2").has_value();
        default:
            return false;
    }
}

bool LooksNumeric(std::string_view text) {
    return NumericValue(text) != 0.0 ||
           std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

struct ShapeCells {
    std::vector<int> Numbers;
    std::vector<int> Signs;
    int Bracket = -1;
    const char* Description = "";
};

std::optional<ShapeCells> CellsOfShape(int shape) {
    switch (shape) {
        case 4:
            return ShapeCells{{0, 2}, {1}, -1, "a op b = (dos números y un signo)"};
        case 6:
            return ShapeCells{{0, 2, 4},
                              {1, 3},
                              -1,
                              "a op1 b op2 c = (tres números y dos signos; x y : antes que + y -)"};
        case 7:
            return ShapeCells{
                {0, 2, 4}, {3}, 1, "k ( a op b ) = (primero el paréntesis, luego por k)"};
        default:
            return std::nullopt;
    }
}

// Why the problems of a known form would never be judged, or "" when they are.
std::string SignProblem(const OperationFields& fields, const TemplateLayout& layout,
                        const ShapeCells& cells, Verdict& verdict) {
    const int shape = layout.ProblemShape;
    if (cells.Bracket >= 0) {
        const CellContent content = ContentOf(fields, layout, cells.Bracket);
        const bool bracket = content.CodeLetters == 0 && content.Captions.size() == 1 &&
                             Understood(shape, cells.Bracket, content.Captions[0]);
        if (!bracket) {
            verdict = Verdict::NoBracket;
            const std::string shown = content.CodeLetters > 0       ? "un número"
                                      : content.Captions.size() > 1 ? "un signo al azar"
                                                                    : Quoted(content.Captions[0]);
            return "nunca se juzga: con siete casillas el " + FieldName(cells.Bracket) +
                   " debe ser «(» y es " + shown;
        }
    }
    for (int index : cells.Signs) {
        const CellContent content = ContentOf(fields, layout, index);
        verdict = Verdict::UnknownSign;
        if (content.CodeLetters > 0)
            return "nunca se juzga: el " + FieldName(index) + " " + Quoted(fields[index]) +
                   " es un código de número, y ahí va un signo";
        for (const std::string& caption : content.Captions) {
            if (!Understood(shape, index, caption))
                return "nunca se juzga: el signo " + Quoted(caption) + " del " + FieldName(index) +
                       " no es ninguno de + - x :";
        }
    }
    verdict = Verdict::Judged;
    return "";
}

std::string JoinQuoted(const std::vector<std::string>& fields) {
    std::string text;
    for (const std::string& field : fields) {
        if (!text.empty()) text += ' ';
        text += Quoted(field);
    }
    return text;
}

std::string RowText(const SheetRow& row) {
    std::string text;
    for (const TokenCell& cell : row.Cells) {
        if (!cell.Shown) continue;
        text += cell.Caption;
        text += ' ';
    }
    return text + kAnswerPlaceholder;
}

// Why a problem of a known form has no value: a division by zero, or a
// number or a result too large for the check.
const char* NoValueReason(int shape, const SheetRow& row) {
    const auto& c = row.Cells;
    const auto value = [&](int i) { return NumericValue(c[static_cast<std::size_t>(i)].Caption); };
    for (int i : {0, 2, 4})
        if (!std::isfinite(value(i))) return "desborda";
    const auto dividesByZero = [&](int sign) { return c[sign].Caption == ":" && value(sign + 1) == 0; };
    if (dividesByZero(shape == 7 ? 3 : 1) || (shape == 6 && dividesByZero(3))) return "divide por cero";
    return "desborda";
}

std::optional<double> RowValue(int shape, const SheetRow& row) {
    const auto& c = row.Cells;
    return ExpectedValue(shape, c[0].Caption, c[1].Caption, c[2].Caption, c[3].Caption,
                         c[4].Caption);
}

}  // namespace


OperationTypeCheck CheckOperationType(std::string_view line) {
    OperationTypeCheck check;
    check.Text = std::string(line);
    const OperationFields fields = SplitOperationType(line);
    std::vector<std::string> all = AllFields(line);
    const std::size_t kept = std::min(all.size(), fields.size());
    check.Fields.assign(fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(kept));
    check.Dropped.assign(all.begin() + static_cast<std::ptrdiff_t>(kept), all.end());

    const TemplateLayout layout = LayoutTemplateRow(fields);
    check.ProblemShape = layout.ProblemShape;

    const std::optional<ShapeCells> cells = CellsOfShape(layout.ProblemShape);
    if (layout.ProblemShape == 0) {
        check.Result = Verdict::NoCellFour;
        check.Explanation =
            "nunca se juzga: el campo 4 está vacío, así que los problemas no tienen una forma "
            "que la comprobación conozca (hacen falta 4, 6 o 7 campos seguidos)";
    } else if (layout.ProblemShape == 5) {
        check.Result = Verdict::FormFive;
        check.Explanation =
            "nunca se juzga: forma 5 (cinco campos delante de la respuesta), que la "
            "comprobación no conoce; use 4, 6 o 7 campos";
    } else if (cells) {
        check.Explanation = SignProblem(fields, layout, *cells, check.Result);
        if (check.Result == Verdict::Judged)
            check.Explanation = "se juzga como forma " + std::to_string(layout.ProblemShape) +
                                ": " + cells->Description;
    }

    if (!check.Dropped.empty())
        check.Warnings.push_back("aviso: la línea tiene " + std::to_string(all.size()) +
                                 " campos y solo caben 11; se descartan " +
                                 JoinQuoted(check.Dropped));
    if (cells && check.Result == Verdict::Judged) {
        for (int index : cells->Numbers) {
            const CellContent content = ContentOf(fields, layout, index);
            if (content.CodeLetters > 0) continue;
            // A cell that the adjustment for ":" or "-" always rewrites shows a number anyway.
            if ((index == 0 && fields[1] == ":") || (index == 2 && fields[1] == "-")) continue;
            for (const std::string& caption : content.Captions) {
                if (LooksNumeric(caption)) continue;
                check.Warnings.push_back("aviso: el " + FieldName(index) + " " + Quoted(caption) +
                                         " no es un número ni un código de número aquí: "
                                         "se muestra tal cual y cuenta como 0");
                break;
            }
        }
    }
    // After an empty field the answer box stops early and covers the later cells.
    if (layout.ProblemShape == 4 || layout.ProblemShape == 5) {
        const int emptyIndex = layout.ProblemShape;
        for (int index = emptyIndex + 1; index < sheet_geometry::kTokenCellCount; ++index) {
            if (fields[index].empty()) continue;
            check.Warnings.push_back("aviso: el " + FieldName(index) + " " + Quoted(fields[index]) +
                                     " queda debajo de la casilla de respuesta, porque el " +
                                     FieldName(emptyIndex) + " está vacío");
        }
    }
    const bool unusedFilled =
        std::any_of(fields.begin() + sheet_geometry::kTokenCellCount, fields.end(),
                    [](const std::string& f) { return !f.empty(); });
    if (unusedFilled)
        check.Warnings.push_back("nota: los campos 8 a 11 se guardan pero no tienen efecto");

    ProblemSheet sheet;
    ApplyTemplateLayout(layout, sheet);
    SeededRandom random(kExampleSeed);
    // Only a judged form needs the samples; the example is the first row either way.
    BuildProblemRows(sheet, fields, check.Result == Verdict::Judged ? kSampleProblems : 1, random);
    check.Example = RowText(sheet.Rows[1]);
    if (check.Result == Verdict::Judged) {
        std::string reason;
        for (int r = 1; r <= sheet.LastRow(); ++r) {
            if (RowValue(layout.ProblemShape, sheet.Rows[r])) continue;
            ++check.UnjudgedSamples;
            const std::string why = NoValueReason(layout.ProblemShape, sheet.Rows[r]);
            reason = reason.empty() || reason == why ? why : "divide por cero o desborda";
        }
        if (check.UnjudgedSamples == kSampleProblems) {
            check.Result = Verdict::NeverComputable;
            check.Explanation =
                "nunca se juzga: ningún problema de prueba tiene resultado (" + reason + ")";
        } else if (check.UnjudgedSamples > 0) {
            check.Warnings.push_back("aviso: " + std::to_string(check.UnjudgedSamples) + " de " +
                                     std::to_string(kSampleProblems) +
                                     " problemas de prueba no se juzgan (" + reason + ")");
        }
        if (const auto value = RowValue(layout.ProblemShape, sheet.Rows[1]))
            check.ExampleAnswer = NumberText(*value);
    }
    return check;
}

int CheckConfigurationFile(const std::string& path, std::ostream& out, std::ostream& err) {
    const OperationTypesResult read = ReadOperationTypes(path);
    out << "Archivo: " << Printable(path) << "\n";
    if (!read.error.empty()) {
        out << "El juego no puede usar este archivo.\n";
        err << "cifrano: " << Printable(read.error) << "\n";
        return kExitUnusable;
    }
    out << read.items.size()
        << (read.items.size() == 1 ? " tipo de operación" : " tipos de operación")
        << "; el primero queda elegido al abrir la pantalla de ejercicios.\n";

    // Each operation type is written as soon as it is checked.
    int judged = 0;
    int warnings = 0;
    for (std::size_t i = 0; i < read.items.size(); ++i) {
        const OperationTypeCheck check = CheckOperationType(read.items[i]);
        out << "\n" << i + 1 << " (línea " << read.lineNumbers[i] << "): " << Quoted(check.Text)
            << "\n";
        out << "    campos: " << JoinQuoted(check.Fields) << "\n";
        out << "    " << Printable(check.Explanation) << "\n";
        out << "    ejemplo: " << Printable(check.Example);
        if (!check.ExampleAnswer.empty()) out << "   respuesta: " << check.ExampleAnswer;
        out << "\n";
        for (const std::string& warning : check.Warnings) out << "    " << warning << "\n";
        if (check.Result == Verdict::Judged) ++judged;
        warnings += static_cast<int>(check.Warnings.size());
    }

    const int total = static_cast<int>(read.items.size());
    out << "\nSe juzgan " << judged << " de " << total << "; nunca se juzgan " << total - judged
        << "; avisos y notas: " << warnings << ".\n";
    if (judged == 0) out << "Con este archivo ninguna partida contará aciertos ni errores.\n";
    out << "El juego puede usar este archivo.\n";
    return kExitUsable;
}

}  // namespace cifrano
