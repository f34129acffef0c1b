#pragma once

// The text of a PDF file's pages as poppler's pdftotext reads it in its layout, one string
// a page, each run of blanks as one blank (a table's row on one line).
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace ai::test {

inline std::vector<std::string> pdfPages(const std::string& bytes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("report.pdf");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) < 0)
        return {};
    file.close();
    QProcess process;
    process.start("pdftotext", {"-layout", "-enc", "UTF-8", path, "-"});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    // pdftotext ends every page with a form feed.
    std::vector<std::string> pages;
    static const QRegularExpression blanks(QStringLiteral(" +"));
    for (QString page : QString::fromUtf8(process.readAllStandardOutput()).split('\f'))
        pages.push_back(page.replace(blanks, QStringLiteral(" ")).toStdString());
    if (!pages.empty() && pages.back().empty())
        pages.pop_back();
    return pages;
}

} // namespace ai::test
