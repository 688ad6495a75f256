// SPDX-License-Identifier: GPL-3.0-or-later
// View requests between real processes: quillet-view asks a window started with
// "|?" to show a file, in the encoding, byte order, caret and selection it names;
// requests with another tag, malformed records and windows not waiting are not
// taken; requests that arrive together are each carried out; what cannot be
// shown is answered at once without a box, and a request whose sender has given
// up is not carried out.
#include "testsupport_copies.h"

#include "enctypes.h"
#include "instanceclient.h"
#include "qlconsts.h"
#include "richedit.h"
#include "viewrequest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

namespace {

// "Привет, мир" and "вторая строка" in KOI8-R with CR LF line ends.
const QByteArray Koi8Text = QByteArray::fromHex("f0d2c9d7c5d42c20cdc9d20d0ad7d4cfd2c1d120d3d4d2cfcbc10d0a");
const QString FirstLine = QStringLiteral("Привет, мир");

struct Sent {
    int exitCode = -1;
    QString errors;
};

// Runs quillet-view while this process keeps serving its own window.
Sent View(const QStringList& arguments)
{
    QProcess sender;
    sender.start(QStringLiteral(QUILLET_VIEW_PATH), arguments);
    if (!WaitUntil([&] { return sender.state() == QProcess::NotRunning || sender.waitForFinished(0); }, 20000))
        return {};
    return {sender.exitStatus() == QProcess::NormalExit ? sender.exitCode() : -1,
            QString::fromUtf8(sender.readAllStandardError())};
}

QByteArray RecordFor(const QString& name, std::uint8_t encoding = Win, bool keepName = false)
{
    TViewRequest request;
    request.FileName = QFile::encodeName(name);
    request.Encoding = encoding;
    request.KeepName = keepName;
    return BuildViewRequest(request).value_or(QByteArray());
}

// Waits until the copy is listed as waiting for view requests.
bool WaitForViewTag(qint64 handle)
{
    return WaitUntil([&] {
        for (const platform::TInstance& copy : platform::ListInstances())
            if (copy.handle == handle)
                return copy.applicationTag == VIEW_REQUEST_TAG;
        return false;
    }, 20000);
}

TEST_F(WindowsTest, AWaitingWindowShowsTheRequestedFileAsItIsAsked)
{
    const QString koi = MakeFile(QStringLiteral("koi.txt"), Koi8Text);
    TfmView& w = Start({QStringLiteral("|?")});
    ASSERT_TRUE(w.AcceptCopyData);
    EXPECT_TRUE(w.GEditor->IsEmpty());

    // Keep-name 0: shown unnamed, read as the request says however it looks.
    Sent sent = View({QStringLiteral("--encoding"), QStringLiteral("koi"), QStringLiteral("--caret"),
                      QStringLiteral("3"), QStringLiteral("--select"), QStringLiteral("4"), koi});
    ASSERT_EQ(sent.exitCode, 0) << sent.errors.toStdString();
    EXPECT_EQ(w.GEditor->Lines()->Get(0), FirstLine);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Text input"));
    EXPECT_TRUE(w.CurFileName.isEmpty());
    EXPECT_EQ(w.CurEncoding, Koi);
    EXPECT_TRUE(w.sbKoi->isChecked());
    EXPECT_EQ(w.GEditor->SelStart(), 3);
    EXPECT_EQ(w.GEditor->SelLength(), 4);
    EXPECT_FALSE(w.GEditor->AutoEncoding());
    EXPECT_EQ(w.GEditor->DosAdd(), daNone);
    EXPECT_FALSE(w.GEditor->Modified());

    // The window's own changes are replaced without a question; keep-name 1
    // names the file; big-endian UTF-16 is read as asked.
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("typed"));
    const QString big = MakeFile(QStringLiteral("big.txt"), QByteArray::fromHex("041f04400438000d000a"));
    sent = View({QStringLiteral("-e"), QStringLiteral("uni"), QStringLiteral("-b"), QStringLiteral("big"),
                 QStringLiteral("-k"), big});
    ASSERT_EQ(sent.exitCode, 0) << sent.errors.toStdString();
    EXPECT_EQ(w.GEditor->Lines()->Get(0), QStringLiteral("При"));
    EXPECT_EQ(w.GEditor->UniType(), Big);
    EXPECT_EQ(w.CurFileName, big);
    EXPECT_EQ(w.CurEncoding, Uni);
    // UTF-8 may be asked for too.
    const QString ascii = MakeFile(QStringLiteral("ascii.txt"), "only ASCII\r\n");
    sent = View({QStringLiteral("-e"), QStringLiteral("utf8"), QStringLiteral("-k"), ascii});
    ASSERT_EQ(sent.exitCode, 0) << sent.errors.toStdString();
    EXPECT_EQ(w.CurEncoding, Utf8);
    EXPECT_TRUE(w.sbUtf8->isChecked());

