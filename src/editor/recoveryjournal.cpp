// SPDX-License-Identifier: GPL-3.0-or-later
// Journal records (length, CRC-32, payload), the journal folder and reading a
// journal back without trusting a byte of it.
#include "recoveryjournal.h"

#include "filenames.h"

#include <QDataStream>
#include <QDir>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char Magic[] = "QLTJRNL1";
constexpr int HeaderBytes = 8;   // payload length and CRC-32, little-endian
constexpr std::uint8_t StateRecord = 'S';
constexpr std::uint8_t EditRecord = 'E';
constexpr std::uint8_t RichEditRecord = 'R';
constexpr std::uint8_t RunsStateRecord = 'T';
// A journal larger than this is no journal of ours (QByteArray's own bound).
constexpr std::int64_t MaxJournalBytes = std::int64_t(1) << 30;
constexpr auto StreamVersion = QDataStream::Qt_6_4;

// CRC-32 (IEEE), eight bytes a step: a large change is summed at memory speed,
// not a byte at a time on the window's thread.
std::uint32_t Crc32(const char* data, qsizetype size)
{
    using Tables = std::array<std::array<std::uint32_t, 256>, 8>;
    static const Tables tables = [] {
        Tables t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][i] = c;
        }
        for (std::uint32_t i = 0; i < 256; ++i)
            for (int n = 1; n < 8; ++n)
                t[n][i] = (t[n - 1][i] >> 8) ^ t[0][t[n - 1][i] & 0xFF];
        return t;
    }();
    const auto* p = reinterpret_cast<const std::uint8_t*>(data);
    std::uint32_t crc = 0xFFFFFFFFu;
    for (; size >= 8; size -= 8, p += 8) {
        const std::uint32_t lo = crc ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
                                         | std::uint32_t(p[3]) << 24);
        crc = tables[7][lo & 0xFF] ^ tables[6][(lo >> 8) & 0xFF] ^ tables[5][(lo >> 16) & 0xFF] ^ tables[4][lo >> 24]
              ^ tables[3][p[4]] ^ tables[2][p[5]] ^ tables[1][p[6]] ^ tables[0][p[7]];
    }
    for (; size > 0; --size, ++p)
        crc = tables[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void PutU32(QByteArray& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(const char* p)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | std::uint8_t(p[i]);
    return v;
}

// A record is written behind room for its header, which is filled in once the
// payload is known: a large edit is not copied once more to frame it.
QByteArray Unframed(qsizetype expected)
{
    QByteArray record;
    record.reserve(HeaderBytes + expected + 64);
    record.resize(HeaderBytes);
    return record;
}

QByteArray Framed(QByteArray record)
{
    const qsizetype size = record.size() - HeaderBytes;
    QByteArray header;
    PutU32(header, std::uint32_t(size));
    PutU32(header, Crc32(record.constData() + HeaderBytes, size));
    std::memcpy(record.data(), header.constData(), HeaderBytes);
    return record;
}

std::optional<TJournalEdit> DecodeEdit(QDataStream& in, bool rich)
{
    TJournalEdit e;
    e.rich = rich;
    if (rich)
        in >> e.position >> e.removed >> e.added >> e.rtf >> e.selStart >> e.selLength >> e.timeMs;
    else
        in >> e.position >> e.removed >> e.text >> e.selStart >> e.selLength >> e.timeMs;
    if (in.status() != QDataStream::Ok || !in.atEnd() || e.position < 0 || e.removed < 0 || e.added < 0)
        return std::nullopt;
    return e;
}

// Runs as little-endian 32-bit pairs; nothing when the bytes are no whole pairs.
QByteArray EncodeRuns(const std::vector<std::uint32_t>& runs)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(runs.size()) * 4);
    for (const std::uint32_t v : runs)
        PutU32(bytes, v);
    return bytes;
}

