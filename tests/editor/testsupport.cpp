// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers of the editor tests.
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class TApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "editor_test";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    std::unique_ptr<QApplication> app;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

} // namespace

TTestDir::TTestDir() : dir(std::make_unique<QTemporaryDir>()) {}
TTestDir::~TTestDir() = default;

QString TTestDir::Path(const QString& name) const
{
    return dir->filePath(name);
}

QString TTestDir::Write(const QString& name, const TBytes& bytes) const
{
    const QString path = Path(name);
    WriteBytes(path, bytes);
    return path;
}

QString Sample(const QString& name)
{
    return QStringLiteral(QUILLET_TEST_DATA "/editor/") + name;
}

TBytes ReadBytes(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return TBytes(data.begin(), data.end());
}

void WriteBytes(const QString& fileName, const TBytes& bytes)
{
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

TBytes Latin1(const std::string& s)
{
    return TBytes(s.begin(), s.end());
}

QStringList SampleLines()
{
    const QString ascii = QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
    const QString letters = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    const QString prose = QStringLiteral(
        "Съешь же ещё этих мягких французских булок, да выпей чаю. "
        "В чащах юга жил бы цитрус? Да, но фальшивый экземпляр! "
        "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства.");
    return {prose, ascii, letters, prose};
}

void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (const QString& s : list) {
        PrintTo(s, os);
        *os << ", ";
    }
    *os << '}';
}
