#pragma once
#include <QListWidget>
#include <array>
#include <string>

#include "common/base_screen.h"
#include "common/game_settings.h"
#include "common/sound_cues.h"

namespace cifrano {

// Form1: the operation type and the game length before each game. Stays open
// for the whole run; closing it ends the program.
class ExerciseSelectionScreen : public BaseScreen {
    Q_OBJECT
  public:
    ExerciseSelectionScreen(ScreenSteps& steps, SoundCues& cues, GameSettings& settings,
                            QString configurationFile, PlayerPictures pictures);
    void Load() override;

    // The text of the selected operation type, as written in the configuration file.
    std::string SelectedOperationText() const;

  public slots:
    void List1_Click();
    void Command2_Click(int index);  // minute buttons
    void Command1_Click();           // "ACEPTAR"

  private:
    bool LoadOperationTypes();
    void SetMinuteFace(int i, Rgb face);

    SoundCues& cues_;
    GameSettings& settings_;
    QString configurationFile_;
    PlayerPictures playerPictures_;
    QListWidget* list_ = nullptr;
    std::array<QPushButton*, 6> minuteButtons_{};
    QPushButton* accept_ = nullptr;
    std::array<PictureBox*, 2> pictures_{};
    static constexpr int kPictureHeight = 1215;
};

}  // namespace cifrano