    // A caret past the end and a selection past it are kept inside the text.
    sent = View({QStringLiteral("-e"), QStringLiteral("koi"), QStringLiteral("-c"), QStringLiteral("4000000000"),
                 QStringLiteral("-s"), QStringLiteral("4294967295"), koi});
    ASSERT_EQ(sent.exitCode, 0) << sent.errors.toStdString();
    EXPECT_LE(w.GEditor->SelStart() + w.GEditor->SelLength(), w.GEditor->Window()->document()->characterCount() - 1);
    EXPECT_GT(w.GEditor->SelStart() + w.GEditor->SelLength(), 0);
    EXPECT_TRUE(prompter.Asked().empty());

    // Two requests arriving together are each carried out.
    const QString a = MakeFile(QStringLiteral("a.txt"), "first file\r\n");
    const QString b = MakeFile(QStringLiteral("b.txt"), "second file\r\n");
    QProcess one, two;
    one.start(QStringLiteral(QUILLET_VIEW_PATH), {QStringLiteral("-k"), a});
    two.start(QStringLiteral(QUILLET_VIEW_PATH), {QStringLiteral("-k"), b});
    ASSERT_TRUE(WaitUntil([&] {
        return (one.state() == QProcess::NotRunning || one.waitForFinished(0))
               && (two.state() == QProcess::NotRunning || two.waitForFinished(0));
    }, 20000));
    EXPECT_EQ(one.exitCode(), 0);
    EXPECT_EQ(two.exitCode(), 0);
    ASSERT_TRUE(w.CurFileName == a || w.CurFileName == b);
    EXPECT_EQ(w.GEditor->Lines()->Get(0), w.CurFileName == a ? QStringLiteral("first file") : QStringLiteral("second file"));
}

TEST_F(WindowsTest, OnlyWellFormedRequestsWithTheViewTagAreTakenByAWaitingWindow)
{
    const QString file = MakeFile(QStringLiteral("shown.txt"), "shown\r\n");
    ChildCopy& waiting = Child({QStringLiteral("|?")});
    ChildCopy& ordinary = Child();
    ASSERT_TRUE(WaitForViewTag(waiting.Handle()));
    const qint64 target = waiting.Handle();
    auto send = [&](std::uint32_t tag, const QByteArray& record) {
        return platform::SendCopyData(target, tag, record, 10000).value_or(99);
    };
    const QByteArray good = RecordFor(file);
    QByteArray noEncoding = good;
    noEncoding[513] = 7;
    // Records the reader refuses (each kind is checked where records are read).
    EXPECT_EQ(send(INSTANCE_TAG, good), 0u);
    EXPECT_EQ(send(VIEW_REQUEST_TAG, good.left(ViewRequestSize - 1)), 0u);
    EXPECT_EQ(send(VIEW_REQUEST_TAG, noEncoding), 0u);
    // Taken, but naming nothing that can be shown: a missing file, a relative
    // name (it would be looked for in the window's folder, not the sender's).
    EXPECT_EQ(send(VIEW_REQUEST_TAG, RecordFor(Path(QStringLiteral("missing.txt")))), 2u);
    EXPECT_EQ(send(VIEW_REQUEST_TAG, RecordFor(QStringLiteral("shown.txt"))), 2u);
    EXPECT_TRUE(WaitForCaption(target, QStringLiteral("Quillet"), 1000)) << "nothing was shown";

    EXPECT_EQ(send(VIEW_REQUEST_TAG, good), 1u);
    EXPECT_TRUE(WaitForCaption(target, QStringLiteral("Text input")));
    EXPECT_EQ(send(VIEW_REQUEST_TAG, RecordFor(file, Win, true)), 1u);
    EXPECT_TRUE(WaitForCaption(target, QStringLiteral("File ") + file));

    // A window not started to wait takes no request.
    EXPECT_EQ(platform::SendCopyData(ordinary.Handle(), VIEW_REQUEST_TAG, good, 10000), std::optional<std::uint32_t>(0));
    const Sent refused = View({QStringLiteral("--pid"), QString::number(ordinary.Handle()), file});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errors.contains(QStringLiteral("does not take view requests"))) << refused.errors.toStdString();
    EXPECT_TRUE(waiting.Log().filter(QStringLiteral("question")).isEmpty());
}

