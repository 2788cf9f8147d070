#include "game/game_screen.h"

#include <QBuffer>
#include <QImageReader>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "common/geometry.h"
#include "common/media_file_loader.h"
#include "common/media_paths.h"
#include "common/native_window_view.h"
#include "common/numbers.h"

namespace cifrano {

namespace {

// Designed controls of Form2, in twips.
constexpr QRect kCommand1{1800, 6600, 5775, 1095};
constexpr QRect kLabel8[2]{{480, 120, 1335, 375}, {1800, 120, 1335, 375}};
constexpr QRect kLabel9[2]{{3480, 120, 615, 375}, {5760, 120, 495, 375}};
constexpr QRect kLabel10[2]{{4080, 120, 1335, 375}, {6240, 120, 1335, 375}};
constexpr QRect kImage1{7920, 3000, 1335, 1095};
constexpr QRect kCommand2[2]{{7800, 600, 1215, 2415}, {7800, 4080, 1215, 2415}};
constexpr QRect kGif89a1{0, 6600, 1215, 1215};
constexpr int kClockInterval = 1000;  // Timer1
constexpr int kFigureInterval = 250;  // Timer2
// The largest figure file read, and the most its frames may take when kept.
constexpr qint64 kMaxFigureFileBytes = 8 * 1024 * 1024;
constexpr qint64 kMaxKeptFrameBytes = 32 * 1024 * 1024;

QRect Twips(const QRect& r) { return TwipsRect(r.x(), r.y(), r.width(), r.height()); }

QLabel* CounterLabel(QWidget* parent, const char* name, const QString& text, const QRect& twips,
                     const QFont& font, Rgb colour) {
    QLabel* label = MakeLabel(parent, name, text, twips, font);
    SetTextColour(label, colour);
    return label;
}

}  // namespace

QPixmap ArrowPicture(bool pointsUp, QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    // A broad head over a shaft, pointing the way the sheet's rows come from.
    QPainterPath arrow;
    const qreal headDepth = h * 0.45;
    const qreal shaftHalf = w * 0.16;
    const qreal tip = h * 0.04;
    arrow.moveTo(w / 2, tip);
    arrow.lineTo(w * 0.96, headDepth);
    arrow.lineTo(w / 2 + shaftHalf, headDepth);
    arrow.lineTo(w / 2 + shaftHalf, h * 0.96);
    arrow.lineTo(w / 2 - shaftHalf, h * 0.96);
    arrow.lineTo(w / 2 - shaftHalf, headDepth);
    arrow.lineTo(w * 0.04, headDepth);
    arrow.closeSubpath();
    if (!pointsUp) {
        QTransform flip;
        flip.translate(0, h);
        flip.scale(1, -1);
        arrow = flip.map(arrow);
    }
    painter.setPen(QPen(QColor(0, 0, 64), 2));
    painter.setBrush(QColor(0, 0, 255));
    painter.drawPath(arrow);
    return pixmap;
}

GameScreen::GameScreen(ScreenSteps& steps, SoundCues& cues, const GameSettings& settings,
                       std::string operationText, PlayerPictures pictures, std::uint64_t seed,
                       QString appFolder)
    : BaseScreen(steps, ScreenId::Game, 9345, 7830, colours::kWhite, QString()),
      session_(settings, std::move(operationText), cues),
      random_(seed),
      playerPictures_(std::move(pictures)),
      appFolder_(std::move(appFolder)) {
    session_.NumberSeparator = DecimalSeparator(QLocale().decimalPoint().toStdString());
    // The title bar stays empty; assistive technology still needs a name.
    setAccessibleName(QStringLiteral("Partida"));
    startButton_ = MakeButton(this, "Command1", QString::fromLatin1(kStartCaption), kCommand1,
                              DesignFont(36, true), colours::kGreen);
    connect(startButton_, &QPushButton::clicked, this, &GameScreen::Command1_Click);

    sheetView_ = new SheetView(session_, this);
    connect(sheetView_, &SheetView::Changed, this, &GameScreen::ShowSession);

    const QFont captionFont = DesignFont(14.25, true);
    lengthLabel_ = MakeLabel(this, "Label8(0)", QString(), kLabel8[0], captionFont);
    clockLabel_ = MakeLabel(this, "Label8(1)", QString(), kLabel8[1], captionFont);
    {
        QPalette palette = clockLabel_->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
        clockLabel_->setPalette(palette);
    }
    const QFont counterFont = DesignFont(18);
    hitCountLabel_ =
        CounterLabel(this, "Label9(0)", QString(), kLabel9[0], counterFont, colours::kGreen);
    errorCountLabel_ =
        CounterLabel(this, "Label9(1)", QString(), kLabel9[1], counterFont, colours::kRed);
    CounterLabel(this, "Label10(0)", QStringLiteral("Aciertos"), kLabel10[0], counterFont,
                 colours::kDarkGreen);
    CounterLabel(this, "Label10(1)", QStringLiteral("Errores"), kLabel10[1], counterFont,
                 colours::kRed);

    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("Command2(%1)").arg(i));
        button->setGeometry(Twips(kCommand2[i]));
        const QSize iconSize(button->width() * 3 / 4, button->height() / 2);
        // Sharp on large screens too: the icon holds the arrow at each usual ratio.
        QIcon arrow;
        for (const qreal ratio : {1.0, 2.0, 3.0})
            arrow.addPixmap(ArrowPicture(i == 0, iconSize, ratio));
        button->setIcon(arrow);
        button->setIconSize(iconSize);
        // Scrolling leaves the focus in the answer box.
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }
    // The pictures stand over the arrow buttons' inner ends.
    pictures_[0] = new PictureBox(this, "Image1(0)", kImage1);
    pictures_[1] = new PictureBox(this, "Image1(1)", kImage1);

    figure_ = new QLabel(this);
    figure_->setObjectName(QStringLiteral("Gif89a1"));
    figure_->setGeometry(Twips(kGif89a1));
    figure_->setScaledContents(true);
    figure_->setAttribute(Qt::WA_TransparentForMouseEvents);
    figure_->hide();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kClockInterval);
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, &GameScreen::Timer1_Timer);
    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(kFigureInterval);
    timer2_->setTimerType(Qt::PreciseTimer);
    connect(timer2_, &QTimer::timeout, this, &GameScreen::Timer2_Timer);
}

