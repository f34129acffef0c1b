#include "ui/qt_file_store.h"

#include <QFile>
#include <QSaveFile>

#include <array>
#include <cstdint>

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

std::optional<std::string> QtFileStore::read(const std::string& path, std::size_t limit)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The size a regular file announces saves reading a too large one; devices and pipes
    // announce none, and stop being read one chunk past the limit.
    if (file.size() > 0 && static_cast<std::uint64_t>(file.size()) > limit)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(file.size()));
    std::array<char, 64 * 1024> chunk;
    qint64 count = 0;
    while ((count = file.read(chunk.data(), static_cast<qint64>(chunk.size()))) > 0) {
        if (bytes.size() + static_cast<std::size_t>(count) > limit)
            return std::nullopt;
        bytes.append(chunk.data(), static_cast<std::size_t>(count));
    }
    if (count < 0)
        return std::nullopt;
    return bytes;
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
