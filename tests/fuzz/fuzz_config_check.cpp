// The configuration check over any file: whatever the bytes, the report is
// complete, says whether the game can use the file, and carries no control
// character that could drive a terminal.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "app/config_check.h"
#include "fuzz_check.h"

using namespace cifrano;

namespace {

bool Printable(const std::string& report) {
    for (std::size_t i = 0; i < report.size(); ++i) {
        const auto c = static_cast<unsigned char>(report[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7F) return false;
        if (c == 0xC2 && i + 1 < report.size() && static_cast<unsigned char>(report[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(report[i + 1]) <= 0x9F)
            return false;
    }
    return true;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/dev/shm/cifrano-fuzz-" + std::to_string(getpid()) + ".txt";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    std::ostringstream out;
    std::ostringstream err;
    const int status = CheckConfigurationFile(path, out, err);
    const std::string report = out.str();
    FUZZ_CHECK(status == kExitUsable || status == kExitUnusable);
    FUZZ_CHECK(Printable(report) && Printable(err.str()));
    if (status == kExitUsable) {
        FUZZ_CHECK(err.str().empty());
        FUZZ_CHECK(EndsWith(report, "El juego puede usar este archivo.\n"));
    } else {
        FUZZ_CHECK(EndsWith(report, "El juego no puede usar este archivo.\n"));
        FUZZ_CHECK(!err.str().empty());
    }
    return 0;
}
