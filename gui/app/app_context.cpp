#include "app/app_context.h"

#include "file/file_dialogs.h"

namespace vrl::gui {

QString AppContext::currentFileName() const {
    const qsizetype cut = std::max(filePath_.lastIndexOf('/'), filePath_.lastIndexOf('\\'));
    return filePath_.mid(cut + 1);
}

QString AppContext::currentFolder() const {
    const qsizetype cut = std::max(filePath_.lastIndexOf('/'), filePath_.lastIndexOf('\\'));
    return filePath_.left(cut + 1);
}

FileDialogs& AppContext::fileDialogs() {
    if (!fileDialogs_) {
        static QtFileDialogs standard;
        return standard;
    }
    return *fileDialogs_;
}

} // namespace vrl::gui
