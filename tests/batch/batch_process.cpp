#include "batch_process.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace ai::test {

BatchFolder::BatchFolder() { EXPECT_TRUE(dir_.isValid()); }

BatchRun BatchFolder::run(const QStringList& arguments) const
{
    QProcess process;
    process.setWorkingDirectory(dir_.path());
    process.start(QStringLiteral(ANALYSE_BATCH_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << "the batch program did not end";
    BatchRun result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

void BatchFolder::write(const QString& name, const std::string& bytes) const
{
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string BatchFolder::read(const QString& name) const
{
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll().toStdString();
}

bool BatchFolder::exists(const QString& name) const { return QFile::exists(path(name)); }

QStringList BatchFolder::files() const
{
    return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QString exampleFile(const char* name)
{
    return QStringLiteral(ANALYSE_EXAMPLES_DIR "/") + QString::fromLatin1(name);
}

} // namespace ai::test
