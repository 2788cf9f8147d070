#include "results/results_screen.h"

#include <QLocale>

#include "common/geometry.h"
#include "common/numbers.h"

namespace cifrano {

ResultsScreen::ResultsScreen(ScreenSteps& steps, SoundCues& cues, Prompts& prompts,
                             GameSettings& settings, ChosenPlayers players,
                             PlayerPictures pictures)
    : BaseScreen(steps, ScreenId::Results, 8325, 6405, colours::kResultsBackground,
                 QStringLiteral("Resultados")),
      cues_(cues),
      prompts_(prompts),
      settings_(settings),
      players_(std::move(players)),
      playerPictures_(std::move(pictures)) {
    const Rgb playerColours[2] = {colours::kPlayerOne, colours::kPlayerTwo};
    const int columnLefts[2] = {120, 4200};
    const int pointLefts[2] = {120, 7440};
    const int pictureLefts[2] = {1320, 5040};
    const char* designedCaptions[2] = {"Resu", "Label1"};
    for (int i = 0; i < 2; ++i) {
        const QString index = QString::number(i);
        names_[i] = MakeLabel(this, i == 0 ? "Label1(0)" : "Label1(1)",
                              QString::fromLatin1(designedCaptions[i]),
                              QRect(columnLefts[i], 120, 3975, 375), DesignFont(18, true),
                              Qt::AlignHCenter | Qt::AlignTop);
        SetTextColour(names_[i], playerColours[i]);

        auto* list = new QListWidget(this);
        list->setObjectName("List1(" + index + ")");
        list->setGeometry(TwipsRect(columnLefts[i], 600, 3975, 3300));
        list->setFont(DesignFont(12));
        lists_[i] = list;

        points_[i] = MakeLabel(this, i == 0 ? "Label2(0)" : "Label2(1)", QStringLiteral("0"),
                               QRect(pointLefts[i], 3960, 735, 615), DesignFont(24, true),
                               Qt::AlignHCenter | Qt::AlignTop);
        SetTextColour(points_[i], playerColours[i]);
        pointCaptions_[i] =
            MakeLabel(this, i == 0 ? "Label3(0)" : "Label3(1)", QStringLiteral("Puntos"),
                      QRect(pointLefts[i], 4440, 855, 375), DesignFont(12));
        SetTextColour(pointCaptions_[i], playerColours[i]);
        pictures_[i] = new PictureBox(this, i == 0 ? "Image1(0)" : "Image1(1)",
                                      QRect(pictureLefts[i], 3960, 1695, 1575));
    }
    QPushButton* resume =
        MakeButton(this, "Command1", QStringLiteral("CONTINUAR"), QRect(120, 5640, 3975, 615),
                   DesignFont(27.75, true), colours::kGreen);
    QPushButton* quit =
        MakeButton(this, "Command2", QStringLiteral("SALIR"), QRect(4200, 5640, 3975, 615),
                   DesignFont(27.75, true), colours::kRed);
    connect(resume, &QPushButton::clicked, this, &ResultsScreen::Command1_Click);
    connect(quit, &QPushButton::clicked, this, &ResultsScreen::Command2_Click);

    // The progress window's button stands in the free space between the two
    // pictures (under the hidden points in the one-player layout), below every
    // other control, so that no picture, however wide, is covered by it.
    progressButton_ = MakeButton(this, "ProgressButton", QStringLiteral("&Progreso"),
                                 QRect(3180, 4500, 1695, 495), DesignFont(12, true),
                                 colours::kWhite);
    progressButton_->lower();
    connect(progressButton_, &QPushButton::clicked, this,
            [this] { steps_.ProgressRequested(board_.Names[kPlayerOne]); });
}

void ResultsScreen::Load() {
    CentreOnScreen();
    board_.Load(settings_, players_);
    names_[0]->setText(QString::fromStdString(board_.Names[kPlayerOne]));
    if (board_.SinglePlayer) {
        ArrangeSinglePlayer();
    } else {
        names_[1]->setText(QString::fromStdString(board_.Names[kPlayerTwo]));
    }
    // Both slots, in every layout: without a second player the second picture
    // is empty and shows nothing.
    ShowPlayerPictures(pictures_, playerPictures_, kPictureHeight);
    Refresh();
}

void ResultsScreen::RecordGame(const GameOutcome& outcome) {
    cifrano::RecordGame(settings_, board_, outcome,
                        DecimalSeparator(QLocale().decimalPoint().toStdString()));
    Refresh();
}

void ResultsScreen::ArrangeSinglePlayer() {
    for (QWidget* widget :
         {static_cast<QWidget*>(names_[1]), static_cast<QWidget*>(points_[1]),
          static_cast<QWidget*>(points_[0]), static_cast<QWidget*>(pointCaptions_[0]),
          static_cast<QWidget*>(pointCaptions_[1]), static_cast<QWidget*>(lists_[1]),
          static_cast<QWidget*>(pictures_[1])}) {
        widget->hide();
    }
    const ResultsLayout layout = cifrano::ArrangeSinglePlayer(
        PixelsToTwips(OuterSize().width()), PixelsToTwips(names_[0]->width()),
        PixelsToTwips(lists_[0]->width()), PixelsToTwips(pictures_[0]->width()));
    names_[0]->move(TwipsToPixels(static_cast<int>(layout.NameLeft)), names_[0]->y());
    lists_[0]->move(TwipsToPixels(static_cast<int>(layout.ListLeft)), lists_[0]->y());
    pictures_[0]->move(TwipsToPixels(static_cast<int>(layout.PictureLeft)), pictures_[0]->y());
    progressButton_->move(TwipsToPixels(600), progressButton_->y());
}

void ResultsScreen::Refresh() {
    for (int i = 0; i < 2; ++i) {
        QListWidget* list = lists_[i];
        const auto& lines = board_.Lists[static_cast<std::size_t>(i)];
        // Lines are only ever added or replaced: rewrite what differs.
        while (list->count() > static_cast<int>(lines.size()))
            delete list->takeItem(list->count() - 1);
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const QString text = QString::fromStdString(lines[k]);
            if (static_cast<int>(k) < list->count()) {
                if (list->item(static_cast<int>(k))->text() != text)
                    list->item(static_cast<int>(k))->setText(text);
            } else {
                list->addItem(text);
            }
        }
        if (list->count() > 0) list->scrollToBottom();
        points_[i]->setText(
            QString::fromStdString(NumberText(board_.Points[static_cast<std::size_t>(i)])));
    }
}

void ResultsScreen::Command1_Click() {
    cues_.Play(SoundCue::Continuar);
    steps_.ResultsContinued();
}

void ResultsScreen::Command2_Click() {
    if (prompts_.AskYesNo("¿Quieres salir del programa?")) steps_.QuitConfirmed();
}

}  // namespace cifrano