// The copy's caption as a listing shows it, or "" when it is not listed.
QString CaptionOf(qint64 handle)
{
    for (const platform::TInstance& copy : platform::ListInstances())
        if (copy.handle == handle)
            return copy.caption;
    return {};
}

TEST_F(WindowsTest, WhatCannotBeShownIsAnsweredAtOnceAndWhatNoOneWaitsForIsDropped)
{
    const QString a = MakeFile(QStringLiteral("a.txt"), "a\r\n");
    const QString b = MakeFile(QStringLiteral("b.txt"), "b\r\n");
    const QString fifo = Path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString fifoLink = Path(QStringLiteral("pipe-link.txt"));
    ASSERT_TRUE(QFile::link(fifo, fifoLink));
    const QString folder = Path(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));

    // The real program with no script: a box it opened would wait for a click.
    QProcess waiting;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    waiting.setProcessEnvironment(env);
    waiting.start(QStringLiteral(QUILLET_APP_PATH), {QStringLiteral("|?")});
    ASSERT_TRUE(waiting.waitForStarted(10000));
    const qint64 target = waiting.processId();
    ASSERT_TRUE(WaitForViewTag(target));
    auto send = [&](const QString& name, int timeoutMs = 5000) {
        return platform::SendCopyData(target, VIEW_REQUEST_TAG, RecordFor(name, Win, true), timeoutMs);
    };

    for (const QString& name : {QStringLiteral("/dev/zero"), fifo, fifoLink, folder}) {
        QElapsedTimer took;
        took.start();
        EXPECT_EQ(send(name), std::optional<std::uint32_t>(2)) << name.toStdString();
        EXPECT_LT(took.elapsed(), 2000) << name.toStdString();
    }
    ASSERT_EQ(send(a), std::optional<std::uint32_t>(1)) << "a request after them waits for nothing";
    EXPECT_TRUE(WaitForCaption(target, QStringLiteral("File ") + a));

    // The window is held (stopped) past the sender's wait: once free, it does not
    // carry the request out behind the sender's back.
    ::kill(pid_t(target), SIGSTOP);
    EXPECT_EQ(send(b, 300), std::nullopt);
    ::kill(pid_t(target), SIGCONT);
    QTest::qWait(1000);
    EXPECT_EQ(CaptionOf(target), QStringLiteral("File ") + a);
    EXPECT_EQ(send(b), std::optional<std::uint32_t>(1));
    EXPECT_EQ(CaptionOf(target), QStringLiteral("File ") + b);
    waiting.kill();
    waiting.waitForFinished(5000);
}

TEST_F(WindowsTest, QuilletViewSaysWhatWentWrong)
{
    const QString file = MakeFile(QStringLiteral("x.txt"), "x\r\n");
    Sent sent = View({file});
    EXPECT_EQ(sent.exitCode, 1);
    EXPECT_TRUE(sent.errors.contains(QStringLiteral("no Quillet window is waiting"))) << sent.errors.toStdString();
    sent = View({Path(QStringLiteral("missing.txt"))});
    EXPECT_EQ(sent.exitCode, 1);
    EXPECT_TRUE(sent.errors.contains(QStringLiteral("Can not find the file: "))) << sent.errors.toStdString();
    sent = View({QStringLiteral("/dev/zero")});
    EXPECT_EQ(sent.exitCode, 1);
    EXPECT_TRUE(sent.errors.contains(QStringLiteral("is not a regular file"))) << sent.errors.toStdString();
    sent = View({QStringLiteral("/") + QString(600, u'a')});
    EXPECT_EQ(sent.exitCode, 1);
    EXPECT_EQ(View({QStringLiteral("--encoding"), QStringLiteral("ebcdic"), file}).exitCode, 2);
    EXPECT_EQ(View({QStringLiteral("--caret"), QStringLiteral("-1"), file}).exitCode, 2);
    EXPECT_EQ(View({}).exitCode, 2);

    // --wait finds a window that starts after the request was made.
    QProcess sender;
    sender.start(QStringLiteral(QUILLET_VIEW_PATH), {QStringLiteral("--wait"), QStringLiteral("15000"), file});
    ChildCopy& waiting = Child({QStringLiteral("|?")});
    ASSERT_TRUE(WaitUntil([&] { return sender.waitForFinished(0) || sender.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(sender.exitCode(), 0);
    EXPECT_TRUE(WaitForCaption(waiting.Handle(), QStringLiteral("Text input")));
}

} // namespace
