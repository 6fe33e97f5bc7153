#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

namespace nobrisa {

class RemoveOnInterrupt;

// A file written whole or not at all, for every file the program writes (settings, registered
// lists, exports, pictures, PDFs). The bytes go to an unnamed temporary file in the destination's
// folder (O_TMPFILE through QSaveFile; a named one, removed on any failure, where the file system
// has no unnamed files), which is synced to the disk and only then renamed over the destination.
// Until commit() succeeds an existing file stays as it was; a failure, a WholeFile destroyed
// before commit() and a killed program leave nothing behind. A new file gets the permissions the
// umask gives; a replaced one keeps its own.
//
// A write-protected file (no write permission bit at all, the read-only attribute of other
// systems) is refused even where the system would let the user replace it (root).
class WholeFile final {
public:
    explicit WholeFile(const QString& path);
    // Discards what was written unless commit() succeeded.
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // Checks the destination and creates the temporary file; false with reason() when the file
    // cannot be written there.
    bool open();
    // Where the contents go, between a successful open() and commit(). A write that fails (a full
    // disk) is remembered: commit() then refuses and says why.
    QIODevice& device();
    // Syncs the file and puts it in the destination's place; false with reason() otherwise, the
    // old file then untouched and the temporary one gone.
    bool commit();

    // Why open() or commit() failed, in Japanese: what it means for the user, then the system's
    // own words in brackets. The caller's message names the file.
    QString reason() const { return mReason; }

private:
    class Output;
    bool fail(const QString& reason);

    QString mPath;
    QString mReason;
    std::unique_ptr<Output> mFile;
    std::unique_ptr<RemoveOnInterrupt> mNamedTemporary;
};

// Writes `bytes` as the file `path` through a WholeFile; false with the reason in `reason`.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* reason);

} // namespace nobrisa
