// The screens up to the game: the flow table and the shared settings after
// each step, every way the run ends or goes on, and the setup screens' wiring
// (picks, the acceptance checks, the operation list, the minute buttons).
#include <sys/stat.h>

#include <QAccessible>
#include <QBuffer>
#include <QTemporaryDir>

#include "setup/picture_loader.h"
#include "setup/player_selection_screen.h"
#include "table_rows.h"
#include "test_main.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {
// A file of 2 MB (sparse) that reads as a JPEG to a format check.
bool WriteLargeJpeg(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("\xFF\xD8\xFF") == 3 &&
           file.resize(2 << 20);
}
}  // namespace

class ScreenFlowTest : public QObject {
    Q_OBJECT

  private slots:
    // The settings (operation | minutes | second player's turn | game number) start
    // zero-initialised; only the screens that own a setting write it. The screen in front
    // tells its accessible name and title (the game's title bar stays empty); Enter works
    // the focused button, and ACEPTAR holds the focus as the exercise selection opens.
    void flowTableStepByStep() {
        Harness h;
        QStringList windows;
        const auto step = [&](ScreenId front, const char* table, const std::string& settings) {
            const GameSettings& s = h.flow.Settings();
            QCOMPARE(h.Table(), table);
            QCOMPARE(s.OperationFields[0] + "|" + std::to_string(s.GameMinutes) + "|" +
                         std::to_string(s.SecondPlayerTurn) + "|" + std::to_string(s.GameNumber),
                     settings);
            BaseScreen* window = h.flow.Find(front);
            windows << QAccessible::queryAccessibleInterface(window)->text(QAccessible::Name) +
                           "|" + window->windowTitle();
        };
        h.flow.Start();
        step(Splash, "shown | not loaded | not loaded | not loaded | not loaded", "|0|0|0");
        QTest::keyClick(h.Child(Splash, "Command1"), Qt::Key_Return);
        DeleteUnloaded();
        step(PlayerSelection, "not loaded | shown | not loaded | not loaded | not loaded", "|0|0|1");
        h.Click(PlayerSelection, "Command1");  // nobody picked: the check's message, no step
        QCOMPARE(h.prompts.messages, std::vector<std::string>{"Has de seleccionar el jugador 1"});
        h.Accept("Ana.png");
        step(ExerciseSelection, "not loaded | minimised,disabled | shown | not loaded | not loaded",
             "AA|1|0|1");
        auto* accept = h.Child(ExerciseSelection, "Command1");
        QCOMPARE(h.flow.Find(ExerciseSelection)->focusWidget(), accept);
        // A click on the list picks the operation type, a minute button the length.
        auto* list = h.Child<QListWidget>(ExerciseSelection, "List1");
        ClickItem(list, list->item(2));
        for (int press : {5, 1, 1}) h.Click(ExerciseSelection, QString("Command2(%1)").arg(press));
        QTest::keyClick(accept, Qt::Key_Enter);  // the keypad's
        step(Game, "not loaded | minimised,disabled | shown | shown | not loaded", "A|2|0|1");
        // "ACEPTAR" again while the game screen is open brings it forward, no new load.
        const BaseScreen* game = h.flow.Find(Game);
        QTest::mouseClick(accept, Qt::LeftButton);
        QCOMPARE(h.flow.Find(Game), game);
        using enum SoundCue;
        QCOMPARE(h.cues.played, (std::vector{Continuar, Continuar, List, List, Boton, Boton, Boton,
                                             Continuar, Continuar}));
        QTest::keyClick(h.Child(Game, "Command1"), Qt::Key_Return);
        h.Ticks(121);
        step(Results, "not loaded | minimised,disabled | shown | shown | shown", "A|2|0|2");
        const QString application = "Cifrano 1.1 - cifrano@example.org|";
        QCOMPARE(windows, (QStringList{application + application.chopped(1),
                                       "Selección de jugadores|Selección de jugadores",
                                       application + application.chopped(1), "Partida|",
                                       "Resultados|Resultados"}));
    }

