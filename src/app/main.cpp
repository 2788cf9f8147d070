#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QImage>
#include <QScopeGuard>
#include <fontconfig/fontconfig.h>
#include <cstdio>
#include <future>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/command_line.h"
#include "app/config_check.h"
#include "app/history_command.h"
#include "app/screen_flow.h"
#include "common/first_paint_view.h"
#include "common/media_paths.h"
#include "common/message_box_view.h"
#include "common/sound_player.h"
#include "history/history_notice_view.h"
#include "history/history_recorder.h"
#include "history/progress_screen.h"
#include "history/sqlite_history.h"

namespace {

std::vector<std::string> Arguments(int argc, char* argv[]) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
}

// The command-line jobs that need no window: help, usage errors and the
// configuration check. Returns the exit status.
int RunWithoutWindows(const cifrano::CommandLine& command, int& argc, char* argv[]) {
    switch (command.Kind) {
        case cifrano::CommandKind::Help:
            std::cout << cifrano::HelpText();
            if (!std::cout.flush()) return cifrano::kExitUnusable;
            return 0;
        case cifrano::CommandKind::Check: {
            std::string path = command.Path;
            if (path.empty()) {
                // Only for the application folder; no display is needed.
                std::optional<QCoreApplication> core;
                if (!QCoreApplication::instance()) core.emplace(argc, argv);
                path = cifrano::DataPath(QCoreApplication::applicationDirPath().toStdString(),
                                         cifrano::kConfigurationFile);
            }
            const int status = cifrano::CheckConfigurationFile(path, std::cout, std::cerr);
            // A report that could not be written is not a success.
            if (!std::cout.flush()) {
                std::cerr << "cifrano: no se pudo escribir el informe en la salida estándar\n";
                return cifrano::kExitUnusable;
            }
            return status;
        }
        default:
            std::fputs(cifrano::UsageText(command).c_str(), stderr);
            return cifrano::kExitUnusable;
    }
}

// --exportar and --progreso: the history without the game. Returns the exit status.
int RunHistoryCommand(const cifrano::HistoryCommand& command, int& argc, char* argv[]) {
    using namespace cifrano;
    if (command.Kind == HistoryCommandKind::Export) {
        SqliteHistory history(HistoryFilePath());
        const CommandResult result = RunExportCommand(command, history);
        std::fputs(result.Output.c_str(), stdout);
        std::fflush(stdout);
        std::fputs(result.Error.c_str(), stderr);
        return result.Status;
    }
    if (command.Kind != HistoryCommandKind::Progress) {
        std::fputs(HistoryUsageText(command).c_str(), stderr);
        return kExitUnusable;
    }
    QApplication app(argc, argv);
    // The toolkit has taken its own options; anything else left is an error.
    std::vector<std::string> left;
    for (int i = 1; i < argc; ++i) left.emplace_back(argv[i]);
    HistoryCommand parsed = ParseHistoryCommand(left);
    if (parsed.Kind == HistoryCommandKind::Progress && !parsed.Rest.empty()) {
        parsed.Kind = HistoryCommandKind::Bad;
        parsed.Problem = "Opción desconocida con --progreso: " + parsed.Rest.front();
    }
    if (parsed.Kind != HistoryCommandKind::Progress) {
        std::fputs(HistoryUsageText(parsed).c_str(), stderr);
        return kExitUnusable;
    }
    QApplication::setApplicationName(QStringLiteral("cifrano"));
    SqliteHistory history(HistoryFilePath());
    ProgressScreen window(history);
    if (!parsed.Player.empty()) window.SelectPlayer(QString::fromStdString(parsed.Player));
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    const cifrano::HistoryCommand history = cifrano::ParseHistoryCommand(Arguments(argc, argv));
    if (history.Kind != cifrano::HistoryCommandKind::None)
        return RunHistoryCommand(history, argc, argv);
    cifrano::CommandLine command = cifrano::ParseCommandLine(Arguments(argc, argv));
    const bool windowsNeeded =
        command.Kind == cifrano::CommandKind::Play ||
        (command.Kind == cifrano::CommandKind::Unknown && command.MaybeToolkitOptions);
    if (!windowsNeeded) return RunWithoutWindows(command, argc, argv);

    // Reading the font configuration takes several milliseconds: a second
    // thread reads it while the application object is made, then fills the
    // toolkit's font list while the first window is made (the first frame
    // waits for it if it must).
    std::promise<void> appMade;
    std::promise<void> configRead;
    std::future<void> fontsConfigured = configRead.get_future();
    std::jthread fontReader([made = appMade.get_future(), &configRead]() mutable {
        FcInit();
        configRead.set_value();
        made.wait();
        QFontDatabase::families();
    });
    QApplication app(argc, argv);
    appMade.set_value();
    // The font list is filled before the application object goes.
    const auto joinFontReader = qScopeGuard([&fontReader] { fontReader.join(); });
    // No font is used before the configuration is read: fontconfig would read
    // it a second time on this thread.
    fontsConfigured.wait();
    if (command.Kind == cifrano::CommandKind::Unknown) {
        // The toolkit has now taken its own options (-platform, -style ...);
        // whatever is left is ours to judge.
        command = cifrano::ParseCommandLine(Arguments(argc, argv));
        if (command.Kind != cifrano::CommandKind::Play)
            return RunWithoutWindows(command, argc, argv);
    }

    QApplication::setApplicationName(QStringLiteral("cifrano"));
    // No display name: Qt would append it to every window title, and the
    // screens' titles are as designed (the game screen's is empty).
    QApplication::setQuitOnLastWindowClosed(false);  // the screen flow decides when to end

    const QString appFolder = QCoreApplication::applicationDirPath();
    cifrano::QtSoundCues cues(appFolder);
    cifrano::MessageBoxPrompts prompts;
    // Opened only when the first game ends: the start-up does not wait for it.
    cifrano::SqliteHistory store(cifrano::HistoryFilePath());
    cifrano::HistoryRecorder games(store, cifrano::MessageBoxNotice());
    cifrano::ScreenFlow flow(appFolder, cues, prompts, games,
                             [](int exitCode) { QCoreApplication::exit(exitCode); });
    flow.Start();
    if (flow.HasEnded()) return 1;
    // While a display maps the splash, its first frame is drawn once off the
    // screen, so its fonts and glyphs are ready when it is exposed. Without a
    // display there is no such wait to use.
    QWidget* splash = flow.Find(cifrano::ScreenId::Splash);
    if (splash && QGuiApplication::platformName() != QLatin1String("offscreen")) {
        QImage frame(splash->size(), QImage::Format_ARGB32_Premultiplied);
        splash->render(&frame);
    }
    // Once the splash is on the screen: the users' pictures start decoding, so
    // that they are ready when the names appear, and the sound module loads.
    cifrano::AfterFirstPaint(splash, [&flow, &cues] {
        flow.DecodePicturesAhead();
        cues.Prepare();
    });
    return QApplication::exec();
}
