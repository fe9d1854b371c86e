#include "WholeFile.h"

#include "CorvelError.h"
#include "FileCopy.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>

// Writes through to the temporary file. A write the system cuts short (a full disk takes the
// bytes that fit) is continued until it fails with its reason; QFile itself would report the
// short count, which QTextStream and QPdfWriter take as success.
class WholeFile::Device : public QIODevice {
public:
    explicit Device(QFile& file) : file_(file) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    const QString& failure() const { return failure_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        if (!failure_.isEmpty())
            return -1;
        for (qint64 done = 0; done < length;) {
            const qint64 written = file_.write(data + done, length - done);
            if (written <= 0) {
                failure_ = file_.error() != QFileDevice::NoError ? file_.errorString()
                                                                  : QStringLiteral("nothing more could be written.");
                setErrorString(failure_);
                return -1;
            }
            done += written;
        }
        return length;
    }

private:
    QFile& file_;
    QString failure_;
};

WholeFile::WholeFile(const QString& target, Mode mode)
    : target_(target), temporary_(FileCopy::temporaryNameFor(target)), file_(temporary_), mode_(mode)
{
    if (mode_ != Opened)
        return;
    if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        fail(file_.errorString());
    device_ = std::make_unique<Device>(file_);
}

WholeFile::~WholeFile()
{
    if (done_)
        return;
    if (device_)
        device_->close();
    file_.close();
    QFile::remove(temporary_);
}

void WholeFile::fail(const QString& reason)
{
    if (device_)
        device_->close();
    file_.close();
    QFile::remove(temporary_);
    done_ = true;
    throw CorvelError(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(target_), reason));
}

QIODevice& WholeFile::device()
{
    if (done_ || !device_)
        throw CorvelError(QStringLiteral("Cannot write %1: the file is closed.").arg(QDir::toNativeSeparators(target_)));
    return *device_;
}

void WholeFile::write(const QByteArray& bytes)
{
    if (device().write(bytes) != bytes.size())
        fail(device_->failure());
}

void WholeFile::commit(const QString& dateSource)
{
    if (done_)
        throw CorvelError(QStringLiteral("Cannot write %1: the file is closed.").arg(QDir::toNativeSeparators(target_)));
    if (mode_ == Opened) {
        if (!device_->failure().isEmpty())
            fail(device_->failure());
        if (file_.error() != QFileDevice::NoError || !file_.flush())
            fail(file_.errorString());
        if (::fsync(file_.handle()) != 0 && errno != EINVAL)
            fail(QString::fromLocal8Bit(std::strerror(errno)));
        file_.close();
        if (file_.error() != QFileDevice::NoError)
            fail(file_.errorString());
    } else if (!QFileInfo(temporary_).isFile()) {
        fail(QStringLiteral("the file was not written."));
    }
    done_ = true;
    // Removes the temporary file and throws with the reason when the rename fails.
    FileCopy::commitTemporary(temporary_, target_, dateSource);
}

void writeWholeFile(const QString& target, const QByteArray& contents)
{
    WholeFile file(target);
    file.write(contents);
    file.commit();
}
