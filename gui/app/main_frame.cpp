#include "app/main_frame.h"

#include "app/about_dlg.h"
#include "app/app_context.h"
#include "app/app_settings.h"
#include "app/commands.h"
#include "app/language_setup_dlg.h"
#include "app/registries.h"
#include "app/settings_values.h"
#include "app/tree_view_dlg.h"
#include "app/ui_helpers.h"
#include "widgets/help_viewer.h"
#include "file/file_commands.h"
#include "model/model_commands.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace vrl::gui {

CMainFrame::CMainFrame(AppContext& ctx, AppSettings* settings, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), settings_(settings),
      files_(std::make_unique<FileCommands>(*this)) {
    setObjectName(QStringLiteral("CMainFrame"));
    mdi_ = new QMdiArea(this);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    createActions();
    createToolBar();
    createStatusBar();
    ctx_.data().model.refresh();
    functionList_ = offeredFunctionWindows();
    rebuildMenus();
    rebuildTitle();

    connect(&ctx_, &AppContext::dataChanged, this, [this] {
        // Changes that no form field recorded (grid, copy dialogs, keys, ...) are
        // one step named after the window they were made in.
        QMdiSubWindow* active = mdi_->activeSubWindow();
        ctx_.recordEdit(active ? active->windowTitle() : QString());
        refreshAllWindows();
        updateModifiedMark();
    });
    connect(&ctx_, &AppContext::modelChanged, this, &CMainFrame::modelIdentityChanged);
    // A model change is one step (New, Open and Read have just cleared the history,
    // so they make none).
    connect(&ctx_, &AppContext::modelChanged, this,
            [this] { ctx_.recordEdit(ctx_.text(118).remove('&').section('\t', 0, 0)); });
    connect(&ctx_, &AppContext::historyChanged, this, [this] {
        updateUndoActions();
        updateModifiedMark(); // every recorded edit, also those no other window shows
    });
    connect(&ctx_, &AppContext::languageChanged, this, [this] {
        rebuildMenus();
        rebuildTitle();
        updateStatusBar();
    });
    connect(&ctx_, &AppContext::comPortChanged, this, &CMainFrame::updateStatusBar);
}

CMainFrame::~CMainFrame() {
    // The child windows die with the frame's base class; they must not call back
    // into the part of the frame that is already gone.
    for (auto& [command, sub] : windows_) disconnect(sub, nullptr, this, nullptr);
    windows_.clear();
    clock_->stop();
}

