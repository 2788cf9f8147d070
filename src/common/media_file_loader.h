#pragma once
// Opening the program's media files (user pictures, sound cues, figures)
// safely: only regular files, after following links, never a FIFO or a
// device, and never more bytes than a bound.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

namespace cifrano {

// Opens `path` for reading when it names a regular file of at most `maxBytes`
// bytes. The file is looked at before it is opened, so a FIFO or a device is
// never opened, and the opened file is checked again, so one swapped in
// between cannot block either. False, with `file` closed, otherwise.
bool OpenMediaFile(const QString& path, qint64 maxBytes, QFile& file);

// The whole file, when OpenMediaFile accepts it and it has not grown past
// `maxBytes` since; nothing otherwise.
std::optional<QByteArray> ReadMediaFile(const QString& path, qint64 maxBytes);

}  // namespace cifrano
