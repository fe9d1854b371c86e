#include "FileCopy.h"

#include "CorvelError.h"

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

void flushToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
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
    flushToDisk(temporary);
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    flushToDisk(QFileInfo(target).absolutePath());
}

void copyReplacing(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw CorvelError(QStringLiteral("Cannot read %1: %2").arg(native(source), in.errorString()));
    const QString temporary = temporaryNameFor(target);
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw CorvelError(QStringLiteral("Cannot write %1: %2").arg(native(target), out.errorString()));
    QByteArray buffer;
    bool ok = true;
    QString reason;
    while (ok && !in.atEnd()) {
        buffer = in.read(1 << 20);
        if (buffer.isEmpty() && in.error() != QFileDevice::NoError) {
            ok = false;
            reason = in.errorString();
        } else if (out.write(buffer) != buffer.size()) {
            ok = false;
            reason = out.errorString();
        }
    }
    if (ok && !out.flush()) {
        ok = false;
        reason = out.errorString();
    }
    out.close();
    if (!ok) {
        QFile::remove(temporary);
        throw CorvelError(QStringLiteral("Cannot copy %1 to %2: %3").arg(native(source), native(target), reason));
    }
    commitTemporary(temporary, target, source);
}

}  // namespace FileCopy
