#include "setup/picture_loader.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "common/media_file_loader.h"

namespace cifrano {

namespace {
// Pictures decoded at once, on the interface thread, and kept at their own
// size: a file of at most kInlineBytes whose header tells at most this many
// pixels (a few milliseconds' work, less than a trip through a worker and a
// second frame).
constexpr qint64 kInlinePixels = 512 * 512;
constexpr qint64 kInlineBytes = 1024 * 1024;
constexpr int kCacheKilobytes = 16 * 1024;

int CostKilobytes(const QPixmap& pixmap) {
    return static_cast<int>(qint64(pixmap.width()) * pixmap.height() * 4 / 1024 + 1);
}
}  // namespace

QImage DecodeUserPicture(const QString& path, int height) {
    QFile file;
    if (height <= 0 || !OpenMediaFile(path, kMaxPictureFileBytes, file)) return {};
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty()) return {};
    // JPEG decodes straight to a fraction of its size; other formats are
    // decoded whole and then scaled, so their whole size is bounded.
    const bool scalesWhileDecoding = reader.format() == "jpeg";
    if (!scalesWhileDecoding && qint64(stored.width()) * stored.height() > kMaxFullDecodePixels)
        return {};
    // The size as shown: a quarter turn swaps the sides. The scaled size is
    // asked for in the file's own orientation.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize shown = turned ? stored.transposed() : stored;
    const int targetHeight = std::min(shown.height(), height);
    const qint64 proportional =
        (qint64(shown.width()) * targetHeight + shown.height() / 2) / shown.height();
    const QSize target(static_cast<int>(std::clamp<qint64>(proportional, 1, kMaxPictureWidth)),
                       targetHeight);
    if (target != shown) reader.setScaledSize(turned ? target.transposed() : target);
    QImage image = reader.read();
    if (image.isNull()) return {};
    // Ready for the screen: the pixmap made from it on the interface thread is a plain copy.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    return image;
}

struct PictureLoader::Job {
    enum class State { Queued, Running, Done, Dropped };
    QString path;
    QString key;
    int height = 0;
    bool prefetch = false;
    bool completed = false;  // on the interface thread: delivered and cached
    Decoder decoder;
    std::mutex mutex;
    std::condition_variable done;
    State state = State::Queued;
    QImage image;

    // On the worker: decodes unless the job was dropped or taken back.
    bool Run() {
        {
            std::lock_guard lock(mutex);
            if (state != State::Queued) return false;
            state = State::Running;
        }
        QImage decoded = decoder(path, height);
        {
            std::lock_guard lock(mutex);
            image = std::move(decoded);
            state = State::Done;
        }
        done.notify_all();
        return true;
    }
};

// Where the workers hand their pictures: the loader while it lives.
struct PictureLoader::Sink {
    std::mutex mutex;
    PictureLoader* loader = nullptr;
};

namespace {
// The cache key of a picture file: the same file, size and time, at the same height.
QString CacheKey(const QFileInfo& info, int height) {
    return QStringLiteral("%1|%2|%3|%4")
        .arg(info.canonicalFilePath())
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(height);
}
}  // namespace

PictureLoader::PictureLoader(int height, QObject* parent)
    : QObject(parent),
      height_(height),
      decoder_(DecodeUserPicture),
      inlinePixels_(kInlinePixels),
      sink_(std::make_shared<Sink>()),
      cache_(kCacheKilobytes) {
    setObjectName(QStringLiteral("PictureLoader"));
    // One worker for each player; each decodes at most kMaxFullDecodePixels.
    pool_.setMaxThreadCount(2);
    // Decoding ahead takes one more, so that it never holds up a pick.
    prefetchPool_.setMaxThreadCount(1);
    sink_->loader = this;
}

PictureLoader::~PictureLoader() {
    {
        std::lock_guard lock(sink_->mutex);
        sink_->loader = nullptr;
    }
    for (const auto& jobs : {std::vector(pending_.begin(), pending_.end()), prefetching_}) {
        for (const auto& job : jobs) {
            if (!job) continue;
            std::lock_guard lock(job->mutex);
            if (job->state == Job::State::Queued) job->state = Job::State::Dropped;
        }
    }
    for (QThreadPool* pool : {&pool_, &prefetchPool_}) {
        pool->clear();
        pool->waitForDone();
    }
}

std::shared_ptr<PictureLoader::Job> PictureLoader::StartJob(const QString& path,
                                                             const QString& key, bool prefetch) {
    auto job = std::make_shared<Job>();
    job->path = path;
    job->key = key;
    job->height = height_;
    job->prefetch = prefetch;
    job->decoder = decoder_;
    // Ahead of a pick only a JPEG is decoded: it goes straight to the size
    // shown, so the work and the memory stay small. Any other file waits for
    // its pick.
    if (prefetch) {
        job->decoder = [decode = decoder_](const QString& file, int height) {
            QFile device;
            if (!OpenMediaFile(file, kMaxPictureFileBytes, device) ||
                QImageReader::imageFormat(&device) != "jpeg")
                return QImage();
            device.close();
            return decode(file, height);
        };
    }
    auto run = [job, sink = sink_] {
        if (!job->Run()) return;
        std::lock_guard lock(sink->mutex);
        if (PictureLoader* loader = sink->loader) {
            QMetaObject::invokeMethod(
                loader, [loader, job] { loader->Complete(job); }, Qt::QueuedConnection);
        }
    };
    if (worker_) {
        worker_(std::move(run));
    } else {
        (prefetch ? prefetchPool_ : pool_).start(std::move(run));
    }
    return job;
}

