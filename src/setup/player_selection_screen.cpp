#include "setup/player_selection_screen.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "common/geometry.h"

namespace cifrano {

namespace {

constexpr int kMostUsers = 5000;  // more would only make the lists unusable

struct UserFolder {
    QStringList files;
    int skipped = 0;  // names that cannot be shown
    bool truncated = false;
};

UserFolder ReadUserFolder(const QString& folder) {
    // Files only, hidden and system files left out.
    UserFolder read;
    std::vector<std::string> names;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        const std::string name = it.nextFileInfo().fileName().toStdString();
        if (!IsShowableFileName(name)) {
            ++read.skipped;
        } else if (names.size() == kMostUsers) {
            read.truncated = true;
            break;
        } else {
            names.push_back(name);
        }
    }
    SortUserFiles(names);
    for (const std::string& name : names) read.files << QString::fromStdString(name);
    return read;
}
}  // namespace

PlayerSelectionScreen::PlayerSelectionScreen(ScreenSteps& steps, SoundCues& cues, Prompts& prompts,
                                             GameSettings& settings, QString usersFolder,
                                             PictureLoader& pictures)
    : BaseScreen(steps, ScreenId::PlayerSelection, 7440, 5805, colours::kSplashBackground,
                 QStringLiteral("Selección de jugadores")),
      cues_(cues),
      prompts_(prompts),
      settings_(settings),
      usersFolder_(std::move(usersFolder)),
      loader_(pictures) {
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
    connect(&loader_, &PictureLoader::Delivered, this, &PlayerSelectionScreen::ShowPicture);
}

// Every screen shows the pictures at most as tall as this screen does.
int PlayerSelectionScreen::DecodedPictureHeight(qreal devicePixelRatio) {
    return static_cast<int>(std::ceil(TwipsToPixels(kPictureHeight) * devicePixelRatio));
}

void PlayerSelectionScreen::DecodeAhead(PictureLoader& pictures, const QString& usersFolder) {
    const QFileInfo folder(usersFolder);
    if (folder.isDir() && folder.isReadable() && folder.isExecutable())
        pictures.Prefetch(usersFolder, ReadUserFolder(usersFolder).files);
}

void PlayerSelectionScreen::Load() {
    CentreOnScreen();
    settings_.GameNumber = 1;
    const QFileInfo folder(usersFolder_);
    if (!folder.isDir()) {
        steps_.LoadFailed("No se encuentra la carpeta de usuarios: " + usersFolder_.toStdString());
        return;
    }
    if (!folder.isReadable() || !folder.isExecutable()) {
        steps_.LoadFailed("No se puede leer la carpeta de usuarios: " + usersFolder_.toStdString());
        return;
    }
    const UserFolder users = ReadUserFolder(usersFolder_);
    for (QListWidget* list : fileLists_) {
        const QSignalBlocker blocker(list);
        list->addItems(users.files);
    }
    // Large pictures are decoded while the player reads the names (if the
    // splash has not started them), so that a pick shows its picture at once.
    loader_.Prefetch(usersFolder_, users.files);
    if (users.skipped == 1)
        prompts_.Inform("Se ha omitido un archivo de la carpeta de usuarios porque su nombre no "
                        "se puede mostrar. Cámbiele el nombre para poder elegirlo.");
    if (users.skipped > 1)
        prompts_.Inform("Se han omitido " + std::to_string(users.skipped) +
                        " archivos de la carpeta de usuarios porque su nombre no se puede "
                        "mostrar. Cámbieles el nombre para poder elegirlos.");
    if (users.truncated)
        prompts_.Inform("La carpeta de usuarios tiene más de " + std::to_string(kMostUsers) +
                        " archivos; solo se muestran los primeros.");
}

void PlayerSelectionScreen::File1_Click(int index) {
    if (index < 0 || index > 1) return;
    const QList<QListWidgetItem*> selected = fileLists_[index]->selectedItems();
    if (selected.isEmpty()) return;
    const QString fileName = selected.first()->text();
    // The name follows the pick at once. Until its picture is ready the pick
    // counts as one whose picture has not loaded: the previous picture stays.
    choice_.Pick(index, fileName.toStdString(), false);
    names_[index]->setText(QString::fromStdString(choice_.Players().Names[index]));
    requested_[index] = QDir(usersFolder_).filePath(fileName);
    loader_.Request(index, requested_[index]);
}

void PlayerSelectionScreen::ShowPicture(int index, const QString& path, const QPixmap& picture) {
    if (index < 0 || index > 1 || path != requested_[index]) return;
    // `path` may be the request itself, delivered at once: read it before clearing.
    const QString fileName = QFileInfo(path).fileName();
    requested_[index].clear();
    if (!choice_.Pick(index, fileName.toStdString(), !picture.isNull())) return;
    PictureBox* box = pictures_[index];
    box->hide();
    box->ShowScaled(picture, kPictureHeight);
    box->show();
}

void PlayerSelectionScreen::Command1_Click() {
    // The players go on with the pictures their picks call for: any still
    // being decoded is finished first.
    for (int i = 0; i < 2; ++i) loader_.Finish(i);
    if (const auto problem = choice_.AcceptanceProblem()) {
        prompts_.Inform(*problem);
        return;
    }
    cues_.Play(SoundCue::Continuar);
    steps_.PlayersAccepted(choice_.Players(), {pictures_[0]->Picture(), pictures_[1]->Picture()});
}

}  // namespace cifrano
