#include "file/file_dialogs.h"

#include <QFileDialog>

namespace vrl::gui {

QString QtFileDialogs::openFile(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, QString(), folder,
                                        QStringLiteral("RDX Data Files (*.dat *.sdt *.DAT *.SDT)"),
                                        nullptr, QFileDialog::ReadOnly);
}

QString QtFileDialogs::saveFile(QWidget* parent, const QString& proposedPath) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("RDX Data Files (*.dat)"));
    // The suffix is added before the overwrite question, so the question names the
    // file that will really be replaced.
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace vrl::gui
