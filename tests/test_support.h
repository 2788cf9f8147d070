#pragma once
// Shared pieces of the widget tests: a throw-away application folder and a
// screen flow wired to fakes.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/screen_flow.h"
#include "recording_sound_cues.h"
#include "scripted_prompts.h"

namespace cifrano::testing {

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(bytes) == bytes.size();
}

// A picture of the given size in the format its suffix names.
inline bool WritePicture(const QString& path, int width, int height) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    return image.save(path);
}

// An application folder with a configuration file and a users folder.
class AppFolder {
public:
    explicit AppFolder(const QByteArray& configuration = "AA + B =\nA x B =\nA ( B + C ) =\n") {
        if (!configuration.isNull()) WriteFile(Path("configuracion.txt"), configuration);
        QDir(dir_.path()).mkpath("usuarios");
    }
    QString Path() const { return dir_.path(); }
    QString Path(const QString& relative) const { return dir_.filePath(relative); }
    void AddUser(const QString& fileName, int width = 80, int height = 100) {
        WritePicture(Path("usuarios/" + fileName), width, height);
    }
    // A copy of a file of the default data folder (Qt writes no GIF files).
    bool CopyFromDefaultData(const QString& from, const QString& to) {
        QDir().mkpath(QFileInfo(Path(to)).absolutePath());
        return QFile::copy(DefaultDataFolder() + "/" + from, Path(to));
    }
    static QString DefaultDataFolder() { return qEnvironmentVariable("CIFRANO_SOURCE_DATA"); }

private:
    QTemporaryDir dir_;
};

// A screen flow over an application folder, with recorded sounds and answered prompts.
struct FlowHarness {
    explicit FlowHarness(const QString& appFolder)
        : flow(appFolder, cues, prompts, [this](int code) { endCodes.push_back(code); }) {
        flow.SetSeedSource([] { return 12345u; });
    }
    bool Ended() const { return !endCodes.empty(); }

    RecordingSoundCues cues;
    ScriptedPrompts prompts;
    std::vector<int> endCodes;
    ScreenFlow flow;
};

// Lets deferred deletions of unloaded screens happen.
inline void ProcessDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

}  // namespace cifrano::testing
