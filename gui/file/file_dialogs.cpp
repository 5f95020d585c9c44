#include "file/file_dialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

namespace vrl::gui {

namespace {

// The chooser opens large enough to show its columns in full (name, size, type,
// date) in the detailed view, within the screen.
void sizeToColumns(QFileDialog& dialog) {
    dialog.setViewMode(QFileDialog::Detail);
    QSize size(820, 480);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    dialog.resize(size.expandedTo(dialog.sizeHint()));
    if (auto* view = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = view->header();
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

QString chosenFile(QFileDialog& dialog) {
    sizeToColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtFileDialogs::openFile(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QString(), folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setNameFilter(QStringLiteral("RDX Data Files (*.dat *.sdt *.DAT *.SDT)"));
    return chosenFile(dialog);
}

QString QtFileDialogs::saveFile(QWidget* parent, const QString& proposedPath) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("RDX Data Files (*.dat)"));
    // The suffix is added before the overwrite question, so the question names the
    // file that will really be replaced.
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    dialog.selectFile(proposedPath);
    return chosenFile(dialog);
}

} // namespace vrl::gui
