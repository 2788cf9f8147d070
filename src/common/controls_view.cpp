#include "common/controls_view.h"

#include "common/geometry.h"

namespace cifrano {

QString ApplicationTitle() { return QStringLiteral("Cifrano 1.1 - cifrano@example.org"); }

QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

QColor ToQColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

QFont DesignFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    // The designed sizes assume 96 dots per inch: set pixels so every machine
    // lays the screens out the same way.
    font.setPixelSize(static_cast<int>(points * 96.0 / 72.0 + 0.5));
    font.setBold(bold);
    return font;
}

void SetFaceColour(QAbstractButton* button, Rgb face) {
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black;"
                                         " border: 2px outset #808080; }"
                                         "QPushButton:pressed { border-style: inset; }"
                                         "QPushButton:focus { border: 2px solid #303030; }")
                              .arg(ToQColor(face).name()));
}

void SetTextColour(QWidget* widget, Rgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToQColor(colour));
    palette.setColor(QPalette::Text, ToQColor(colour));
    widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* designedName, const QString& text, QRect twips,
                  const QFont& font, Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(designedName));
    label->setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* designedName, const QString& text, QRect twips,
                        const QFont& font, Rgb face) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(designedName));
    button->setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    button->setFont(font);
    // Enter (and the keypad's Enter) presses the focused button, as Space does.
    button->setAutoDefault(true);
    SetFaceColour(button, face);
    return button;
}

PictureBox::PictureBox(QWidget* parent, const char* designedName, QRect twips) : QLabel(parent) {
    setObjectName(QString::fromLatin1(designedName));
    setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    setScaledContents(true);
}

void PictureBox::ShowScaled(const QPixmap& picture, int pictureHeightTwips) {
    picture_ = picture;
    const PictureSize natural{PixelsToTwips(picture.width()), PixelsToTwips(picture.height())};
    // A picture may reach past the window's edge, as a wide photo does on the
    // game screen, but never be drawn wider than the window itself.
    const int room = parentWidget() ? PixelsToTwips(parentWidget()->width()) : 1 << 30;
    const PictureSize scaled = ScalePicture(natural, pictureHeightTwips, room);
    if (scaled.IsEmpty()) {
        clear();
        resize(0, 0);
        return;
    }
    setPixmap(picture);
    resize(TwipsToPixels(scaled.width), TwipsToPixels(scaled.height));
}

void ShowPlayerPictures(const std::array<PictureBox*, 2>& boxes, const PlayerPictures& pictures,
                        int pictureHeightTwips) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->hide();
        boxes[i]->ShowScaled(pictures[i], pictureHeightTwips);
        boxes[i]->show();
    }
}

}  // namespace cifrano