// A decoding ahead of the file, if one has started: the pick waits for it. One
// still queued is dropped, so that the pick's own decoding starts at once.
std::shared_ptr<PictureLoader::Job> PictureLoader::TakePrefetched(const QString& key) {
    for (auto it = prefetching_.begin(); it != prefetching_.end(); ++it) {
        if ((*it)->key != key) continue;
        const std::shared_ptr<Job> job = *it;
        std::lock_guard lock(job->mutex);
        if (job->state != Job::State::Queued) return job;
        job->state = Job::State::Dropped;
        prefetching_.erase(it);
        return nullptr;
    }
    return nullptr;
}

void PictureLoader::Prefetch(const QString& folder, const QStringList& files) {
    const QDir dir(folder);
    // The first large files count whether they are known already or not, so
    // that asking again for the same folder goes no further than the first time.
    int large = 0;
    for (const QString& file : files) {
        if (large == kMostPrefetched) break;
        const QString path = dir.filePath(file);
        const QFileInfo info(path);
        if (!info.isFile() || info.size() <= kInlineBytes || info.size() > kMaxPictureFileBytes)
            continue;
        ++large;
        const QString key = CacheKey(info, height_);
        const bool known =
            cache_.contains(key) ||
            std::any_of(prefetching_.begin(), prefetching_.end(),
                        [&](const std::shared_ptr<Job>& job) { return job->key == key; });
        if (known) continue;
        prefetching_.push_back(StartJob(path, key, true));
    }
}

void PictureLoader::Request(int slot, const QString& path) {
    if (slot < 0 || slot > 1) return;
    if (const std::shared_ptr<Job> earlier = std::exchange(pending_[slot], nullptr);
        earlier && !earlier->prefetch) {
        std::lock_guard lock(earlier->mutex);
        if (earlier->state == Job::State::Queued) earlier->state = Job::State::Dropped;
    }
    pendingPath_[slot] = path;

    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxPictureFileBytes) {
        Deliver(slot, path, QPixmap(), QString());
        return;
    }
    const QString key = CacheKey(info, height_);
    if (const QPixmap* cached = cache_.object(key)) {
        Deliver(slot, path, *cached, QString());
        return;
    }

    if (inlinePixels_ > 0 && info.size() <= kInlineBytes) {
        QFile file;
        if (OpenMediaFile(path, kInlineBytes, file)) {
            QImageReader reader(&file);
            const QSize size = reader.size();
            const bool unreadable = !reader.canRead();
            file.close();
            if (unreadable) {
                Deliver(slot, path, QPixmap(), QString());
                return;
            }
            if (size.isValid() && qint64(size.width()) * size.height() <= inlinePixels_) {
                // Kept at its own size (at most 1 MB): each screen scales it from
                // the original, in one step.
                const int ownHeight = std::max({height_, size.width(), size.height()});
                Deliver(slot, path, QPixmap::fromImage(decoder_(path, ownHeight)), key);
                return;
            }
        }
    }

    if (std::shared_ptr<Job> ahead = TakePrefetched(key)) {
        pending_[slot] = std::move(ahead);
        return;
    }
    pending_[slot] = StartJob(path, key, false);
}

void PictureLoader::Finish(int slot) {
    if (slot < 0 || slot > 1) return;
    // At most twice: a file decoded ahead to no picture is decoded once more for the pick.
    while (const std::shared_ptr<Job> job = pending_[slot]) {
        std::unique_lock lock(job->mutex);
        if (job->state == Job::State::Queued) {
            // No worker has started on it: taken back and decoded here.
            job->state = Job::State::Running;
            lock.unlock();
            QImage decoded = job->decoder(job->path, job->height);
            lock.lock();
            job->image = std::move(decoded);
            job->state = Job::State::Done;
        } else {
            job->done.wait(lock, [&] { return job->state == Job::State::Done; });
        }
        lock.unlock();
        Complete(job);
    }
}

bool PictureLoader::Pending(int slot) const {
    return slot >= 0 && slot <= 1 && pending_[slot] != nullptr;
}

void PictureLoader::Complete(const std::shared_ptr<Job>& job) {
    // Finish delivered it already, or it was replaced before a worker delivered it.
    if (std::exchange(job->completed, true)) return;
    std::erase(prefetching_, job);
    QImage image;
    {
        std::lock_guard lock(job->mutex);
        image = std::move(job->image);
    }
    const QPixmap picture = QPixmap::fromImage(image);
    if (!picture.isNull()) cache_.insert(job->key, new QPixmap(picture), CostKilobytes(picture));
    // Every slot whose latest request it answers.
    for (int slot = 0; slot < 2; ++slot) {
        if (pending_[slot] != job) continue;
        if (picture.isNull() && job->prefetch) {
            pending_[slot] = StartJob(pendingPath_[slot], job->key, false);
            continue;
        }
        pending_[slot].reset();
        Deliver(slot, pendingPath_[slot], picture, QString());
    }
}

void PictureLoader::Deliver(int slot, const QString& path, const QPixmap& picture,
                            const QString& key) {
    if (!key.isEmpty() && !picture.isNull())
        cache_.insert(key, new QPixmap(picture), CostKilobytes(picture));
    emit Delivered(slot, path, picture);
}

}  // namespace cifrano
