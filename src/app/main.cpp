#include <QApplication>

#include "app/message_box_view.h"
#include "app/screen_flow.h"
#include "app/sound_player.h"
#include "app/splash_screen.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("cifrano"));
    QApplication::setApplicationDisplayName(QStringLiteral("Cifrano"));
    QApplication::setQuitOnLastWindowClosed(false);  // the screen flow decides when to end

    const QString appFolder = QCoreApplication::applicationDirPath();
    cifrano::QtSoundCues cues(appFolder);
    cifrano::MessageBoxPrompts prompts;
    cifrano::ScreenFlow flow(appFolder, cues, prompts, [](int exitCode) {
        QCoreApplication::exit(exitCode);
    });
    flow.Start();
    if (flow.HasEnded()) return 1;
    return QApplication::exec();
}
