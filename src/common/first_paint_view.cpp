#include "common/first_paint_view.h"

#include <QEvent>
#include <QTimer>

namespace cifrano {

namespace {

class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(QObject* window, std::function<void()> then)
        : QObject(window), then_(std::move(then)) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, std::move(then_));
            deleteLater();
        }
        return false;
    }

  private:
    std::function<void()> then_;
};

}  // namespace

void AfterFirstPaint(QObject* window, std::function<void()> then) {
    if (window) new FirstPaintWatch(window, std::move(then));
}

}  // namespace cifrano
