#pragma once

#include "io/file_store.h"
#include "shell/ports.h"

#include <string>

namespace ai::ui {

// Asks for a file name under `title`, adds `extension` when the name lacks it (whatever its
// case), writes the bytes atomically and, when that fails, says so: "<failure> dans le
// fichier "<path>" : <reason>". A cancelled dialog writes nothing.
void saveThroughDialog(FileDialogPort& dialogs, FileStore& files, MessagePort& messages,
                       const std::string& title, const char* extension,
                       const std::string& bytes, const std::string& failure);

} // namespace ai::ui
