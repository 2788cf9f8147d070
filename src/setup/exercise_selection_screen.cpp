#include "setup/exercise_selection_screen.h"

#include "setup/operation_types.h"

namespace cifrano {

ExerciseSelectionScreen::ExerciseSelectionScreen(ScreenSteps& steps, SoundCues& cues,
                                                 GameSettings& settings,
                                                 QString configurationFile,
                                                 PlayerPictures pictures)
    : BaseScreen(steps, ScreenId::ExerciseSelection, 8925, 6495, colours::kWhite,
                 ApplicationTitle()),
      cues_(cues),
      settings_(settings),
      configurationFile_(std::move(configurationFile)),
      playerPictures_(std::move(pictures)) {
    MakeLabel(this, "Label2", QStringLiteral("Selección del tipo de operación"),
              QRect(480, 360, 3735, 375), DesignFont(12, true));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setGeometry(TwipsRect(480, 840, 3375, 4020));
    list_->setFont(DesignFont(14.25, true));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setStyleSheet(QStringLiteral(
        "QListWidget { background-color: rgb(255,128,0); color: white; }"
        "QListWidget::item:selected { background-color: rgb(0,0,128); color: white; }"));
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) List1_Click();
    });

    MakeLabel(this, "Label1(0)", QStringLiteral("TIEMPO "), QRect(4320, 960, 3735, 975),
              DesignFont(36, true));
    MakeLabel(this, "Label1(1)", QStringLiteral("en minutos"), QRect(5040, 1800, 3375, 615),
              DesignFont(27.75, true));
    const int lefts[3] = {4800, 6000, 7320};
    const int tops[2] = {2640, 3840};
    for (int i = 0; i < 6; ++i) {
        const QString name = QStringLiteral("Command2(%1)").arg(i);
        QPushButton* button = MakeButton(this, name.toLatin1().constData(), QString::number(i + 1),
                                         QRect(lefts[i % 3], tops[i / 3], 1095, 975),
                                         DesignFont(48, true), colours::kWhite);
        connect(button, &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        minuteButtons_[i] = button;
    }
    pictures_[0] = new PictureBox(this, "Image1(0)", QRect(480, 5040, 1335, 1215));
    pictures_[1] = new PictureBox(this, "Image1(1)", QRect(6960, 5040, 1335, 1215));
    accept_ =
        MakeButton(this, "Command1", QStringLiteral("ACEPTAR"), QRect(2160, 5400, 4575, 855),
                   DesignFont(27.75, true), colours::kGreen);
    connect(accept_, &QPushButton::clicked, this, &ExerciseSelectionScreen::Command1_Click);

    setTabOrder(accept_, list_);
    setTabOrder(list_, minuteButtons_[0]);
    for (int i = 0; i + 1 < 6; ++i) setTabOrder(minuteButtons_[i], minuteButtons_[i + 1]);
}

void ExerciseSelectionScreen::Load() {
    CentreOnScreen();
    if (!LoadOperationTypes()) return;
    ShowPlayerPictures(pictures_, playerPictures_, kPictureHeight);
    SetMinuteFace(0, colours::kBlue);
    settings_.GameMinutes = 1;
    for (int i = 1; i < 6; ++i) SetMinuteFace(i, colours::kWhite);
    // "ACEPTAR" comes first in the tab order and holds the focus when the screen opens.
    accept_->setFocus(Qt::OtherFocusReason);
}

bool ExerciseSelectionScreen::LoadOperationTypes() {
    const OperationTypesResult result = ReadOperationTypes(configurationFile_.toStdString());
    if (!result.error.empty()) {
        steps_.LoadFailed(result.error);
        return false;
    }
    {
        const QSignalBlocker blocker(list_);
        for (const std::string& item : result.items) list_->addItem(QString::fromStdString(item));
    }
    list_->setCurrentRow(0);  // raises the list's click: LIST cue and OperationFields
    return true;
}

void ExerciseSelectionScreen::List1_Click() {
    cues_.Play(SoundCue::List);
    settings_.OperationFields = SplitOperationType(SelectedOperationText());
}

std::string ExerciseSelectionScreen::SelectedOperationText() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->text().toStdString() : std::string();
}

void ExerciseSelectionScreen::SetMinuteFace(int i, Rgb face) {
    SetFaceColour(minuteButtons_[i], face);
    if (face == colours::kBlue) {  // white digits on the blue face
        minuteButtons_[i]->setStyleSheet(minuteButtons_[i]->styleSheet() +
                                         QStringLiteral("QPushButton { color: white; }"));
    }
}

void ExerciseSelectionScreen::Command2_Click(int index) {
    if (index < 0 || index > 5) return;
    cues_.Play(SoundCue::Boton);
    for (int k = 0; k < 6; ++k) SetMinuteFace(k, k == index ? colours::kBlue : colours::kWhite);
    settings_.GameMinutes = static_cast<short>(index + 1);
}

void ExerciseSelectionScreen::Command1_Click() {
    cues_.Play(SoundCue::Continuar);
    steps_.ExerciseAccepted();
}

}  // namespace cifrano
