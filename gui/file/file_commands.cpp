#include "file/file_commands.h"

#include "app/app_context.h"
#include "app/frame_host.h"
#include "app/ui_helpers.h"
#include "file/data_file.h"
#include "file/file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vrl::gui {

namespace {

// The system error that means a removable drive holds no medium.
#ifdef ENOMEDIUM
constexpr int kDriveNotReady = ENOMEDIUM;
#else
constexpr int kDriveNotReady = 21;
#endif

std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

MessageService::Request error(AppContext& ctx, const QString& text) {
    return {text, ctx.text(79), MessageService::Icon::Error, MessageService::Buttons::Ok, false};
}

// The operating system's text for an error number.
QString systemText(int systemError) {
    return QString::fromLocal8Bit(std::strerror(systemError));
}

} // namespace

QString FileCommands::aboutFile(const QString& text, const QString& path, const QString& reason) {
    QString out = text;
    if (!out.isEmpty()) out += QStringLiteral("\n\n");
    out += QDir::toNativeSeparators(path);
    if (!reason.isEmpty()) out += '\n' + reason;
    return out;
}

QString FileCommands::openedName(const QString& path) {
    if (path.right(3).toUpper() == QStringLiteral("SDT")) return path.left(path.size() - 3) + "dat";
    return path;
}

QString FileCommands::proposedName(const QString& modelLabel, const QString& serial) {
    QString name;
    for (QChar c : modelLabel) {
        if (c.unicode() < 0x80 && c.isLetterOrNumber())
            name += c;
        else if (!name.isEmpty() && !name.endsWith('-'))
            name += '-';
    }
    while (name.endsWith('-'))
        name.chop(1);
    if (name.isEmpty()) name = QStringLiteral("radio");
    if (!serial.isEmpty()) name += '_' + serial;
    return name + QStringLiteral(".dat");
}

void FileCommands::showSystemError(const QString& path, int systemError, const QString& detail,
                                   const QString& lead) {
    AppContext& ctx = host_.context();
    QString text;
    if (systemError == kDriveNotReady)
        text = aboutFile(ctx.text(18), path, {});
    else if (systemError != 0)
        text = aboutFile({}, path, systemText(systemError));
    else
        text = aboutFile({}, path, detail);
    if (!lead.isEmpty()) text = lead + QStringLiteral("\n\n") + text;
    ctx.messages().ask(error(ctx, text));
}

void FileCommands::showSaveFailure(const QString& path, SaveRefusal refusal, int systemError,
                                   const std::string& detail, const QString& lead) {
    AppContext& ctx = host_.context();
    auto named = [&](int textIndex) {
        QString text = ctx.text(textIndex).replace(QStringLiteral("%s"), path);
        if (!lead.isEmpty()) text = lead + QStringLiteral("\n\n") + text;
        ctx.messages().ask(error(ctx, text));
    };
    if (refusal == SaveRefusal::ReadOnly)
        named(74);
    else if (refusal == SaveRefusal::FolderNotWritable)
        named(75);
    else
        showSystemError(path, refusal == SaveRefusal::NotRegular ? 0 : systemError,
                        QString::fromStdString(detail), lead);
}

bool FileCommands::promptToSaveChanges() {
    AppContext& ctx = host_.context();
    // An edit still being typed commits when it loses the focus; it must count.
    CommitFocus commit;
    if (!ctx.data().image.isModified()) return true;
    const QString text = QStringLiteral("%1\"%2\"?").arg(ctx.text(20), ctx.shownFileName());
    const auto answer = ctx.messages().ask({text, ctx.text(80), MessageService::Icon::Question,
                                            MessageService::Buttons::YesNoCancel, false});
    if (answer == QMessageBox::Yes) return saveAs();
    return answer == QMessageBox::No;
}

void FileCommands::open() {
    if (!host_.promptToSaveChanges()) return;
    AppContext& ctx = host_.context();
    ctx.data().image.takeUndoCopy();
    const QString path = ctx.fileDialogs().openFile(host_.mainWindow(), ctx.currentFolder());
    if (path.isEmpty()) return;
    openPath(path);
}

bool FileCommands::openPath(const QString& path) {
    AppContext& ctx = host_.context();
    // Read into a scratch image first, so that a refused file changes nothing and
    // the open windows stay until the new data are really there.
    auto scratch = std::make_unique<CDataImage>();
    if (!readFile(path, *scratch)) {
        ctx.data().image.restoreUndoCopy();
        return false;
    }
    WaitCursor wait;
    host_.closeAllFunctionWindows();
    CDataImage& image = ctx.data().image;
    std::copy(scratch->bytes().begin(), scratch->bytes().end(), image.bytes().begin());
    ctx.setCurrentFilePath(openedName(path));
    image.takeSnapshot(); // before the history starts, so that it starts unmodified
    emit ctx.dataReplaced();
    emit ctx.modelChanged(); // flags, menus, tree view and title
    image.takeSnapshot();
    host_.openDefaultWindow();
    host_.rebuildTitle();
    return true;
}

bool FileCommands::readFile(const QString& path, CDataImage& into) {
    const DataFileStatus status = readDataFile(nativePath(path), into);
    if (status.result == kFileOk) return true;
    AppContext& ctx = host_.context();
    const bool cannotOpen = status.result == kFileCannotOpen;
    const QString reason = cannotOpen && status.systemError != 0
                               ? systemText(status.systemError)
                               : QString::fromStdString(status.detail);
    ctx.messages().ask(error(ctx, aboutFile(ctx.text(cannotOpen ? 15 : 16), path, reason)));
    return false;
}

bool FileCommands::save() {
    AppContext& ctx = host_.context();
    CommitFocus commit;
    // Data without a file (read from a radio), or with a name the program gave them,
    // never go to a file the user did not name.
    if (ctx.saveAsksForName()) return saveAs();
    const std::string path = nativePath(ctx.currentFilePath());
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        const QString text = ctx.text(17) + ctx.currentFileName();
        if (ctx.messages().ask({text, ctx.text(78), MessageService::Icon::Warning,
                                MessageService::Buttons::OkCancel, true}) != QMessageBox::Ok)
            return false;
    } else if (errno != ENOENT) {
        showSystemError(ctx.currentFilePath(), errno, {});
        return false;
    }
    return writeCurrent();
}

bool FileCommands::saveAs() {
    AppContext& ctx = host_.context();
    CommitFocus commit;
    const QString chosen = ctx.fileDialogs().saveFile(host_.mainWindow(), ctx.proposedFilePath());
    if (chosen.isEmpty()) return false;
    const QString previous = ctx.currentFilePath();
    const QString previousProposal = ctx.proposedFilePath();
    ctx.setCurrentFilePath(chosen);
    const bool saved = writeCurrent();
    if (!saved) {
        ctx.setCurrentFilePath(previous);
        if (ctx.isUntitled()) ctx.setUntitled(QFileInfo(previousProposal).fileName());
    }
    host_.rebuildTitle();
    return saved;
}

bool FileCommands::writeCurrent() {
    AppContext& ctx = host_.context();
    DataFileStatus status;
    {
        WaitCursor wait;
        status = writeDataFile(nativePath(ctx.currentFilePath()), ctx.data().image);
    }
    if (status.result != kFileOk) {
        showSaveFailure(ctx.currentFilePath(), status.refusal, status.systemError, status.detail);
        return false;
    }
    ctx.data().image.takeSnapshot();
    ctx.recordEdit(QString());
    ctx.history().markSaved();
    host_.rebuildTitle();
    return true;
}

} // namespace vrl::gui
