// SPDX-License-Identifier: GPL-3.0-or-later
// The main-window test harness: one application for the process, and a fresh
// world (HOME, XDG folders, registry, prompter) for every test.
#include "testsupport.h"

#include "privateworld.h"
#include "shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quillet-tests";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        // Further copies are the real program, not this test executable.
        platform::SetSelfExecutable(QStringLiteral(QUILLET_APP_PATH));
    }
    void TearDown() override { app.reset(); }

private:
    std::unique_ptr<QApplication> app;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qSleep(5);
    }
    return true;
}

void ViewTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    EnterPrivateWorld(dir.path());
    scopedPrompter = std::make_unique<ScopedPrompter>(prompter);
}

void ViewTest::TearDown()
{
    Discard();
    scopedPrompter.reset();
}

TfmView& ViewTest::Start(const QStringList& arguments)
{
    view = std::make_unique<TfmView>(arguments);
    view->show();
    EXPECT_TRUE(WaitUntil([this] { return view->FormActive || view->TextReady; }));
    QCoreApplication::processEvents();
    return *view;
}

void ViewTest::Discard()
{
    if (!view)
        return;
    view->GEditor->SetModified(false);
    view->close();
    view.reset();
}

QString ViewTest::MakeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray ViewTest::ReadFile(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList ViewTest::Messages() const
{
    QStringList texts;
    for (const PromptRecord& record : prompter.Asked())
        if (record.kind == PromptKind::Message)
            texts << record.text;
    return texts;
}
