// The Qt ports: files through QFile and QSaveFile, the message box and the file dialogs.
#include "gui_harness.h"

#include "ui/qt_file_dialogs.h"
#include "ui/qt_file_store.h"
#include "ui/qt_messages.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

// Runs `act` on the modal dialog of type Dialog as soon as it is up. A dialog that is not
// the one expected, or none at all, is rejected so that the test cannot hang.
template <typename Dialog> void whenModal(std::function<void(Dialog&)> act)
{
    auto* timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal)) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        } else if (++*ticks > 500) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no such modal dialog";
            if (auto* other = qobject_cast<QDialog*>(modal))
                other->reject();
        }
    });
    timer->start(10);
}

TEST(QtPorts, FilesAreReadWholeAndReplacedAtomicallyWithAFrenchReasonOnFailure)
{
    PictureFolder folder;
    ui::QtFileStore files;
    const std::string path = folder.path("etude.MEF");
    const std::string bytes("[init]\r\nnodenumber=1\r\n\0\xE9", 24);

    EXPECT_EQ(files.read(path), std::nullopt);
    EXPECT_EQ(files.writeAtomically(path, "an older study that is longer than the new one"), "");
    EXPECT_EQ(files.writeAtomically(path, bytes), "");
    EXPECT_EQ(files.read(path), bytes);

    const std::string nowhere = folder.path("missing-folder/etude.MEF");
    const std::string reason = files.writeAtomically(nowhere, bytes);
    EXPECT_NE(reason, "");
    EXPECT_NE(reason.find("impossible de créer le fichier"), std::string::npos) << reason;
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    // The file that had the name before a failed write is untouched.
    std::filesystem::create_directory(folder.path("locked"));
    EXPECT_NE(files.writeAtomically(folder.path("locked"), "x"), "");
    EXPECT_TRUE(std::filesystem::is_directory(folder.path("locked")));
    EXPECT_EQ(files.read(folder.path("locked")), std::nullopt);
}

TEST(QtPorts, TheMessageBoxHasTheProgramTitleOneOkButtonAndNoIcon)
{
    GuiHarness gui;
    bool seen = false;
    whenModal<QMessageBox>([&](QMessageBox& box) {
        seen = true;
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Analyse d'image"));
        EXPECT_EQ(box.text(), QStringLiteral("3 noeuds et 1 élément(s)"));
        EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
        ASSERT_EQ(box.buttons().size(), 1);
        EXPECT_EQ(box.standardButton(box.buttons().front()), QMessageBox::Ok);
        box.buttons().front()->click();
    });
    ui::QtMessages().message("3 noeuds et 1 élément(s)");
    EXPECT_TRUE(seen);
}

TEST(QtPorts, FileDialogsHaveTheTitleAndNoFilterExtensionOrFolderAndReportCancel)
{
    GuiHarness gui;
    PictureFolder folder;
    const std::string picture = folder.write("libre.bmp", {4, 4}, Qt::blue);
    ui::QtFileDialogs dialogs;

    whenModal<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Récupérer un fichier image"));
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog.defaultSuffix(), QString());
        EXPECT_LE(dialog.nameFilters().size(), 1);
        EXPECT_EQ(dialog.directory().absolutePath(), QDir::current().absolutePath());
        dialog.selectFile(QString::fromStdString(picture));
        static_cast<QDialog&>(dialog).accept(); // QFileDialog checks the choice
    });
    EXPECT_EQ(dialogs.openFileName("Récupérer un fichier image"), picture);

    whenModal<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sauvergarde d'un maillage"));
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.defaultSuffix(), QString());
        dialog.reject();
    });
    EXPECT_EQ(dialogs.saveFileName("Sauvergarde d'un maillage"), std::nullopt);
}

} // namespace
} // namespace ai::test
