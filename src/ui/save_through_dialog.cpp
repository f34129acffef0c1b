#include "ui/save_through_dialog.h"

#include <QString>

namespace ai::ui {

void saveThroughDialog(FileDialogPort& dialogs, FileStore& files, MessagePort& messages,
                       const std::string& title, const char* extension,
                       const std::string& bytes, const std::string& failure)
{
    const auto chosen = dialogs.saveFileName(title);
    if (!chosen || chosen->empty())
        return;
    std::string path = *chosen;
    if (!QString::fromStdString(path).endsWith(QLatin1String(extension), Qt::CaseInsensitive))
        path += extension;
    const std::string reason = files.writeAtomically(path, bytes);
    if (!reason.empty())
        messages.message(failure + " dans le fichier \"" + path + "\" : " + reason);
}

} // namespace ai::ui
