#include "FileCopy.h"

#include "CorvelError.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

namespace FileCopy {
namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Writes what the system still holds of a file (or a folder's entries) to disk. Returns the
// reason when that failed, else an empty text.
QString flushToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno);
    QString reason;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        reason = systemError(errno);
    ::close(fd);
    return reason;
}

}  // namespace

QString temporaryNameFor(const QString& target)
{
    for (;;) {
        const QString name = target + QStringLiteral(".tmp-%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (!QFileInfo::exists(name))
            return name;
    }
}

QDateTime lastWriteTime(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.lastModified() : QDateTime();
}

void commitTemporary(const QString& temporary, const QString& target, const QString& dateSource)
{
    const auto fail = [&](const QString& reason) {
        QFile::remove(temporary);
        throw CorvelError(QStringLiteral("Cannot write %1: %2").arg(native(target), reason));
    };
    if (!dateSource.isEmpty()) {
        std::error_code error;
        const auto stamp = std::filesystem::last_write_time(QFile::encodeName(dateSource).toStdString(), error);
        if (!error)
            std::filesystem::last_write_time(QFile::encodeName(temporary).toStdString(), stamp, error);
        if (error)
            fail(QString::fromStdString(error.message()));
    }
    if (const QString reason = flushToDisk(temporary); !reason.isEmpty())
        fail(reason);
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
        fail(systemError(errno));
    // The new name reaches the disk with the folder; the contents are already there.
    flushToDisk(QFileInfo(target).absolutePath());
}

void copyReplacing(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw CorvelError(QStringLiteral("Cannot read %1: %2").arg(native(source), in.errorString()));
    WholeFile out(target);
    while (!in.atEnd()) {
        const QByteArray buffer = in.read(1 << 20);
        if (buffer.isEmpty() && in.error() != QFileDevice::NoError)
            throw CorvelError(QStringLiteral("Cannot read %1: %2").arg(native(source), in.errorString()));
        out.write(buffer);
    }
    out.commit(source);
}

}  // namespace FileCopy
