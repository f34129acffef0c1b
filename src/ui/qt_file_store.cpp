#include "ui/qt_file_store.h"

#include <QFile>
#include <QSaveFile>

namespace ai::ui {

namespace {

// The reason of a failed write, in French, with the system's own words after it.
std::string reasonOf(const QFileDevice& file)
{
    std::string reason;
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        reason = "accès refusé";
        break;
    case QFileDevice::OpenError:
        reason = "impossible de créer le fichier";
        break;
    case QFileDevice::ResourceError:
        reason = "plus de place sur le disque";
        break;
    default:
        reason = "erreur d'écriture";
        break;
    }
    const std::string detail = file.errorString().toStdString();
    return detail.empty() ? reason : reason + " (" + detail + ")";
}

} // namespace

std::optional<std::string> QtFileStore::read(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes.toStdString();
}

std::string QtFileStore::writeAtomically(const std::string& path, const std::string& bytes)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return reasonOf(file);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        const std::string reason = reasonOf(file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return reasonOf(file);
    return {};
}

} // namespace ai::ui
