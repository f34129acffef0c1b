#include "ui/qt_file_dialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace ai::ui {

namespace {

std::optional<std::string> ask(const std::string& title, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // The caller decides the final name (the mesh file gets its extension appended), so a
    // question about overwriting the name typed would be about the wrong file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace

std::optional<std::string> QtFileDialogs::openFileName(const std::string& title)
{
    return ask(title, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtFileDialogs::saveFileName(const std::string& title)
{
    return ask(title, QFileDialog::AcceptSave);
}

std::optional<std::vector<std::string>> QtFileDialogs::openFileNames(const std::string& title)
{
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    std::vector<std::string> files;
    for (const QString& file : dialog.selectedFiles())
        files.push_back(file.toStdString());
    return files;
}

} // namespace ai::ui
