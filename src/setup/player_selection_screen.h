#pragma once
#include <QListWidget>
#include <QString>
#include <array>

#include "common/base_screen.h"
#include "common/game_settings.h"
#include "common/prompts.h"
#include "common/sound_cues.h"
#include "setup/picture_loader.h"
#include "setup/player_choice.h"

namespace cifrano {

// Form5: one or two players pick themselves from the users folder. Once
// accepted, the flow keeps it minimised and disabled to the end.
class PlayerSelectionScreen : public BaseScreen {
    Q_OBJECT
  public:
    // `pictures` decodes the picks' pictures; it outlives the screen.
    PlayerSelectionScreen(ScreenSteps& steps, SoundCues& cues, Prompts& prompts,
                          GameSettings& settings, QString usersFolder, PictureLoader& pictures);
    void Load() override;

    // The pictures of the picks, decoded off the interface thread.
    PictureLoader& Pictures() { return loader_; }

    // The height, in device pixels, every screen's pictures are decoded at.
    static int DecodedPictureHeight(qreal devicePixelRatio);
    // Starts decoding ahead the large pictures of the users folder, if it can be read.
    static void DecodeAhead(PictureLoader& pictures, const QString& usersFolder);

  public slots:
    void File1_Click(int index);
    void Command1_Click();  // "CONTINUAR"

  private:
    // A pick's picture is ready (null when the file is not a loadable picture).
    void ShowPicture(int index, const QString& path, const QPixmap& picture);

    SoundCues& cues_;
    Prompts& prompts_;
    GameSettings& settings_;
    QString usersFolder_;
    PlayerChoice choice_;
    std::array<QLabel*, 2> names_{};
    std::array<QListWidget*, 2> fileLists_{};
    std::array<PictureBox*, 2> pictures_{};
    // The file whose picture each box waits for.
    std::array<QString, 2> requested_{};
    PictureLoader& loader_;
    // The tallest picture box of all the screens.
    static constexpr int kPictureHeight = 2175;
};

}  // namespace cifrano
