#pragma once
#include <QListWidget>
#include <QString>
#include <array>

#include "app/base_screen.h"

namespace cifrano {

// Form5: one or two players pick themselves from the users folder. After it is
// accepted it stays loaded, minimised and disabled, holding the players'
// names, chosen files and pictures for the rest of the run.
class PlayerSelectionScreen : public BaseScreen {
    Q_OBJECT
  public:
    explicit PlayerSelectionScreen(ScreenFlow& flow);
    void Load() override;

    // Player i+1's name caption ("Jugador 1" / "Jugador 2" when not chosen).
    QString PlayerName(int i) const;
    // Player i+1's chosen file name, empty when none.
    QString ChosenFile(int i) const;
    // Player i+1's picture, as loaded (possibly empty).
    QPixmap Picture(int i) const;
    QListWidget* FileList(int i) const { return fileLists_[i]; }

    int PictureHeight = 2175;

  public slots:
    void File1_Click(int index);
    void Command1_Click();  // "CONTINUAR"

  private:
    std::array<QLabel*, 2> names_{};
    std::array<QListWidget*, 2> fileLists_{};
    std::array<PictureBox*, 2> pictures_{};
    QString usersFolder_;
};

// Loads a picture file; very large pictures are read scaled down, keeping
// their proportions. An empty pixmap when the file is not a loadable picture.
QPixmap LoadUserPicture(const QString& path);

}  // namespace cifrano
