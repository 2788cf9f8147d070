// A probe preloaded (LD_PRELOAD) into the program under measurement, the game
// or the bare window alike: it changes nothing in them. It notes when each
// window has painted a frame and the display has taken it, drives the
// screens like a player, and writes what it saw to the file named by
// CIFRANO_PROBE_LOG, one line an event:
//
//   app <ns>                         the application object is being made
//   painted <window> <ns>            a top-level window painted a frame
//   first <ns> <resident kB>         the first frame of the run
//   game <ns> <resident kB>          the game screen's first frame
//   click <ns>                       a click posted on a user of File1(0)
//   repainted <ns>                   the window's first frame after it
//   picture <ns>                     the first frame that shows the new picture
//
// Times are CLOCK_MONOTONIC nanoseconds, comparable across processes.
// CIFRANO_PROBE_SCRIPT tells what to do:
//   first          stop after the first painted frame
//   game:A,B       continue the splash, pick A (and B), accept, accept the
//                  exercise, stop once the game screen has painted
//   game:A,B:ms    the same, then press "Inicio" and play for ms milliseconds
//   select:A,B     continue the splash, pick A (and B) and stay there (for
//                  screenshots; the run ends after 30 s)
//   pick:F         on the player selection (or the bare window's list),
//                  click user F and stop once its picture is shown
//   pick:F:ms      the same, clicking ms milliseconds after the list is shown
//   pick:F:ms:s    the same, continuing the splash s milliseconds after it is
//                  shown (a reader's pace) instead of at once
#include <xcb/xcb.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace {

long long Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

long ResidentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

