#pragma once
#include <QListWidget>
#include <array>
#include <string>

#include "app/base_screen.h"

namespace cifrano {

// Form1: the operation type and the game length before each game. Stays open
// for the whole run; closing it ends the program.
class ExerciseSelectionScreen : public BaseScreen {
    Q_OBJECT
  public:
    explicit ExerciseSelectionScreen(ScreenFlow& flow);
    void Load() override;

    // The text of the selected operation type, as written in the configuration file.
    std::string SelectedOperationText() const;
    QListWidget* OperationList() const { return list_; }
    QPushButton* MinuteButton(int i) const { return minuteButtons_[i]; }
    // The face colour the program gave minute button i.
    Rgb MinuteFace(int i) const { return minuteFaces_[i]; }

    int PictureHeight = 1215;

  public slots:
    void List1_Click();
    void Command2_Click(int index);  // minute buttons
    void Command1_Click();           // "ACEPTAR"

  private:
    bool LoadOperationTypes();
    void ShowPlayerPictures();
    void SetMinuteFace(int i, Rgb face);

    QListWidget* list_ = nullptr;
    std::array<QPushButton*, 6> minuteButtons_{};
    std::array<Rgb, 6> minuteFaces_{};
    std::array<PictureBox*, 2> pictures_{};
};

}  // namespace cifrano