    // The steps: screens reached, close boxes (x-<screen>) and "SALIR" answered;
    // then the exit code, or the flow table when the run goes on.
    void endings_data() {
        const QByteArray game = "players accept game x-game",
                         afterGame = "|not loaded | minimised,disabled | shown | not loaded | minimised";
        Rows({"start x-splash|exit 0", "players x-players|exit 0",
              "players accept x-players|not loaded | minimised,disabled | shown | not loaded | not loaded",
              "players accept game x-exercise|exit 0", game + afterGame, game + " x-results" + afterGame,
              game + " salir-yes|exit 0", game + " salir-no" + afterGame,
              "players accept no-configuration|exit 1", "players no-users|exit 1"});
    }
    void endings() {
        QFETCH(QByteArrayList, row);
        const QString steps = row[0], outcome = row.mid(1).join('|');
        Harness h(steps.contains("no-configuration") ? QByteArray() : "AA + B =\n");
        if (steps.contains("no-users")) QDir(h.Path("usuarios")).removeRecursively();
        const QStringList screens{"splash", "players", "exercise", "game", "results"};
        for (const QString& step : steps.split(' ')) {
            if (step == "start") h.flow.Start();
            if (step == "players") h.ToPlayers();
            if (step == "accept") h.Accept("Ana.png");
            if (step == "game") h.ToGame(1);
            if (step.startsWith("x-")) h.flow.Find(ScreenId(screens.indexOf(step.mid(2))))->close();
            h.prompts.answer = step == "salir-yes";
            if (step.startsWith("salir")) h.Click(Results, "Command2");
            DeleteUnloaded();
        }
        const QString windows = h.Table();  // at the end every window is gone
        const bool ended = !windows.contains(QRegularExpression("shown|min"));
        QCOMPARE(
            ended ? "exit " + QString::number(h.endCodes.empty() ? -1 : h.endCodes[0]) : windows,
            outcome);
        QVERIFY(h.flow.HasEnded() == ended && h.endCodes.size() == std::size_t(ended));
        QCOMPARE(h.prompts.questions.size(), std::size_t(steps.contains("salir")));
        // A screen that cannot work says so, and the exercise selection sets no length.
        const bool failed = outcome == "exit 1";
        QCOMPARE(h.prompts.messages.size(), std::size_t(failed));
        QCOMPARE(h.flow.Settings().GameMinutes, short(!failed && steps.contains("accept")));
    }

    // Files whose names cannot be shown stay out of the lists, and the player is told how
    // many. Columns: such files | the message's start.
    void unshowableNamesAreTold_data() {
        Rows({"1|Se ha omitido un archivo de", "2|Se han omitido 2 archivos de"});
    }
    void unshowableNamesAreTold() {
        QFETCH(QByteArrayList, row);
        Harness h;
        for (int k = 0; k < row[0].toInt(); ++k) h.Write(QString("usuarios/\x1b%1.png").arg(k), "");
        h.ToPlayers();
        QCOMPARE(h.prompts.messages.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(h.prompts.messages[0]).startsWith(row[1]));
    }

    // A pick shows the name and the picture as read, turned as its file says; a file that is
    // not a picture keeps the picture shown; a FIFO in place of a listed picture shows the
    // name and no picture, at once. A picture past 512 x 512 pixels goes to a worker, however
    // small its file.
    void picksShowNameAndPicture() {
        Harness h;
        QVERIFY(QImage(520, 520, QImage::Format_RGB32).save(h.Path("usuarios/Grande.png")));
        QByteArray jpeg;  // 96 x 128, tagged to be shown turned a quarter
        QBuffer buffer(&jpeg);
        QVERIFY(buffer.open(QIODevice::WriteOnly) &&
                QImage(96, 128, QImage::Format_RGB32).save(&buffer, "JPG"));
        h.Write("usuarios/Lucía.jpg",
                jpeg.insert(2, QByteArray::fromHex("FFE10022457869660000"
                                                   "49492A00080000000100120103000100000006000000"
                                                   "00000000")));
        h.Write("usuarios/notas.txt", "no es una imagen");
        h.ToPlayers();
        auto* screen = static_cast<PlayerSelectionScreen*>(h.flow.Find(PlayerSelection));
        screen->Pictures().SetWorker([](auto) {});  // its job is held back
        h.Pick(0, "Grande.png");
        QVERIFY(screen->Pictures().Pending(0));
        QVERIFY(QFile::remove(h.Path("usuarios/Ana.png")) &&
                ::mkfifo(QFile::encodeName(h.Path("usuarios/Ana.png")).constData(), 0600) == 0);
        h.Pick(0, "Ana.png");
        QCOMPARE(h.Text(PlayerSelection, "Label1(0)"), "Ana");
        QVERIFY(h.Child<PictureBox>(PlayerSelection, "Image1(0)")->Picture().isNull());
        h.Pick(1, "Lucía.jpg");
        h.Pick(1, "notas.txt");
        const auto* picture =
            static_cast<PictureBox*>(h.Child<QLabel>(PlayerSelection, "Image1(1)"));
        QCOMPARE(h.Text(PlayerSelection, "Label1(1)"), "notas");
        QVERIFY(picture->Picture().size() == QSize(128, 96) && picture->isVisible());
        // Only the splash's cue: picks are silent.
        QCOMPARE(h.cues.played, std::vector{SoundCue::Continuar});
    }

