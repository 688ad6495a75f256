// SPDX-License-Identifier: GPL-3.0-or-later
// WholeFile: an output device whose file appears under its name complete or not
// at all, for the PDF printer's target.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace platform {

// The bytes go to a temporary file in the target's folder, with no name where
// the file system allows. Every write, the last flush, the sync and the close are
// checked; only when all of them went well does the file take the target's name,
// so that a full disk or any other failure leaves an existing target as it was.
// A file destroyed without Commit leaves nothing behind.
class WholeFile : public QIODevice {
public:
    explicit WholeFile(const QString& target);
    ~WholeFile() override;
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // Makes the temporary file; false (see ErrorText) when the target is not a
    // regular file, may not be replaced, or its folder takes no file.
    bool Open();
    // Completes the file and names it; false (see ErrorText) when any write or
    // this last step failed, and then the target is untouched.
    bool Commit();
    // Drops what was written.
    void Discard();
    // The system's reason of the first failure.
    QString ErrorText() const { return errorText; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool Fail(int error);
    bool WriteOut(const char* data, qint64 size);
    bool FlushBuffer();
    bool NameTemporary();

    QByteArray target;
    QByteArray folder;
    QByteArray temp;         // the temporary file's name, once it has one
    int fd = -1;
    bool failed = false;
    QString errorText;
    QByteArray buffer;
};

} // namespace platform