void CMainFrame::createStatusBar() {
    for (int i = 0; i < 3; ++i) {
        panes_[i] = new QLabel(this);
        panes_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    statusBar()->addWidget(panes_[0]);
    statusBar()->addPermanentWidget(panes_[1]);
    statusBar()->addPermanentWidget(panes_[2]);
    clock_ = new QTimer(this);
    clock_->setInterval(500);
    connect(clock_, &QTimer::timeout, this, [this] {
        updateStatusBar();
        updateModifiedMark();
    });
    clock_->start();
    updateStatusBar();
}

void CMainFrame::updateStatusBar() {
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    panes_[0]->setText(ctx_.text(536) + QString::number(ctx_.comPort()));
    panes_[1]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    // The locale's time with seconds, without the time zone.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    panes_[2]->setText(locale.toString(now.time(), timeFormat.trimmed()));
}

QString CMainFrame::statusText(int pane) const {
    return pane >= 0 && pane < 3 ? panes_[pane]->text() : QString();
}

QAction* CMainFrame::action(int command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::runCommand(int command) {
    switch (command) {
    case cmd::kFileNew: runNewCommand(*this); return;
    case cmd::kFileOpen: files_->open(); return;
    case cmd::kFileSave: files_->save(); return;
    case cmd::kFileSaveAs: files_->saveAs(); return;
    case cmd::kFileExit: close(); return;
    case cmd::kEditUndo: stepHistory(true); return;
    case cmd::kEditRedo: stepHistory(false); return;
    case cmd::kModelInformation: runModelInformation(*this); return;
    case cmd::kLanguageSetup: showLanguageSetup(); return;
    case cmd::kTreeView: showTreeView(); return;
    case cmd::kCloseAllWindows: closeAllFunctionWindows(); return;
    case cmd::kCascade: mdi_->cascadeSubWindows(); return;
    case cmd::kTileHorizontal: tile(Qt::Horizontal); return;
    case cmd::kTileVertical: tile(Qt::Vertical); return;
    case cmd::kArrangeIcons: mdi_->tileSubWindows(); return;
    case cmd::kViewToolbar: toolBar_->setVisible(actions_[command]->isChecked()); return;
    case cmd::kViewStatusBar: statusBar()->setVisible(actions_[command]->isChecked()); return;
    case cmd::kHelpTopics: showHelp(); return;
    case cmd::kAbout: showAbout(); return;
    default: break;
    }
    if (const CommandHandler* handler = CommandRegistry::instance().find(command)) {
        (*handler)(*this);
        if (command == cmd::kMemoryMap) rebuildTitle();
        return;
    }
    if (FunctionWindowRegistry::instance().find(command)) openFunctionWindow(command);
}

void CMainFrame::stepHistory(bool undo) {
    CommitFocus commit; // text being typed is a step of its own first
    CDataImage& image = ctx_.data().image;
    ctx_.recordEdit(QString()); // a change nobody recorded is not lost by the undo
    const ModelIdentity before = image.identity();
    if (!(undo ? ctx_.history().undo(image) : ctx_.history().redo(image))) return;
    // The step may bring back the file the data belonged to (a model change named
    // the default file); a Save then asks before it writes there.
    const QString path = QString::fromStdString(ctx_.history().path());
    if (path != ctx_.currentFilePath()) ctx_.setProgramFilePath(path);
    CModelInfo& model = ctx_.data().model;
    model.refresh();
    if (image.identity().bytes != before.bytes) {
        // Windows of the other model may show fields this one does not have.
        closeAllFunctionWindows();
        model.setCommitted(model.currentChoice());
        modelIdentityChanged();
        openDefaultWindow();
    }
    emit ctx_.historyChanged();
    emit ctx_.dataChanged(); // every window reloads; the title's "*" follows
    rebuildTitle();
}

void CMainFrame::modelIdentityChanged() {
    ctx_.data().model.refresh();
    functionList_ = offeredFunctionWindows();
    if (treeView_) treeView_->rebuild(functionList_);
    rebuildMenus();
    rebuildTitle();
}

std::vector<FunctionEntry> CMainFrame::offeredFunctionWindows() const {
    // Exactly the registered windows that apply to the model: a window added to the
    // program shows up in the Edit menu and the tree view by registering itself.
    return openableEntries(functionWindowList(ctx_.data().model), [](int command) {
        return FunctionWindowRegistry::instance().find(command) != nullptr;
    });
}

void CMainFrame::rebuildTitle() {
    const CModelInfo& m = ctx_.data().model;
    baseTitle_ = QString::fromStdString(buildTitle(m.label(), m.vhfUhfText(), m.bandText(),
                                                   ctx_.text(83).toStdString(),
                                                   ctx_.shownFileName().toStdString()));
    updateModifiedMark();
}

void CMainFrame::updateModifiedMark() {
    const QString title =
        ctx_.data().image.isModified() ? baseTitle_ + QStringLiteral(" *") : baseTitle_;
    if (windowTitle() != title) setWindowTitle(title);
}

bool CMainFrame::promptToSaveChanges() { return files_->promptToSaveChanges(); }

void CMainFrame::showTreeView() {
    if (!treeView_) {
        treeView_ = new CTreeViewDlg(ctx_, this);
        connect(treeView_, &CTreeViewDlg::commandChosen, this, &CMainFrame::runCommand);
    }
    treeView_->rebuild(functionList_);
    treeView_->show();
    treeView_->raise();
    treeView_->activateWindow();
}

void CMainFrame::showAbout() {
    CAboutDlg dlg(ctx_, this);
    dlg.exec();
}

void CMainFrame::showLanguageSetup() {
    CLanguageSetupDlg dlg(ctx_, this);
    if (dlg.exec() != QDialog::Accepted) return;
    const int before = ctx_.lang().currentLanguage();
    ctx_.lang().setCurrentLanguage(dlg.selectedLanguage());
    // The Undo and Redo entries name their steps in the new language too.
    const LanguageTable& lang = ctx_.lang();
    const int now = lang.currentLanguage();
    ctx_.history().relabel(
        [&lang, before, now](const std::string& label) { return lang.translate(label, before, now); });
    closeAllFunctionWindows();
    emit ctx_.languageChanged();
    openDefaultWindow();
}

void CMainFrame::showHelp() { help::openContents(); }

QString CMainFrame::placementText() const {
    WindowPlacement p;
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    p.flags = isMaximized() ? WindowPlacement::kRestoreToMaximized : 0;
    p.showState = isMaximized()   ? WindowPlacement::kShowMaximized
                  : isMinimized() ? WindowPlacement::kShowMinimized
                                  : WindowPlacement::kShowNormal;
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    return QString::fromStdString(formatWindowPlacement(p));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (busy_) {
        event->ignore();
        return;
    }
    const auto answer =
        ctx_.messages().ask({ctx_.text(19), ctx_.text(81), MessageService::Icon::Question,
                             MessageService::Buttons::YesNo, false});
    if (answer != QMessageBox::Yes || !promptToSaveChanges()) {
        event->ignore();
        return;
    }
    if (settings_) settings_->setLastWinPos(placementText());
    if (treeView_) treeView_->close();
    event->accept();
}

} // namespace vrl::gui
