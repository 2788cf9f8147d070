#include "common/base_screen.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

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

BaseScreen::BaseScreen(ScreenSteps& steps, ScreenId id, int clientWidthTwips, int clientHeightTwips,
                       Rgb background, const QString& title)
    : QWidget(nullptr), steps_(steps), id_(id) {
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
    steps_.CloseRequested(id_);
}

}  // namespace cifrano
