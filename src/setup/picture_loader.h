#pragma once
// User pictures at the size the screens show them, decoded off the interface
// thread, once per file.
#include <QCache>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace cifrano {

// The largest picture file read.
inline constexpr qint64 kMaxPictureFileBytes = 64 * 1024 * 1024;
// The most pixels decoded at full size (formats that cannot be decoded
// straight to a smaller size): 128 MB at four bytes a pixel.
inline constexpr qint64 kMaxFullDecodePixels = 32 * 1024 * 1024;
// The widest picture kept, in pixels; wider ones are squeezed to it.
inline constexpr int kMaxPictureWidth = 4096;

// Decodes the picture file at `path` at most `height` pixels high, its width
// in proportion; smaller pictures keep their size. Turned as the file says
// (EXIF orientation). A null image when the file is not a regular file of at
// most kMaxPictureFileBytes, not a loadable picture, or too large to decode.
QImage DecodeUserPicture(const QString& path, int height);

// Delivers the pictures of two slots (the two players). Each slot's latest
// request wins: a request replaces the slot's earlier one, whose picture is
// never delivered. Pictures already decoded (same file, size and time) and
// small ones (at most 512 x 512 pixels, kept at their own size) come at once;
// the others are decoded by a worker at the loader's height and come through
// the event loop. Large files can be decoded ahead, one at a time, before
// anyone picks them; a pick of a file being decoded ahead waits for that
// decoding instead of starting another.
class PictureLoader : public QObject {
    Q_OBJECT
  public:
    // Decodes a file at most `height` pixels high; may run on any thread.
    using Decoder = std::function<QImage(const QString& path, int height)>;
    // Runs a job, on another thread or later.
    using Worker = std::function<void(std::function<void()> job)>;

    explicit PictureLoader(int height, QObject* parent = nullptr);
    ~PictureLoader() override;

    // For tests: another decoder, another worker, or no decoding at once.
    void SetDecoder(Decoder decoder) { decoder_ = std::move(decoder); }
    void SetWorker(Worker worker) { worker_ = std::move(worker); }
    void SetInlinePixels(qint64 pixels) { inlinePixels_ = pixels; }

    int Height() const { return height_; }

    // Asks for the picture of the file at `path` for `slot` (0 or 1).
    void Request(int slot, const QString& path);
    // Decodes ahead, into the cache, the first kMostPrefetched of these files
    // of `folder` that are larger than the ones decoded at once.
    void Prefetch(const QString& folder, const QStringList& files);
    static constexpr int kMostPrefetched = 32;
    // Delivers the slot's pending picture now: decoded here when no worker
    // has started on it, awaited when one has.
    void Finish(int slot);
    bool Pending(int slot) const;

  signals:
    // The picture for the slot's latest request; null when the file is not a
    // loadable picture.
    void Delivered(int slot, const QString& path, const QPixmap& picture);

  private:
    struct Job;
    struct Sink;
    std::shared_ptr<Job> StartJob(const QString& path, const QString& key, bool prefetch);
    std::shared_ptr<Job> TakePrefetched(const QString& key);
    void Complete(const std::shared_ptr<Job>& job);
    void Deliver(int slot, const QString& path, const QPixmap& picture, const QString& key);

    int height_;
    Decoder decoder_;
    Worker worker_;
    qint64 inlinePixels_;
    QThreadPool pool_;
    QThreadPool prefetchPool_;
    std::shared_ptr<Sink> sink_;
    std::array<std::shared_ptr<Job>, 2> pending_{};
    std::array<QString, 2> pendingPath_{};
    std::vector<std::shared_ptr<Job>> prefetching_;
    QCache<QString, QPixmap> cache_;
};

}  // namespace cifrano
