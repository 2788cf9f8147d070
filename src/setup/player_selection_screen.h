#pragma once
#include <QListWidget>
#include <QString>
#include <array>

#include "common/base_screen.h"
#include "common/game_settings.h"
#include "common/prompts.h"
#include "common/sound_cues.h"
#include "setup/player_choice.h"

namespace cifrano {

// Form5: one or two players pick themselves from the users folder. Once
// accepted, the flow keeps it minimised and disabled to the end.
class PlayerSelectionScreen : public BaseScreen {
    Q_OBJECT
  public:
    PlayerSelectionScreen(ScreenSteps& steps, SoundCues& cues, Prompts& prompts,
                          GameSettings& settings, QString usersFolder);
    void Load() override;

  public slots:
    void File1_Click(int index);
    void Command1_Click();  // "CONTINUAR"

  private:
    SoundCues& cues_;
    Prompts& prompts_;
    GameSettings& settings_;
    QString usersFolder_;
    PlayerChoice choice_;
    std::array<QLabel*, 2> names_{};
    std::array<QListWidget*, 2> fileLists_{};
    std::array<PictureBox*, 2> pictures_{};
    static constexpr int kPictureHeight = 2175;
};

// Loads a picture file; very large pictures are read scaled down, keeping
// their proportions. An empty pixmap when the file is not a loadable picture.
QPixmap LoadUserPicture(const QString& path);

}  // namespace cifrano