class Probe : public QObject {
  public:
    Probe() : QObject(qApp) {
        log_.setFileName(qEnvironmentVariable("CIFRANO_PROBE_LOG"));
        log_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
        const QStringList script = qEnvironmentVariable("CIFRANO_PROBE_SCRIPT").split(':');
        mode_ = script.value(0);
        argument_ = script.value(1);
        playMillis_ = script.value(2).toInt();
        splashMillis_ = script.value(3).toInt();
        qApp->installEventFilter(this);
        Write(QStringLiteral("app %1").arg(Now()));
        // Nothing may keep a run from ending.
        QTimer::singleShot(30000, qApp, [this] {
            Write("timeout");
            Quit();
        });
    }

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (dispatching_) {
            if (event->type() == QEvent::Paint) painted_ = true;
            return false;
        }
        // A top-level window paints and flushes a frame on its exposure and
        // on its update requests: both are dispatched here, then timed.
        QWidget* window = nullptr;
        if (event->type() == QEvent::Expose) {
            if (auto* w = qobject_cast<QWindow*>(receiver)) {
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (top->windowHandle() == w) window = top;
            }
        } else if (event->type() == QEvent::UpdateRequest) {
            auto* w = qobject_cast<QWidget*>(receiver);
            if (w && w->isWindow()) window = w;
        }
        if (!window) return false;
        dispatching_ = true;
        painted_ = false;
        QCoreApplication::sendEvent(receiver, event);
        dispatching_ = false;
        if (painted_ && window->windowHandle() && window->windowHandle()->isExposed()) {
            // On X11, a round trip: the server has handled the frame's requests.
            if (auto* x11 = QGuiApplication::platformName() == QLatin1String("xcb")
                                ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                : nullptr) {
                xcb_connection_t* connection = x11->connection();
                std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection),
                                                    nullptr));
            }
            Painted(window, Now());
        }
        return true;
    }

  private:
    void Write(const QString& line) { log_.write((line + QLatin1Char('\n')).toUtf8()); }

    void Quit() {
        log_.close();
        // The run is over: no unload handlers, no waiting for workers.
        std::fflush(nullptr);
        std::_Exit(0);
    }

    void Painted(QWidget* window, long long ns) {
        const QString name = window->objectName();
        Write(QStringLiteral("painted %1 %2")
                  .arg(name.isEmpty() ? QStringLiteral("-") : name)
                  .arg(ns));
        if (!first_) {
            first_ = true;
            Write(QStringLiteral("first %1 %2").arg(ns).arg(ResidentKilobytes()));
            if (mode_ == QLatin1String("first")) return Quit();
        }
        if (mode_ == QLatin1String("game") || mode_ == QLatin1String("select"))
            return Game(window, ns);
        if (mode_ == QLatin1String("pick")) return Pick(window, ns);
    }

    // Later, from the event loop: what a player's click would start.
    static void Click(QWidget* window, const char* name) {
        if (auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name)))
            QTimer::singleShot(0, button, &QAbstractButton::click);
    }

    static void Select(QWidget* window, int list, const QString& file) {
        auto* files = window->findChild<QListWidget*>(QStringLiteral("File1(%1)").arg(list));
        if (!files || file.isEmpty()) return;
        const auto found = files->findItems(file, Qt::MatchExactly);
        if (!found.isEmpty()) found.first()->setSelected(true);
    }

    void Game(QWidget* window, long long ns) {
        const QString name = window->objectName();
        if (name == QLatin1String("Form4") && step_ == 0) {
            step_ = 1;
            Click(window, "Command1");
        } else if (name == QLatin1String("Form5") && step_ == 1) {
            step_ = 2;
            const QStringList players = argument_.split(',');
            const bool stay = mode_ == QLatin1String("select");
            QTimer::singleShot(0, window, [window, players, stay] {
                Select(window, 0, players.value(0));
                Select(window, 1, players.value(1));
                if (!stay) Click(window, "Command1");
            });
        } else if (name == QLatin1String("Form1") && step_ == 2) {
            step_ = 3;
            Click(window, "Command1");
        } else if (name == QLatin1String("Form2") && step_ == 3) {
            step_ = 4;
            Write(QStringLiteral("game %1 %2").arg(ns).arg(ResidentKilobytes()));
            if (playMillis_ <= 0) return Quit();
            Click(window, "Command1");
            QTimer::singleShot(playMillis_, qApp, [this] { Quit(); });
        }
    }

    void Pick(QWidget* window, long long ns) {
        if (step_ == 0) {
            auto* files = window->findChild<QListWidget*>(QStringLiteral("File1(0)"));
            if (!files) {
                // The splash: on to the player selection.
                if (!std::exchange(splashLeft_, true)) {
                    QTimer::singleShot(splashMillis_, window,
                                       [window] { Click(window, "Command1"); });
                }
                return;
            }
            const auto found = files->findItems(argument_, Qt::MatchExactly);
            if (found.isEmpty()) {
                Write(QStringLiteral("missing %1").arg(argument_));
                return Quit();
            }
            step_ = 1;
            picked_ = window;
            box_ = window->findChild<QLabel*>(QStringLiteral("Image1(0)"));
            if (box_) before_ = box_->pixmap().cacheKey();
            files->scrollToItem(found.first());
            const QPoint at = files->visualItemRect(found.first()).center();
            QTimer::singleShot(playMillis_, files, [this, files, at] {
                QWidget* viewport = files->viewport();
                const QPointF global = viewport->mapToGlobal(QPointF(at));
                clickAt_ = Now();
                Write(QStringLiteral("click %1").arg(clickAt_));
                QCoreApplication::postEvent(
                    viewport, new QMouseEvent(QEvent::MouseButtonPress, QPointF(at), global,
                                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                QCoreApplication::postEvent(
                    viewport, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(at), global,
                                              Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            });
            return;
        }
        if (window != picked_ || clickAt_ == 0) return;
        if (step_ == 1) {
            step_ = 2;
            Write(QStringLiteral("repainted %1").arg(ns));
        }
        const bool shown = !box_ || box_->pixmap().cacheKey() != before_;
        if (step_ == 2 && shown) {
            Write(QStringLiteral("picture %1").arg(ns));
            Quit();
        }
    }

    QFile log_;
    QString mode_;
    QString argument_;
    int playMillis_ = 0;
    int splashMillis_ = 0;
    bool splashLeft_ = false;
    bool dispatching_ = false;
    bool painted_ = false;
    bool first_ = false;
    int step_ = 0;
    QPointer<QWidget> picked_;
    QPointer<QLabel> box_;
    qint64 before_ = 0;
    long long clickAt_ = 0;
};

void InstallProbe() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) new Probe;
}

}  // namespace

// Runs when the program makes its application object; a program that makes
// none (a command-line job) is never touched.
Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
