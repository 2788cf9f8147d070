#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class SetupScreensTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Harness> h_;

    // The player selection over users of every picture kind, a text file, a
    // hidden file and a subfolder; the configuration has a long line and a blank one.
    PlayerSelectionScreen& Open() {
        h_ = std::make_unique<Harness>("A x B + C = 7 8 9 10 11\nAA + B\n   \n");
        h_->CopyData("usuarios/Carlos.gif", "usuarios/ana.gif");  // 200 x 200
        h_->AddUser("Carlos.bmp", 120, 90);
        h_->AddUser("Lucía.jpg", 96, 128);
        h_->AddUser("jugador 1.png", 50, 50);
        WriteFile(h_->Path("usuarios/notas.txt"), "no es una imagen");
        WriteFile(h_->Path("usuarios/.oculto.png"), "hidden");
        QDir(h_->Path("usuarios")).mkpath("subcarpeta");
        PlayerSelectionScreen& players = h_->ToPlayers();
        h_->cues.played.clear();
        return players;
    }

  private slots:
    void cleanup() { h_.reset(); }

    void fileListsShowUserFilesSorted() {  // files only, hidden ones left out
        PlayerSelectionScreen& players = Open();
        const QStringList expected{"ana.gif",       "Ana.png",   "Carlos.bmp",
                                   "jugador 1.png", "Lucía.jpg", "notas.txt"};
        QCOMPARE(Lines(players.FileList(0)), expected);
        QCOMPARE(Lines(players.FileList(1)), expected);
    }

    // The name from the file; the picture 2175 twips high, its width in proportion.
    void pickingShowsNameAndScaledPicture_data() {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("files");
        QTest::addColumn<int>("widthTwips");
        QTest::newRow("png, portrait") << 0 << "Ana.png" << 1740;
        QTest::newRow("bmp, landscape") << 1 << "Carlos.bmp" << 2900;
        QTest::newRow("jpeg, accented name") << 0 << "Lucía.jpg" << 1631;
        QTest::newRow("gif, square") << 1 << "ana.gif" << 2175;
        QTest::newRow("not a picture keeps the previous one") << 0 << "Ana.png,notas.txt" << 1740;
    }
    void pickingShowsNameAndScaledPicture() {
        QFETCH(int, list);
        QFETCH(QString, files);
        QFETCH(int, widthTwips);
        PlayerSelectionScreen& players = Open();
        for (const QString& file : files.split(',')) h_->Pick(list, file);
        QCOMPARE(players.ChosenFile(list), files.section(',', -1));
        QCOMPARE(players.PlayerName(list), files.section(',', -1).section('.', 0, 0));
        QCOMPARE(players.findChild<QLabel*>(QString("Image1(%1)").arg(list))->size(),
                 QSize(TwipsToPixels(widthTwips), TwipsToPixels(2175)));
        QCOMPARE(players.PlayerName(1 - list), QString("Jugador %1").arg(2 - list));
        QVERIFY(h_->cues.played.empty());  // picking a file is silent
    }

    void acceptanceChecks_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message");
        const QString pick = "Has de seleccionar el jugador 1";
        const QString differ = "Se han de seleccionar nombres de jugadores diferentes";
        QTest::newRow("nobody picked") << ""
                                       << "" << pick;
        QTest::newRow("only player 2") << ""
                                       << "Ana.png" << pick;
        QTest::newRow("user named jugador 1") << "jugador 1.png"
                                              << "" << pick;
        QTest::newRow("same user twice") << "Ana.png"
                                         << "Ana.png" << differ;
        QTest::newRow("names differ in case only") << "Ana.png"
                                                   << "ana.gif" << differ;
        QTest::newRow("single player") << "Carlos.bmp"
                                       << ""
                                       << "";
    }
    void acceptanceChecks() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, message);
        Open();
        h_->Accept(first, second);
        const bool accepted = message.isEmpty();  // a failed check loads nothing
        QCOMPARE(h_->prompts.messages,
                 accepted ? std::vector<std::string>{} : std::vector{message.toStdString()});
        QCOMPARE(Table(h_->flow).section(" | ", 1, 2),
                 QString(accepted ? "minimised,disabled | shown" : "shown | not loaded"));
        QCOMPARE(h_->cues.Count(SoundCue::Continuar), accepted ? 1 : 0);
    }

    void exerciseSelectionWiring() {
        Open();
        h_->Accept("Carlos.bmp");
        ExerciseSelectionScreen& exercise = h_->flow.ExerciseSelection();
        OperationFields& fields = h_->flow.Settings().OperationFields;
        QCOMPARE(h_->cues.played, (std::vector<SoundCue>{SoundCue::Continuar, SoundCue::List}));
        QCOMPARE(exercise.OperationList()->count(), 3);  // a line of blanks is an item
        QCOMPARE(fields,
                 (OperationFields{"A", "x", "B", "+", "C", "=", "7", "8", "9", "10", "11"}));
        exercise.OperationList()->setCurrentRow(1);  // a shorter line leaves no old fields
        QCOMPARE(fields, (OperationFields{"AA", "+", "B"}));
        exercise.OperationList()->setCurrentRow(2);
        QCOMPARE(fields, OperationFields{});
        QCOMPARE(h_->cues.Count(SoundCue::List), 3);
        // One minute at load; the chosen button again plays the cue too.
        QCOMPARE(h_->flow.Settings().GameMinutes, short(1));
        QCOMPARE(exercise.MinuteFace(0), colours::kBlue);
        for (int press : {5, 1, 1}) QTest::mouseClick(exercise.MinuteButton(press), Qt::LeftButton);
        QCOMPARE(h_->cues.Count(SoundCue::Boton), 3);
        QCOMPARE(h_->flow.Settings().GameMinutes, short(2));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(exercise.MinuteFace(i), i == 1 ? colours::kBlue : colours::kWhite);
        QStringList order;  // tab order: ACEPTAR, the list, then the minute buttons
        QWidget* const start = exercise.findChild<QPushButton*>("Command1");
        QWidget* w = start;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
                order << w->objectName();
        } while ((w = w->nextInFocusChain()) != start);
        QCOMPARE(order.join(' '),
                 "Command1 List1 Command2(0) Command2(1) Command2(2) Command2(3) "
                 "Command2(4) Command2(5)");
    }

    // A message naming what is missing, exit code 1, no operation loaded.
    void setupFailuresEndWithCodeOne_data() {
        QTest::addColumn<QByteArray>("configuration");
        QTest::addColumn<QString>("message");
        QTest::newRow("configuration missing")
            << QByteArray() << "No se encuentra el archivo de configuración: ";
        QTest::newRow("configuration empty")
            << QByteArray("") << "El archivo de configuración no contiene ningún tipo de operación";
        QTest::newRow("users folder missing")
            << QByteArray("A + B\n") << "No se encuentra la carpeta de usuarios: ";
    }
    void setupFailuresEndWithCodeOne() {
        QFETCH(QByteArray, configuration);
        QFETCH(QString, message);
        const bool noUsers = QByteArray(QTest::currentDataTag()).startsWith("users");
        Harness h(configuration);
        if (noUsers) QDir(h.Path("usuarios")).removeRecursively();
        h.flow.Start();
        h.flow.Show(ScreenId::PlayerSelection);
        if (!noUsers) h.Accept("Ana.png");
        QCOMPARE(h.endCodes, std::vector<int>{1});
        QCOMPARE(h.prompts.messages.size(), std::size_t(1));
        const QString shown = QString::fromStdString(h.prompts.messages[0]);
        QVERIFY2(shown.startsWith(message), qPrintable(shown));
        QVERIFY(shown.contains(noUsers ? "usuarios" : "configuracion.txt"));
        QVERIFY(h.flow.Settings().OperationFields[0].empty() && !h.cues.Count(SoundCue::List));
    }

    void emptyUsersFolderShowsEmptyLists() {
        Harness h;
        QFile::remove(h.Path("usuarios/Ana.png"));
        QCOMPARE(h.ToPlayers().FileList(0)->count(), 0);
        h.Accept("");
        QCOMPARE(h.prompts.messages, std::vector<std::string>{"Has de seleccionar el jugador 1"});
    }
};

QTEST_MAIN(SetupScreensTest)
#include "test_setup_screens.moc"