// The sheet view paints and edits the session: it goes before the session does.
GameScreen::~GameScreen() { delete sheetView_; }

void GameScreen::Load() {
    KeepTitleBarEmpty(this);
    CentreOnScreen();
    ShowPlayerPictures(pictures_, playerPictures_, session_.PictureHeight);
    pictures_[1 - (session_.ShownPicture == 1 ? 1 : 0)]->hide();
    ShowSession();
    sheetView_->Refresh();
}

void GameScreen::Unload() {
    // A closed game stops here: no tick may end it afterwards and write a line.
    session_.Stop();
    timer1_->stop();
    timer2_->stop();
    if (movie_) movie_->stop();
}

void GameScreen::ShowSession() {
    lengthLabel_->setText(QString::fromStdString(session_.LengthCaption()));
    clockLabel_->setText(QString::fromStdString(session_.ClockCaption));
    hitCountLabel_->setText(QString::fromStdString(session_.HitCaption()));
    errorCountLabel_->setText(QString::fromStdString(session_.ErrorCaption()));
    startButton_->setText(QString::fromLatin1(session_.ButtonCaption()));
    startButton_->setVisible(session_.ButtonShown);

    // A timer is started only when it is off, so that a running clock keeps its beat.
    for (QTimer* timer : {timer1_, timer2_}) {
        if (session_.TimersEnabled != timer->isActive())
            session_.TimersEnabled ? timer->start() : timer->stop();
    }

    MoveFigure();
    if (figure_->isHidden() == session_.FigureShown()) {
        figure_->setVisible(session_.FigureShown());
        if (QMovie* shown = figure_->movie())
            session_.FigureShown() ? shown->start() : shown->stop();
    }
    if (sheetView_->isEnabled() != session_.Sheet.Enabled)
        sheetView_->setEnabled(session_.Sheet.Enabled);
}

void GameScreen::LoadFigure() {
    delete movie_;
    movie_ = nullptr;
    const QString path =
        QString::fromStdString(DataPath(appFolder_.toStdString(), session_.AnimationFile()));
    // The file is read once a game, into memory; a file that is not a regular
    // file of at most kMaxFigureFileBytes leaves the figure empty.
    const QByteArray bytes = ReadMediaFile(path, kMaxFigureFileBytes).value_or(QByteArray());
    movie_ = new QMovie(this);
    auto* data = new QBuffer(movie_);
    data->setData(bytes);
    data->open(QIODevice::ReadOnly);
    movie_->setDevice(data);
    // Its frames are kept after the first loop, so later loops decode nothing,
    // unless all of them would take more than kMaxKeptFrameBytes.
    QBuffer probeData;
    probeData.setData(bytes);
    probeData.open(QIODevice::ReadOnly);
    QImageReader probe(&probeData);
    const QSize frame = probe.size();
    if (frame.isValid() &&
        qint64(frame.width()) * frame.height() * 4 * std::max(1, probe.imageCount()) <=
            kMaxKeptFrameBytes) {
        movie_->setCacheMode(QMovie::CacheAll);
    }
    // A missing or broken file leaves the figure empty; the game goes on.
    connect(movie_, &QMovie::error, figure_, &QLabel::clear);
    if (movie_->isValid() && movie_->jumpToFrame(0)) {
        figure_->setMovie(movie_);
    } else {
        figure_->clear();
    }
}

void GameScreen::MoveFigure() {
    figure_->move(TwipsToPixels(session_.GifLeft), TwipsToPixels(kGif89a1.y()));
}

void GameScreen::Command1_Click() {
    switch (session_.Command1_Click(random_)) {
        case ButtonOutcome::GameStarted:
            LoadFigure();
            ShowSession();
            sheetView_->Refresh();
            break;
        case ButtonOutcome::LeaveScreen:
            steps_.GameLeft();
            break;
        case ButtonOutcome::Ignored:
            break;
    }
}

void GameScreen::Command2_Click(int index) {
    session_.Command2_Click(index);
    sheetView_->Refresh();
}

void GameScreen::Timer1_Timer() {
    const std::optional<GameOutcome> outcome = session_.Timer1_Timer();
    ShowSession();
    if (outcome) {
        // The last check may have recoloured the active row.
        sheetView_->Refresh();
        steps_.GameFinished(*outcome);
    }
}

void GameScreen::Timer2_Timer() {
    session_.Timer2_Timer();
    MoveFigure();
}

}  // namespace cifrano