bool DecodeRuns(const QByteArray& bytes, std::vector<std::uint32_t>& runs)
{
    if (bytes.size() % 8 != 0)
        return false;
    runs.resize(std::size_t(bytes.size() / 4));
    for (std::size_t i = 0; i < runs.size(); ++i)
        runs[i] = GetU32(bytes.constData() + 4 * i);
    return true;
}

// The characters of a runs state, UTF-16 in little-endian order, framed as a
// byte array is: read straight into the text, not copied once more.
void PutCharacters(QDataStream& out, const QString& text)
{
    out << quint32(text.size() * 2);
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        out.writeRawData(reinterpret_cast<const char*>(text.utf16()), int(text.size() * 2));
    } else {
        QByteArray bytes;
        bytes.reserve(text.size() * 2);
        for (const QChar c : text)
            bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        out.writeRawData(bytes.constData(), int(bytes.size()));
    }
}

bool GetCharacters(QDataStream& in, QString& text)
{
    quint32 bytes = 0;
    in >> bytes;
    if (bytes == 0xFFFFFFFFu)
        bytes = 0;   // how an empty array is framed
    if (in.status() != QDataStream::Ok || bytes % 2 != 0 || qint64(bytes) > in.device()->bytesAvailable())
        return false;
    text.resize(qsizetype(bytes / 2));
    if (in.readRawData(reinterpret_cast<char*>(text.data()), int(bytes)) != int(bytes))
        return false;
    if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        for (QChar& c : text)
            c = QChar(char16_t((c.unicode() >> 8) | (c.unicode() << 8)));
    // A paragraph end is U+2029 only: other line ends or frame marks would make
    // paragraphs the runs do not count.
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u'\n' || c == u'\r' || c == QChar(0xFDD0) || c == QChar(0xFDD1);
    });
}

