// Which sound cue files are played: PCM WAV files whose header agrees with
// the file's size; anything else is silent.
#include <string>

#include "common/wave_header.h"
#include "test_main.h"

using namespace cifrano;

namespace {

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
void Put16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

// A mono 16-bit 22050 Hz file of `samples` samples, optionally with a chunk
// of `extra` bytes before the samples.
std::string Wave(std::size_t samples, std::size_t extra = 0) {
    std::string bytes = "RIFF----WAVE";
    if (extra > 0) {
        bytes += "LIST----" + std::string(extra, 'x');
        Put32(bytes, bytes.size() - extra - 4, static_cast<std::uint32_t>(extra));
        if (extra & 1) bytes += '\0';
    }
    const std::size_t format = bytes.size();
    bytes += "fmt " + std::string(20, '\0');
    Put32(bytes, format + 4, 16);
    Put16(bytes, format + 8, 1);       // PCM
    Put16(bytes, format + 10, 1);      // channels
    Put32(bytes, format + 12, 22050);  // sample rate
    Put32(bytes, format + 16, 44100);  // bytes a second
    Put16(bytes, format + 20, 2);      // block size
    Put16(bytes, format + 22, 16);     // bits
    bytes += "data----" + std::string(samples * 2, '\x10');
    Put32(bytes, bytes.size() - samples * 2 - 4, static_cast<std::uint32_t>(samples * 2));
    Put32(bytes, 4, static_cast<std::uint32_t>(bytes.size() - 8));
    return bytes;
}

}  // namespace

class WaveHeaderTest : public QObject {
    Q_OBJECT
  private slots:
    void judgesTheFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("sizeChange");  // the file's size against its bytes
        QTest::addColumn<bool>("playable");
        const auto row = [](const char* name, std::string bytes, qint64 change, bool playable) {
            QTest::newRow(name) << QByteArray::fromStdString(bytes) << change << playable;
        };
        row("plain PCM", Wave(1000), 0, true);
        row("a chunk before the format", Wave(1000, 33), 0, true);
        row("one pad byte after the samples", Wave(1000) + '\0', 0, true);
        row("file cut short", Wave(1000).substr(0, 1500), 0, false);
        row("file longer than the header says", Wave(1000) + "junk", 0, false);
        row("size says more than the file holds", Wave(1000), -10, false);
        row("no samples", Wave(0), 0, false);
        // Headers that agree with a file of the given size, only its start at hand.
        const auto claiming = [](std::uint64_t fileSize) {
            std::string bytes = Wave(100);
            Put32(bytes, 4, static_cast<std::uint32_t>(fileSize - 8));
            Put32(bytes, 40, static_cast<std::uint32_t>(fileSize - 44));
            return bytes;
        };
        row("16 MB exactly", claiming(kMaxCueFileBytes),
            qint64(kMaxCueFileBytes) - qint64(Wave(100).size()), true);
        row("larger than 16 MB", claiming(kMaxCueFileBytes + 2),
            qint64(kMaxCueFileBytes) + 2 - qint64(Wave(100).size()), false);
        row("empty", "", 0, false);
        row("text", std::string("Este no es un sonido, sino un texto cualquiera."), 0, false);
        std::string noRiff = Wave(100);
        noRiff.replace(0, 4, "RIFX");
        row("not RIFF", noRiff, 0, false);
        std::string notWave = Wave(100);
        notWave.replace(8, 4, "AVI ");
        row("RIFF but not WAVE", notWave, 0, false);
        std::string compressed = Wave(100);
        Put16(compressed, 20, 85);  // MP3 in a WAV
        row("compressed samples", compressed, 0, false);
        std::string noChannels = Wave(100);
        Put16(noChannels, 22, 0);
        row("no channels", noChannels, 0, false);
        std::string oddBits = Wave(100);
        Put16(oddBits, 34, 12);
        row("12-bit samples", oddBits, 0, false);
        std::string badBlock = Wave(100);
        Put16(badBlock, 32, 3);
        row("block size that does not match", badBlock, 0, false);
        std::string dataPastEnd = Wave(100);
        Put32(dataPastEnd, 40, 0xFFFFFFFFu);
        row("samples past the end of the file", dataPastEnd, 0, false);
        const char dataFirstBytes[] = "RIFF----WAVEdata\x04\0\0\0abcd";
        std::string dataFirst(dataFirstBytes, sizeof dataFirstBytes - 1);
        Put32(dataFirst, 4, static_cast<std::uint32_t>(dataFirst.size() - 8));
        row("samples before any format", dataFirst, 0, false);
        row("format beyond the part read", Wave(1000, kWaveHeadBytes), 0, false);
    }
    void judgesTheFile() {
        QFETCH(QByteArray, file);
        QFETCH(qint64, sizeChange);
        QFETCH(bool, playable);
        const std::string bytes = file.toStdString();
        const std::string_view head = std::string_view(bytes).substr(0, kWaveHeadBytes);
        QCOMPARE(
            WaveFitsItsFile(head, static_cast<std::uint64_t>(qint64(bytes.size()) + sizeChange)),
            playable);
    }
};

CIFRANO_TEST_MAIN(WaveHeaderTest)
#include "test_wave_header.moc"
