#include "common/media_file_loader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

namespace cifrano {

bool OpenMediaFile(const QString& path, qint64 maxBytes, QFile& file) {
    file.close();
    if (path.isEmpty()) return false;
    // isFile() follows links and is true for regular files only.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maxBytes) return false;

    const QByteArray native = QFile::encodeName(info.absoluteFilePath());
    // O_NONBLOCK: were the file replaced by a FIFO since the look above, opening
    // it returns at once instead of waiting for a writer.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadMediaFile(const QString& path, qint64 maxBytes) {
    QFile file;
    if (!OpenMediaFile(path, maxBytes, file)) return std::nullopt;
    // One byte more than its size tells a file that grew after the check.
    const qint64 expected = file.size();
    QByteArray bytes = file.read(expected + 1);
    if (bytes.size() > expected) return std::nullopt;
    return bytes;
}

}  // namespace cifrano