std::optional<TJournalState> DecodeState(QDataStream& in, bool runs)
{
    TJournalState s;
    in >> s.fileName >> s.encoding >> s.uniType >> s.dosAdd >> s.hasTables >> s.selStart >> s.selLength >> s.timeMs
        >> s.characters >> s.disk.exists >> s.disk.device >> s.disk.inode >> s.disk.size >> s.disk.mtimeNs >> s.head;
    if (runs) {
        QByteArray blockRuns, charRuns;
        const bool characters = GetCharacters(in, s.plainText);
        in >> s.formatTable >> s.blockFormats >> s.charFormats >> s.firstCharFormat >> blockRuns >> charRuns;
        s.plainRuns = true;
        if (in.status() != QDataStream::Ok || !characters
            || !DecodeRuns(blockRuns, s.blockRuns) || !DecodeRuns(charRuns, s.charRuns)
            || s.plainText.size() != s.characters)
            return std::nullopt;
        s.formatTable.detach();
    } else {
        in >> s.rtf >> s.byteOrderMark >> s.fromFile >> s.fileBytes;
    }
    if (!in.atEnd()) {
        TFont font;
        std::uint8_t style = 0, pitch = 0;
        in >> font.Name >> font.Size >> font.Color >> style >> font.Charset >> pitch;
        for (int bit = 0; bit < 4; ++bit)
            if (style & (1u << bit))
                font.Style.Include(TFontStyle(bit));
        font.Pitch = TFontPitch(std::min<std::uint8_t>(pitch, std::uint8_t(TFontPitch::fpFixed)));
        s.font = font;
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return s;
}

[[noreturn]] void Refuse(const QString& path, const char* why)
{
    throw std::runtime_error("The recovery journal \"" + platform::DisplayFileName(path).toStdString() +
                             "\" is refused: " + why + ". It is left as it is.");
}

// Reads at most size bytes from fd; fewer when the file ends sooner or a read fails.
QByteArray ReadUpTo(int fd, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

} // namespace

QByteArray JournalMagic()
{
    return QByteArray(Magic, HeaderBytes);
}

QByteArray EncodeJournalRecord(const TJournalState& s)
{
    QByteArray payload = Unframed(s.rtf.size() + s.fileBytes.size() + 2 * s.plainText.size());
    {
        QDataStream out(&payload, QIODevice::Append);
        out.setVersion(StreamVersion);
        out << (s.plainRuns ? RunsStateRecord : StateRecord) << s.fileName << s.encoding << s.uniType << s.dosAdd
            << s.hasTables << s.selStart << s.selLength << s.timeMs << s.characters << s.disk.exists << s.disk.device
            << s.disk.inode << s.disk.size << s.disk.mtimeNs << s.head;
        if (s.plainRuns)
            PutCharacters(out, s.plainText);
        if (s.plainRuns)
            out << s.formatTable << s.blockFormats << s.charFormats << s.firstCharFormat
                << EncodeRuns(s.blockRuns) << EncodeRuns(s.charRuns);
        else
            out << s.rtf << s.byteOrderMark << s.fromFile << s.fileBytes;
        if (s.font) {
            std::uint8_t style = 0;
            for (int bit = 0; bit < 4; ++bit)
                if (s.font->Style.Contains(TFontStyle(bit)))
                    style |= std::uint8_t(1u << bit);
            out << s.font->Name << s.font->Size << s.font->Color << style << s.font->Charset << std::uint8_t(s.font->Pitch);
        }
    }
    return Framed(std::move(payload));
}

QByteArray EncodeJournalEdit(const TJournalEdit& e)
{
    QByteArray payload = Unframed(2 * e.text.size() + e.rtf.size());
    {
        QDataStream out(&payload, QIODevice::Append);
        out.setVersion(StreamVersion);
        if (e.rich)
            out << RichEditRecord << e.position << e.removed << e.added << e.rtf << e.selStart << e.selLength << e.timeMs;
        else
            out << EditRecord << e.position << e.removed << e.text << e.selStart << e.selLength << e.timeMs;
    }
    return Framed(std::move(payload));
}

QString RecoveryFolder()
{
    QByteArray base = qgetenv("XDG_STATE_HOME");
    // A relative state folder is to be ignored, as the XDG rules say.
    if (base.isEmpty() || !base.startsWith('/')) {
        const QByteArray home = qgetenv("HOME");
        if (home.isEmpty())
            throw std::runtime_error("The recovery folder cannot be found: HOME is not set.");
        base = home + "/.local/state";
    }
    const QByteArray app = base + "/quillet";
    const QByteArray folder = app + "/recovery";
    QDir().mkpath(QString::fromLocal8Bit(base));
    ::mkdir(app.constData(), 0700);
    ::mkdir(folder.constData(), 0700);
    struct stat info {};
    if (::lstat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        throw std::runtime_error("The recovery folder \"" + folder.toStdString() +
                                 "\" cannot be used: it is missing, a link or someone else's.");
    if ((info.st_mode & 077) != 0)
        ::chmod(folder.constData(), 0700);
    return platform::FileNameFromBytes(folder);
}

TJournalState ReadJournal(const QString& path)
{
    const QByteArray native = platform::FileNameBytes(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        Refuse(path, errno == ELOOP ? "it is a link" : "it cannot be opened");
    struct stat info {};
    const bool statted = ::fstat(fd, &info) == 0;
    const auto closeAndRefuse = [&](const char* why) {
        ::close(fd);
        Refuse(path, why);
    };
    if (!statted || !S_ISREG(info.st_mode))
        closeAndRefuse("it is not a regular file");
    if (info.st_uid != ::getuid())
        closeAndRefuse("it belongs to another user");
    if (info.st_size > MaxJournalBytes)
        closeAndRefuse("it is too large to be a journal");
    QByteArray bytes = ReadUpTo(fd, qsizetype(info.st_size));
    ::close(fd);
    if (!bytes.startsWith(JournalMagic()))
        Refuse(path, "it is not a recovery journal");
    // Records up to the first one that is torn or damaged: what a power cut leaves
    // behind is an earlier whole state, never a mix.
    std::optional<TJournalState> last;
    qsizetype at = HeaderBytes;
    while (bytes.size() - at >= HeaderBytes) {
        const std::uint32_t length = GetU32(bytes.constData() + at);
        const std::uint32_t crc = GetU32(bytes.constData() + at + 4);
        if (length > std::uint64_t(bytes.size() - at - HeaderBytes))
            break;
        const char* payload = bytes.constData() + at + HeaderBytes;
        if (Crc32(payload, qsizetype(length)) != crc)
            break;
        const QByteArray view = QByteArray::fromRawData(payload, qsizetype(length));
        QDataStream in(view);
        in.setVersion(StreamVersion);
        std::uint8_t kind = 0;
        in >> kind;
        if (kind == StateRecord || kind == RunsStateRecord) {
            std::optional<TJournalState> state = DecodeState(in, kind == RunsStateRecord);
            if (!state)
                break;
            last = std::move(state);
            last->fileName.detach();
            last->rtf.detach();
            last->fileBytes.detach();
        } else if ((kind == EditRecord || kind == RichEditRecord) && last) {
            std::optional<TJournalEdit> edit = DecodeEdit(in, kind == RichEditRecord);
            if (!edit)
                break;
            last->timeMs = edit->timeMs;
            last->selStart = edit->selStart;
            last->selLength = edit->selLength;
            edit->rtf.detach();
            last->edits.push_back(std::move(*edit));
        } else {
            break;
        }
        at += HeaderBytes + qsizetype(length);
    }
    if (!last)
        Refuse(path, "it holds no whole text");
    return std::move(*last);
}

std::vector<TJournalEntry> ListJournals(const QString& folder)
{
    std::vector<TJournalEntry> entries;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*") + QLatin1String(JournalSuffix)}, QDir::Files | QDir::System, QDir::Name);
    for (const QString& name : names)
        entries.push_back({name.chopped(int(std::strlen(JournalSuffix))), dir.filePath(name)});
    return entries;
}

std::optional<TJournalClaim> TJournalClaim::Take(const QString& path)
{
    const QByteArray native = platform::FileNameBytes(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    // Its writer holds the lock while it runs; a journal replaced meanwhile by a
    // compaction is the writer's new one, so the lock must be on the file the
    // name still leads to.
    struct stat held {}, named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 || ::lstat(native.constData(), &named) != 0
        || held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
        ::close(fd);
        return std::nullopt;
    }
    return TJournalClaim(path, fd);
}

TJournalClaim::TJournalClaim(TJournalClaim&& other) noexcept : path(std::move(other.path)), fd(other.fd)
{
    other.fd = -1;
}

TJournalClaim& TJournalClaim::operator=(TJournalClaim&& other) noexcept
{
    if (this != &other) {
        if (fd >= 0)
            ::close(fd);
        path = std::move(other.path);
        fd = other.fd;
        other.fd = -1;
    }
    return *this;
}

TJournalClaim::~TJournalClaim()
{
    if (fd >= 0)
        ::close(fd);
}

void TJournalClaim::Remove()
{
    if (fd < 0)
        return;
    ::unlink(platform::FileNameBytes(path).constData());
    ::close(fd);
    fd = -1;
}

TDiskIdentity DiskIdentityOf(const QString& fileName)
{
    TDiskIdentity id;
    struct stat info {};
    if (fileName.isEmpty() || ::stat(platform::FileNameBytes(fileName).constData(), &info) != 0)
        return id;
    id.exists = true;
    id.device = quint64(info.st_dev);
    id.inode = quint64(info.st_ino);
    id.size = qint64(info.st_size);
    id.mtimeNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return id;
}

std::optional<QByteArray> ReadFileBytes(const QString& fileName)
{
    const int fd = ::open(platform::FileNameBytes(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > MaxJournalBytes) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray bytes = ReadUpTo(fd, qsizetype(info.st_size));
    ::close(fd);
    if (bytes.size() != qsizetype(info.st_size))
        return std::nullopt;
    return bytes;
}
