// The configuration check over any file: whatever the bytes, the report is
// complete, says whether the game can use the file, and carries no control
// character that could drive a terminal.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <sstream>

#include "app/config_check.h"
#include "fuzz_check.h"

using namespace cifrano;

FUZZ_UNCOVERED static bool Printable(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(i + 1 < text.size() ? text[i + 1] : 0);
        if ((c < 0x20 && c != '\n') || c == 0x7F || (c == 0xC2 && next >= 0x80 && next <= 0x9F))
            return false;
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/dev/shm/cifrano-fuzz-" + std::to_string(getpid()) + ".txt";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    std::ostringstream out;
    std::ostringstream err;
    const bool usable = CheckConfigurationFile(path, out, err) == kExitUsable;
    FUZZ_CHECK(Printable(out.str()) && Printable(err.str()) && err.str().empty() == usable);
    FUZZ_CHECK(out.str().ends_with(usable ? "El juego puede usar este archivo.\n"
                                          : "El juego no puede usar este archivo.\n"));
    return 0;
}
