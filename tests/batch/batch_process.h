#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

namespace ai::test {

// The batch program run as a user runs it, in a scratch folder of its own.
struct BatchRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class BatchFolder {
public:
    BatchFolder();

    // A path inside the folder.
    QString path(const QString& name) const { return dir_.filePath(name); }

    BatchRun run(const QStringList& arguments) const;

    void write(const QString& name, const std::string& bytes) const;
    std::string read(const QString& name) const;
    bool exists(const QString& name) const;
    // The files the folder holds, sorted.
    QStringList files() const;

private:
    QTemporaryDir dir_;
};

// The committed worked example.
QString exampleFile(const char* name);

} // namespace ai::test