    // User pictures are decoded off the interface thread (the worker here holds each job until
    // the test runs it): a pick never waits for a slow picture, a later pick wins whichever
    // decoding ends first, and ACEPTAR hands on the picture of the last pick, decoded or not.
    // The jobs run: "01" the slow picture's first, "10" last, "" none before ACEPTAR.
    void laterPickWins_data() { Rows({"01", "10", ""}); }
    void laterPickWins() {
        QFETCH(QByteArrayList, row);
        const QString order = row[0];
        Harness h;
        h.AddUser("Lento.png");
        h.AddUser("Rapido.png");
        h.ToPlayers();
        auto* screen = static_cast<PlayerSelectionScreen*>(h.flow.Find(PlayerSelection));
        std::vector<std::function<void()>> jobs;
        screen->Pictures().SetWorker([&jobs](auto job) { jobs.push_back(std::move(job)); });
        screen->Pictures().SetDecoder([](const QString& path, int) {
            QImage image(80, 60, QImage::Format_RGB32);
            image.fill(path.endsWith("Lento.png") ? Qt::red : Qt::blue);
            return image;
        });
        screen->Pictures().SetInlinePixels(0);
        const auto shown = [&](ScreenId id = PlayerSelection) {
            const QPixmap picture = h.Child<PictureBox>(id, "Image1(0)")->Picture();
            return picture.isNull() ? QColor() : picture.toImage().pixelColor(0, 0);
        };
        h.Pick(0, "Lento.png");
        h.Pick(0, "Rapido.png");
        QCOMPARE(h.Text(PlayerSelection, "Label1(0)"), "Rapido");
        QVERIFY(!shown().isValid() && jobs.size() == 2);  // nothing decoded yet
        QVERIFY(screen->Pictures().Pending(0) && !screen->Pictures().Pending(1));
        for (const QChar job : order) {
            jobs.at(job.digitValue())();
            QCoreApplication::sendPostedEvents();  // the delivery the job posted
            QVERIFY(shown() != QColor(Qt::red));
        }
        QCOMPARE(shown(), order.isEmpty() ? QColor() : QColor(Qt::blue));
        h.Click(PlayerSelection, "Command1");
        h.ToGame(1);
        QCOMPARE(shown(Game), QColor(Qt::blue));
    }

