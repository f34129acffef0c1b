#include "ui/qt_file_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <cerrno>
#include <cstdint>

namespace ai::ui {

namespace {

// The common causes, said in French, from the system's error code when it tells one.
std::string causeOf(int systemError)
{
    switch (systemError) {
    case ENOSPC:
        return "le disque est plein";
    case EDQUOT:
        return "le quota d'espace disque est dépassé";
    case EROFS:
        return "le disque est en lecture seule";
    case EACCES:
    case EPERM:
        return "accès refusé";
    case ENOENT:
    case ENOTDIR:
        return "le dossier n'existe pas";
    case EISDIR:
        return "ce nom est celui d'un dossier";
    default:
        return {};
    }
}

} // namespace

std::string writeFailureReason(QFileDevice::FileError error, int systemError,
                               const std::string& detail)
{
    std::string reason = causeOf(systemError);
    if (reason.empty()) {
        switch (error) {
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
    }
    // The system's own words help where they say something; "Unknown error" does not.
    if (detail.empty() || detail == "Unknown error" || systemError != 0)
        return reason;
    return reason + " (" + detail + ")";
}

namespace {

// The reason of a failed step, read at once: the system's code does not outlive the next call.
std::string reasonOf(const QFileDevice& file, int systemError)
{
    return writeFailureReason(file.error(), systemError, file.errorString().toStdString());
}

// Replacing the file atomically needs a new file beside it. In a folder the user may not
// write to, that file cannot be made although the file itself may be written: writing it in
// place is then the only save that can succeed, so only then is it allowed.
bool mayWriteInPlace(const QString& path)
{
    const QFileInfo file(path);
    return file.exists() && file.isFile() && file.isWritable() &&
           !QFileInfo(file.absolutePath()).isWritable();
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
    const QString name = QString::fromStdString(path);
    QSaveFile file(name);
    file.setDirectWriteFallback(mayWriteInPlace(name));
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return reasonOf(file, errno);
    const auto size = static_cast<qint64>(bytes.size());
    errno = 0;
    if (file.write(bytes.data(), size) != size) {
        const std::string reason = reasonOf(file, errno);
        file.cancelWriting();
        return reason;
    }
    errno = 0;
    if (!file.commit())
        return reasonOf(file, errno);
    return {};
}

} // namespace ai::ui
