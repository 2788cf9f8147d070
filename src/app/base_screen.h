#pragma once
// What every screen shares: its designed client size and background in
// twips, centring at load, and the way its close box reaches the screen flow.
#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QWidget>

#include "common/colours.h"

namespace cifrano {

class ScreenFlow;

// The five screens; their designed names are Form1 to Form5.
enum class ScreenId { Splash, PlayerSelection, ExerciseSelection, Game, Results };
inline constexpr int kScreenCount = 5;
const char* DesignedName(ScreenId id);

QRect TwipsRect(int left, int top, int width, int height);
QColor ToQColor(Rgb colour);
// Arial at the designed point size (Liberation Sans where Arial is absent).
QFont DesignFont(double points, bool bold = false);
void SetFaceColour(QAbstractButton* button, Rgb face);
void SetTextColour(QWidget* widget, Rgb colour);

// A label or button placed at its designed twips, named by its designed name.
QLabel* MakeLabel(QWidget* parent, const char* designedName, const QString& text, QRect twips,
                  const QFont& font, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
QPushButton* MakeButton(QWidget* parent, const char* designedName, const QString& text, QRect twips,
                        const QFont& font, Rgb face);

// An image box: shows a picture stretched to its own size.
class PictureBox : public QLabel {
  public:
    PictureBox(QWidget* parent, const char* designedName, QRect twips);
    // Shows the picture at the given height in twips with its width in proportion;
    // an empty picture leaves the box empty. The box keeps its left and top.
    void ShowScaled(const QPixmap& picture, int pictureHeightTwips);
    const QPixmap& Picture() const { return picture_; }

  private:
    QPixmap picture_;
};

class BaseScreen : public QWidget {
    Q_OBJECT
  public:
    BaseScreen(ScreenFlow& flow, ScreenId id, int clientWidthTwips, int clientHeightTwips,
               Rgb background, const QString& title);
    ScreenId Id() const { return id_; }

    // The screen's load handler: runs once, right after the screen is created.
    virtual void Load() { CentreOnScreen(); }
    // The screen's unload handler: runs before the screen is destroyed.
    virtual void Unload() {}

  protected:
    void CentreOnScreen();
    void closeEvent(QCloseEvent* event) override;
    ScreenFlow& flow_;

  private:
    ScreenId id_;
};

}  // namespace cifrano