    // A large JPEG decoded ahead is decoded once, whenever the pick comes: while that
    // decoding waits for a worker (the pick's own decoding replaces it), while it runs (the
    // pick waits for it) or after it (the pick is answered at once, from the cache). When it
    // gives no picture, the pick decodes the file again, as it would have anyway. A pick
    // finished at once (ACEPTAR) is decoded there, once.
    // Columns: when the pick comes | decodings | the picture delivered (its decoding).
    void decodingAheadIsShared_data() {
        Rows({"queued|1|1", "queued, player 2 finished|1|1", "running|1|1", "done|1|1",
              "running, no picture|2|2"});
    }
    void decodingAheadIsShared() {
        QFETCH(QByteArrayList, row);
        QTemporaryDir folder;
        const QString big = folder.filePath("Grande.jpg");
        QVERIFY(WriteLargeJpeg(big));
        PictureLoader loader(60);
        std::vector<std::function<void()>> jobs;
        std::vector<QColor> delivered;
        int decoded = 0;
        loader.SetWorker([&](auto job) { jobs.push_back(std::move(job)); });
        loader.SetDecoder([&](const QString&, int height) {
            if (row[0].startsWith("running") && !decoded) loader.Request(0, big);
            QImage image(height, height, QImage::Format_RGB32);
            image.fill(QColor(++decoded * 40, 0, 0));
            return row[0].endsWith("no picture") && decoded == 1 ? QImage() : image;
        });
        QObject::connect(&loader, &PictureLoader::Delivered,
                         [&](int, const QString&, const QPixmap& p) {
                             delivered.push_back(p.toImage().pixelColor(0, 0));
                         });
        loader.Prefetch(folder.path(), {"Grande.jpg", "Grande.jpg", "nada.jpg"});
        QCOMPARE(jobs.size(), std::size_t(1));
        if (row[0] == "queued") loader.Request(0, big);
        if (row[0].endsWith("finished")) {
            loader.Request(1, big);
            QVERIFY(loader.Pending(1));
            loader.Finish(1);
            QVERIFY(!loader.Pending(1) && delivered.size() == 1);
        }
        for (std::size_t k = 0; k < jobs.size(); ++k) {
            jobs[k]();
            QCoreApplication::sendPostedEvents();
        }
        if (row[0] == "done") loader.Request(0, big);
        QCOMPARE(decoded, row[1].toInt());
        QCOMPARE(delivered, std::vector{QColor(row[2].toInt() * 40, 0, 0)});
        QVERIFY(!loader.Pending(0));
    }

    // A picture file over 64 MB is never opened (no picture, at once); one of 64 MB goes to a
    // worker.
    void pictureFileBound() {
        QTemporaryDir folder;
        for (const qint64 size : {kMaxPictureFileBytes, kMaxPictureFileBytes + 1}) {
            QFile file(folder.filePath(QString("%1.jpg").arg(size)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
            PictureLoader loader(60);
            loader.SetWorker([](auto) {});
            int delivered = 0;
            QObject::connect(&loader, &PictureLoader::Delivered, [&delivered] { ++delivered; });
            loader.Request(0, file.fileName());
            QCOMPARE(delivered, size > kMaxPictureFileBytes ? 1 : 0);
        }
    }

    // However many large files a folder holds, and however often it is asked for (the splash,
    // then the player selection), at most kMostPrefetched are decoded ahead.
    void decodingAheadIsBounded() {
        QTemporaryDir folder;
        QStringList files;
        for (int k = 0; k <= PictureLoader::kMostPrefetched; ++k) {
            files << QString("%1.jpg").arg(k);
            QVERIFY(WriteLargeJpeg(folder.filePath(files.last())));
        }
        PictureLoader loader(60);
        int jobs = 0;
        loader.SetWorker([&jobs](auto) { ++jobs; });
        loader.Prefetch(folder.path(), files);
        loader.Prefetch(folder.path(), files);
        QCOMPARE(jobs, PictureLoader::kMostPrefetched);
    }

    // What the run decodes ahead (from the splash) is what the player selection shows: the
    // selection's own decoding ahead finds the large JPEG known, and a pick after that
    // decoding shows the picture at once.
    void decodedAheadForTheSelection() {
        Harness h;
        QVERIFY(WriteLargeJpeg(h.Path("usuarios/Grande.jpg")));
        PictureLoader& pictures = h.flow.UserPictures();
        std::vector<std::function<void()>> jobs;
        pictures.SetWorker([&jobs](auto job) { jobs.push_back(std::move(job)); });
        pictures.SetDecoder([](const QString&, int height) {
            QImage image(height, height, QImage::Format_RGB32);
            image.fill(Qt::red);
            return image;
        });
        h.flow.DecodePicturesAhead();
        QCOMPARE(jobs.size(), std::size_t(1));
        h.ToPlayers();
        QCOMPARE(jobs.size(), std::size_t(1));
        jobs[0]();
        QCoreApplication::sendPostedEvents();
        h.Pick(0, "Grande.jpg");
        QVERIFY(!pictures.Pending(0));
        const QPixmap shown = h.Child<PictureBox>(PlayerSelection, "Image1(0)")->Picture();
        QCOMPARE(shown.toImage().pixelColor(0, 0), QColor(Qt::red));
    }
};

CIFRANO_TEST_MAIN(ScreenFlowTest)
#include "test_screen_flow.moc"
