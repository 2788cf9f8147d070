#pragma once
// Building blocks of every screen: twips to pixels, colours, the program's
// font, labels and buttons placed at their twips, and picture boxes.
#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QWidget>
#include <array>

#include "common/colours.h"

namespace cifrano {

// The title of the splash and the exercise selection screens.
QString ApplicationTitle();

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

// The two players' pictures, as chosen (either may be empty).
using PlayerPictures = std::array<QPixmap, 2>;

// Shows both players' pictures in their boxes at the screen's picture height.
void ShowPlayerPictures(const std::array<PictureBox*, 2>& boxes, const PlayerPictures& pictures,
                        int pictureHeightTwips);

}  // namespace cifrano
