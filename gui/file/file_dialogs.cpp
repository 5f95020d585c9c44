#include "file/file_dialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QScreen>
#include <QTreeView>

#include <algorithm>

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

QString QtFileDialogs::openTable(QWidget* parent, const QString& title, const QString& folder,
                                 const QStringList& filters) {
    QFileDialog dialog(parent, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setNameFilters(filters);
    return chosenFile(dialog);
}

QString QtFileDialogs::saveTable(QWidget* parent, const QString& title, const QString& proposedPath,
                                 const QStringList& filters, int& filter) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(proposedPath);
    const QString path = chosenFile(dialog);
    filter = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return path;
}

std::optional<int> QtFileDialogs::chooseGroup(QWidget* parent, const QString& title,
                                              const QString& label, int last, int proposed) {
    bool ok = false;
    const int group = QInputDialog::getInt(parent, title, label, proposed, 1, last, 1, &ok);
    return ok ? std::optional<int>(group) : std::nullopt;
}

} // namespace vrl::gui
