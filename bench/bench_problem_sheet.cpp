// Time and memory to build a whole problem sheet, as "Inicio" does before
// the clocks start. Prints figures beside their targets; never fails.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "common/game_settings.h"
#include "game/problem_generator.h"
#include "game/problem_sheet.h"
#include "game/template_row.h"

using namespace cifrano;

namespace {

OperationFields Fields() {
    OperationFields fields{};
    const char* tokens[] = {"AA", "*", "BBBB", "*", "C", "*", "="};
    for (int i = 0; i < 7; ++i) fields[i] = tokens[i];
    return fields;
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

void Measure(int rows) {
    const OperationFields fields = Fields();
    const TemplateLayout layout = LayoutTemplateRow(fields);
    std::vector<double> millis;
    std::size_t growth = 0;
    for (int run = 0; run < 21; ++run) {
        SeededRandom random(static_cast<std::uint64_t>(run) + 1);
        const std::size_t before = HeapInUse();
        const auto start = std::chrono::steady_clock::now();
        ProblemSheet sheet;
        ApplyTemplateLayout(layout, sheet);
        BuildProblemRows(sheet, fields, rows, random);
        const auto stop = std::chrono::steady_clock::now();
        growth = std::max(growth, HeapInUse() - before);
        millis.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::sort(millis.begin(), millis.end());
    std::printf("%4d rows: build %.3f ms median (%.3f ms best)   target <= 2 ms\n", rows,
                millis[millis.size() / 2], millis.front());
    std::printf("%4d rows: memory growth %.3f MB                 target <= 2 MB\n", rows,
                static_cast<double>(growth) / (1024.0 * 1024.0));
}

}  // namespace

int main() {
    std::printf("sizeof(SheetRow) = %zu bytes\n", sizeof(SheetRow));
    Measure(100);
    Measure(600);
    return 0;
}
