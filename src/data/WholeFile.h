#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

// Writing a file whole or not at all: use this wherever the program saves a file (settings
// files, backups, reports, exports, the bench file, SMS files).
//
// The contents go to a temporary file beside the target ("<target>.tmp-xxxxxxxx"). Every write,
// the flush and the sync to disk are checked; only then is the temporary file renamed over the
// target. On any failure the target is left as it was (an existing file keeps its contents, a
// new one does not appear), the temporary file is removed, and CorvelError says why:
// "Cannot write <target>: <reason>" (for example "No space left on device").
//
//   writeWholeFile(path, bytes);                     // all at once
//
//   WholeFile file(path);                            // in parts, or through a QTextStream,
//   file.write(header);                              // QPdfWriter, ... on file.device()
//   QTextStream out(&file.device());
//   out << ...;
//   out.flush();
//   file.commit();                                   // nothing is replaced before this
//
//   WholeFile file(path, WholeFile::WrittenByName);  // a library that writes to a file name
//   library_save(file.temporaryPath());              // (check the library's own result)
//   file.commit();
//
// Without commit() (an exception, an early return) the destructor removes the temporary file.
class WholeFile {
public:
    enum Mode {
        Opened,        // the temporary file is open for writing through write() and device()
        WrittenByName  // only its name is reserved; another writer creates it
    };

    // Throws CorvelError when the temporary file cannot be created.
    explicit WholeFile(const QString& target, Mode mode = Opened);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // Throws CorvelError when not all bytes were written.
    void write(const QByteArray& bytes);
    // The open temporary file, for writers that take a QIODevice (mode Opened only). Unlike a
    // plain QFile it never drops the rest of a write that was cut short.
    QIODevice& device();

    // Checks every write made so far, flushes and syncs the temporary file and renames it over
    // the target. With dateSource given, the target gets that file's last-write time.
    // Throws CorvelError and leaves the target as it was on any failure.
    void commit(const QString& dateSource = {});

    const QString& target() const { return target_; }
    const QString& temporaryPath() const { return temporary_; }

private:
    class Device;
    [[noreturn]] void fail(const QString& reason);

    QString target_;
    QString temporary_;
    QFile file_;
    std::unique_ptr<Device> device_;
    Mode mode_;
    bool done_ = false;
};

// Writes `contents` as the whole file `target` (see WholeFile). Throws CorvelError.
void writeWholeFile(const QString& target, const QByteArray& contents);
