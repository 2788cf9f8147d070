#include "common/base_screen.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "common/geometry.h"
#include "common/native_window_view.h"

namespace cifrano {

namespace {

// Assistive technology sees each screen as a window named by its title, or by
// its accessible name when its title bar is empty (also while minimised).
class ScreenAccessible : public QAccessibleWidget {
  public:
    explicit ScreenAccessible(QWidget* screen) : QAccessibleWidget(screen, QAccessible::Window) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return widget()->accessibleName().isEmpty() ? widget()->windowTitle()
                                                        : widget()->accessibleName();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* ScreenAccessibleFactory(const QString&, QObject* object) {
    if (auto* screen = qobject_cast<BaseScreen*>(object)) return new ScreenAccessible(screen);
    return nullptr;
}

}  // namespace

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
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(ScreenAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
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
    // The whole window, with the frame the window manager puts around it, is
    // centred; the position is the frame's.
    const QMargins frame = ExpectedFrameMargins(this);
    const QSize outer = size().grownBy(frame);
    const auto left = CentredPosition(PixelsToTwips(area.width()), PixelsToTwips(outer.width()));
    const auto top = CentredPosition(PixelsToTwips(area.height()), PixelsToTwips(outer.height()));
    // Placed by its inside, before it is shown, so that it never jumps.
    const QPoint framePosition(area.x() + TwipsToPixels(static_cast<int>(left)),
                               area.y() + TwipsToPixels(static_cast<int>(top)));
    setGeometry(QRect(framePosition + QPoint(frame.left(), frame.top()), size()));
}

QSize BaseScreen::OuterSize() { return size().grownBy(ExpectedFrameMargins(this)); }

void BaseScreen::closeEvent(QCloseEvent* event) {
    // The flow decides what the close box means for each screen; the widget
    // itself is never destroyed by Qt behind the flow's back.
    event->ignore();
    steps_.CloseRequested(id_);
}

}  // namespace cifrano
