#include "setup/player_selection_screen.h"

#include <QCollator>
#include <QDir>
#include <QImageReader>
#include <algorithm>

#include "app/media_paths.h"
#include "app/screen_flow.h"
#include "setup/player_names.h"

namespace cifrano {

namespace {
constexpr int kLargestSide = 2048;  // pixels kept of a picture's longer side

QStringList UserFiles(const QString& folder) {
    // Files only, hidden and system files left out, sorted as a file dialog does.
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::NoSort);
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(),
              [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return names;
}
}  // namespace

QPixmap LoadUserPicture(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid() && std::max(size.width(), size.height()) > kLargestSide) {
        reader.setScaledSize(size.scaled(kLargestSide, kLargestSide, Qt::KeepAspectRatio));
    }
    const QImage image = reader.read();
    if (image.isNull()) return {};
    return QPixmap::fromImage(image);
}

PlayerSelectionScreen::PlayerSelectionScreen(ScreenFlow& flow)
    : BaseScreen(flow, ScreenId::PlayerSelection, 7440, 5805, colours::kSplashBackground,
                 QStringLiteral("Selección de jugadores")) {
    const QFont nameFont = DesignFont(18, true);
    names_[0] = MakeLabel(this, "Label1(0)", QString::fromUtf8(kNoPlayerOne.data()),
                          QRect(1200, 480, 2415, 495), nameFont);
    names_[1] = MakeLabel(this, "Label1(1)", QString::fromUtf8(kNoPlayerTwo.data()),
                          QRect(4320, 480, 2415, 495), nameFont);
    const int listLefts[2] = {720, 3720};
    for (int i = 0; i < 2; ++i) {
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("File1(%1)").arg(i));
        list->setGeometry(TwipsRect(listLefts[i], 1080, 2895, 1170));
        list->setFont(DesignFont(12));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        // Focus alone makes an item current without choosing it: only a
        // selection counts as a pick.
        connect(list, &QListWidget::itemSelectionChanged, this, [this, i] { File1_Click(i); });
        fileLists_[i] = list;
        pictures_[i] = new PictureBox(this, i == 0 ? "Image1(0)" : "Image1(1)",
                                      QRect(listLefts[i], 2400, 2775, 2175));
    }
    QPushButton* button =
        MakeButton(this, "Command1", QStringLiteral("CONTINUAR"), QRect(720, 4800, 5775, 810),
                   DesignFont(24, true), colours::kGreen);
    connect(button, &QPushButton::clicked, this, &PlayerSelectionScreen::Command1_Click);
    setTabOrder(fileLists_[0], fileLists_[1]);
    setTabOrder(fileLists_[1], button);
}

void PlayerSelectionScreen::Load() {
    CentreOnScreen();
    flow_.Settings().GameNumber = 1;
    usersFolder_ = flow_.DataPath(kUsersFolder);
    if (!QDir(usersFolder_).exists()) {
        flow_.Ask().Inform("No se encuentra la carpeta de usuarios: " + usersFolder_.toStdString());
        flow_.End(1);
        return;
    }
    const QStringList files = UserFiles(usersFolder_);
    for (QListWidget* list : fileLists_) {
        const QSignalBlocker blocker(list);
        list->addItems(files);
    }
    PictureHeight = 2175;
    flow_.Unload(ScreenId::Splash);
}

void PlayerSelectionScreen::File1_Click(int index) {
    if (index < 0 || index > 1) return;
    const QString fileName = ChosenFile(index);
    if (fileName.isEmpty()) return;
    PictureBox* box = pictures_[index];
    box->hide();
    QPixmap picture = LoadUserPicture(QDir(usersFolder_).filePath(fileName));
    // A file that is not a loadable picture keeps the player's previous picture.
    if (picture.isNull()) picture = box->Picture();
    box->ShowScaled(picture, PictureHeight);
    const std::string utf8 = fileName.toStdString();
    if (HasUserName(utf8)) names_[index]->setText(QString::fromStdString(UserName(utf8)));
    box->show();
}

QString PlayerSelectionScreen::PlayerName(int i) const { return names_[i]->text(); }

QString PlayerSelectionScreen::ChosenFile(int i) const {
    const QList<QListWidgetItem*> selected = fileLists_[i]->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QPixmap PlayerSelectionScreen::Picture(int i) const { return pictures_[i]->Picture(); }

void PlayerSelectionScreen::Command1_Click() {
    const QString first = names_[0]->text().toUpper();
    if (first == QStringLiteral("JUGADOR 1")) {
        flow_.Ask().Inform("Has de seleccionar el jugador 1");
        return;
    }
    if (first == names_[1]->text().toUpper()) {
        flow_.Ask().Inform("Se han de seleccionar nombres de jugadores diferentes");
        return;
    }
    flow_.Cues().Play(SoundCue::Continuar);
    flow_.MarkPlayersAccepted();
    flow_.Show(ScreenId::ExerciseSelection);
    flow_.Minimise(ScreenId::PlayerSelection);
}

}  // namespace cifrano
