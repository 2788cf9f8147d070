#include "app/base_screen.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "app/screen_flow.h"
#include "common/geometry.h"

namespace cifrano {

const char* DesignedName(ScreenId id) {
    switch (id) {
        case ScreenId::Splash:
            return "Form4";
        case ScreenId::PlayerSelection:
            return "Form5";
        case ScreenId::ExerciseSelection:
            return "Form1";
        case ScreenId::Game:
            return "Form2";
        case ScreenId::Results:
            return "Form3";
    }
    return "";
}

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
    const PictureSize scaled = ScalePicture(natural, pictureHeightTwips);
    if (scaled.IsEmpty()) {
        clear();
        resize(0, 0);
        return;
    }
    setPixmap(picture);
    resize(TwipsToPixels(scaled.width), TwipsToPixels(scaled.height));
}

BaseScreen::BaseScreen(ScreenFlow& flow, ScreenId id, int clientWidthTwips, int clientHeightTwips,
                       Rgb background, const QString& title)
    : QWidget(nullptr), flow_(flow), id_(id) {
    setObjectName(QString::fromLatin1(DesignedName(id)));
    setWindowTitle(title);
    setFixedSize(TwipsToPixels(clientWidthTwips), TwipsToPixels(clientHeightTwips));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(background));
    setPalette(palette);
}

void BaseScreen::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const auto left = CentredPosition(PixelsToTwips(area.width()), PixelsToTwips(width()));
    const auto top = CentredPosition(PixelsToTwips(area.height()), PixelsToTwips(height()));
    move(area.x() + TwipsToPixels(static_cast<int>(left)),
         area.y() + TwipsToPixels(static_cast<int>(top)));
}

void BaseScreen::closeEvent(QCloseEvent* event) {
    // The flow decides what the close box means for each screen; the widget
    // itself is never destroyed by Qt behind the flow's back.
    event->ignore();
    flow_.CloseRequested(id_);
}

}  // namespace cifrano
