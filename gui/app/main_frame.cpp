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

namespace {

// Commands the frame carries out itself.
constexpr int kBuiltIn[] = {
    cmd::kFileNew,        cmd::kFileOpen,         cmd::kFileSave,       cmd::kFileSaveAs,
    cmd::kFileExit,       cmd::kModelInformation, cmd::kLanguageSetup,  cmd::kTreeView,
    cmd::kCloseAllWindows, cmd::kCascade,         cmd::kTileHorizontal, cmd::kTileVertical,
    cmd::kArrangeIcons,   cmd::kViewToolbar,      cmd::kViewStatusBar,  cmd::kAbout,
};

// Every command of the menus: the built-in ones, the function windows and those
// that other parts of the program register.
constexpr int kAllCommands[] = {
    cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs, cmd::kFilePrint,
    cmd::kFilePrintPreview, cmd::kFileExit, cmd::kModelInformation, cmd::kReadFromRadio,
    cmd::kWriteToRadio, cmd::kTestMode, cmd::kReadFromTrunkingBoard, cmd::kWriteToTrunkingBoard,
    cmd::kTrunkingAlignment, cmd::kMemoryMap, cmd::kRadioInformation, cmd::kCheckSum,
    cmd::kCommunicationPort, cmd::kLanguageSetup, cmd::kTreeView, cmd::kCloseAllWindows,
    cmd::kCascade, cmd::kTileHorizontal, cmd::kTileVertical, cmd::kArrangeIcons,
    cmd::kViewToolbar, cmd::kViewStatusBar, cmd::kHelpTopics, cmd::kAbout,
    cmd::kChannelInformation, cmd::kOptionalFeatures, cmd::kKeyAssignment, cmd::kScan, cmd::kDtmf,
    cmd::kTwoTone, cmd::kTrunking, cmd::kEmergency, cmd::kOperatorSelTone, cmd::kTestFrequency,
    cmd::kEmbeddedMessage, cmd::kExtendedFunction, cmd::kChannelEdit, cmd::kGroupEdit,
};

bool isBuiltIn(int command) {
    for (int c : kBuiltIn)
        if (c == command) return true;
    return false;
}

// An accelerator as a language writes it ("Ctrl+N", "Strg+N"): the key names of
// the languages are turned into the portable ones before parsing.
QKeySequence acceleratorOf(const QString& text) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"strg", "Ctrl"}, {"umschalt", "Shift"}, {"umsch", "Shift"}, {"entf", "Del"},
        {"einfg", "Ins"}, {"maj", "Shift"}, {"suppr", "Del"}, {"may", "Shift"}, {"supr", "Del"}};
    QStringList parts = text.split('+');
    for (QString& part : parts) {
        const QString lower = part.trimmed().toLower();
        for (const auto& [local, portable] : kNames)
            if (lower == QLatin1String(local)) part = QLatin1String(portable);
    }
    return QKeySequence(parts.join('+'), QKeySequence::PortableText);
}

// The language texts of menu items carry their accelerator after a tab ("&New\tCtrl+N").
void setMenuText(QAction* action, const QString& text) {
    const qsizetype tab = text.indexOf('\t');
    if (tab < 0) {
        action->setText(text);
        action->setShortcut({});
        return;
    }
    action->setText(text.left(tab));
    action->setShortcut(acceleratorOf(text.mid(tab + 1).trimmed()));
}

// A view that closes itself (Esc, its Close button) takes its frame with it: after the
// view's close event, the frame closes when the view is gone or hidden.
class FrameFollowsView : public QObject {
  public:
    FrameFollowsView(QWidget* view, QMdiSubWindow* sub) : QObject(view), view_(view), sub_(sub) {
        view->installEventFilter(this);
        // A view deleted outright leaves an empty frame; close it once control is back
        // in the event loop (never while the frame itself is being destroyed).
        connect(view, &QObject::destroyed, sub, [sub] {
            QMetaObject::invokeMethod(sub, [sub] { sub->close(); }, Qt::QueuedConnection);
        });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == view_ && event->type() == QEvent::Close) {
            QPointer<QWidget> view = view_;
            QPointer<QMdiSubWindow> sub = sub_;
            QMetaObject::invokeMethod(
                sub_,
                [view, sub] {
                    if (sub && (!view || view->isHidden())) sub->close();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

  private:
    QPointer<QWidget> view_;
    QPointer<QMdiSubWindow> sub_;
};

} // namespace

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
    functionList_ = functionWindowList(ctx_.data().model);
    rebuildMenus();
    rebuildTitle();

    connect(&ctx_, &AppContext::dataChanged, this, [this] {
        refreshAllWindows();
        updateModifiedMark();
    });
    connect(&ctx_, &AppContext::modelChanged, this, &CMainFrame::modelIdentityChanged);
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

void CMainFrame::createActions() {
    for (int command : kAllCommands) {
        auto* a = new QAction(this);
        a->setData(command);
        connect(a, &QAction::triggered, this, [this, command] { runCommand(command); });
        actions_[command] = a;
    }
    QStyle* s = style();
    actions_[cmd::kFileNew]->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    actions_[cmd::kFileOpen]->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    actions_[cmd::kFileSave]->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    actions_[cmd::kFilePrint]->setIcon(s->standardIcon(QStyle::SP_ComputerIcon));
    actions_[cmd::kModelInformation]->setIcon(s->standardIcon(QStyle::SP_FileDialogInfoView));
    actions_[cmd::kChannelInformation]->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    actions_[cmd::kReadFromRadio]->setIcon(s->standardIcon(QStyle::SP_ArrowDown));
    actions_[cmd::kWriteToRadio]->setIcon(s->standardIcon(QStyle::SP_ArrowUp));
    actions_[cmd::kTreeView]->setIcon(s->standardIcon(QStyle::SP_FileDialogListView));
    actions_[cmd::kAbout]->setIcon(s->standardIcon(QStyle::SP_MessageBoxQuestion));
    actions_[cmd::kViewToolbar]->setCheckable(true);
    actions_[cmd::kViewToolbar]->setChecked(true);
    actions_[cmd::kViewStatusBar]->setCheckable(true);
    actions_[cmd::kViewStatusBar]->setChecked(true);
}

void CMainFrame::createToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Main"));
    toolBar_->setObjectName(QStringLiteral("MainToolBar"));
    toolBar_->setIconSize(QSize(16, 16));
    for (int command : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave})
        toolBar_->addAction(actions_[command]);
    toolBar_->addSeparator();
    toolBar_->addAction(actions_[cmd::kFilePrint]);
    toolBar_->addSeparator();
    toolBar_->addAction(actions_[cmd::kModelInformation]);
    toolBar_->addAction(actions_[cmd::kChannelInformation]);
    toolBar_->addSeparator();
    toolBar_->addAction(actions_[cmd::kReadFromRadio]);
    toolBar_->addAction(actions_[cmd::kWriteToRadio]);
    toolBar_->addSeparator();
    toolBar_->addAction(actions_[cmd::kTreeView]);
    toolBar_->addAction(actions_[cmd::kAbout]);
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

QMenu* CMainFrame::addPopup(int textIndex) {
    QString text = ctx_.text(textIndex);
    text.remove('\t');
    return menuBar()->addMenu(text);
}

void CMainFrame::addItem(QMenu* menu, int command, int textIndex) {
    QAction* a = actions_.at(command);
    setMenuText(a, ctx_.text(textIndex));
    menu->addAction(a);
}

void CMainFrame::rebuildMenus() {
    const QFont font = ctx_.font();
    menuBar()->clear();
    menuBar()->setFont(font);
    const bool trunking = ctx_.data().model.flags().trunking;

    QMenu* file = addPopup(84);
    addItem(file, cmd::kFileNew, 85);
    addItem(file, cmd::kFileOpen, 86);
    addItem(file, cmd::kFileSave, 87);
    addItem(file, cmd::kFileSaveAs, 88);
    file->addSeparator();
    addItem(file, cmd::kFilePrint, 89);
    addItem(file, cmd::kFilePrintPreview, 90);
    file->addSeparator();
    addItem(file, cmd::kFileExit, 91);

    QMenu* model = addPopup(117);
    addItem(model, cmd::kModelInformation, 118);

    QMenu* edit = addPopup(119);
    for (const FunctionEntry& e : functionList_) {
        if (e.isSeparator()) edit->addSeparator();
        else addItem(edit, e.command, e.textIndex);
    }

    QMenu* program = addPopup(132);
    addItem(program, cmd::kReadFromRadio, 133);
    addItem(program, cmd::kWriteToRadio, 134);
    program->addSeparator();
    addItem(program, cmd::kTestMode, 135);
    if (trunking) {
        program->addSeparator();
        addItem(program, cmd::kReadFromTrunkingBoard, 136);
        addItem(program, cmd::kWriteToTrunkingBoard, 137);
        addItem(program, cmd::kTrunkingAlignment, 138);
    }
    program->addSeparator();
    addItem(program, cmd::kMemoryMap, 139);

    QMenu* tools = addPopup(140);
    addItem(tools, cmd::kRadioInformation, 141);
    addItem(tools, cmd::kCheckSum, 142);

    QMenu* setup = addPopup(143);
    addItem(setup, cmd::kCommunicationPort, 144);
    addItem(setup, cmd::kLanguageSetup, 145);

    QMenu* view = addPopup(146);
    addItem(view, cmd::kTreeView, 147);
    addItem(view, cmd::kViewToolbar, 148);
    addItem(view, cmd::kViewStatusBar, 149);

    if (!windows_.empty()) {
        QMenu* window = addPopup(150);
        addItem(window, cmd::kCascade, 151);
        addItem(window, cmd::kTileHorizontal, 152);
        addItem(window, cmd::kTileVertical, 153);
        addItem(window, cmd::kArrangeIcons, 154);
        addItem(window, cmd::kCloseAllWindows, 155);
    }

    QMenu* help = addPopup(156);
    addItem(help, cmd::kHelpTopics, 157);
    addItem(help, cmd::kAbout, 158);

    for (QMenu* m : menuBar()->findChildren<QMenu*>()) m->setFont(font);
    // The tool bar shows the same actions; their tips are the menu texts.
    for (auto& [command, a] : actions_) a->setToolTip(a->text().remove('&'));
    applyLanguageFont(statusBar(), font);
    updateEnabledStates();
}

bool CMainFrame::commandAvailable(int command) const {
    if (command == cmd::kHelpTopics)
        return QFileInfo::exists(QCoreApplication::applicationDirPath() + '/' + ctx_.text(3));
    if (command == cmd::kCloseAllWindows || command == cmd::kCascade ||
        command == cmd::kTileHorizontal || command == cmd::kTileVertical ||
        command == cmd::kArrangeIcons)
        return true;
    if (isBuiltIn(command)) return true;
    if (CommandRegistry::instance().find(command)) return true;
    return FunctionWindowRegistry::instance().find(command) != nullptr;
}

void CMainFrame::updateEnabledStates() {
    for (auto& [command, a] : actions_) a->setEnabled(commandAvailable(command));
}

void CMainFrame::runCommand(int command) {
    switch (command) {
    case cmd::kFileNew: runNewCommand(*this); return;
    case cmd::kFileOpen: files_->open(); return;
    case cmd::kFileSave: files_->save(); return;
    case cmd::kFileSaveAs: files_->saveAs(); return;
    case cmd::kFileExit: close(); return;
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

void CMainFrame::tile(Qt::Orientation orientation) {
    const auto list = mdi_->subWindowList();
    if (list.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const int n = static_cast<int>(list.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = list[i];
        w->showNormal();
        if (orientation == Qt::Horizontal) {
            const int h = area.height() / n;
            w->setGeometry(0, i * h, area.width(), h);
        } else {
            const int wd = area.width() / n;
            w->setGeometry(i * wd, 0, wd, area.height());
        }
    }
}

QWidget* CMainFrame::functionWindow(int command) const {
    auto it = windows_.find(command);
    return it == windows_.end() ? nullptr : it->second->widget();
}

void CMainFrame::openFunctionWindow(int command) {
    if (auto it = windows_.find(command); it != windows_.end()) {
        mdi_->setActiveSubWindow(it->second);
        it->second->widget()->setFocus();
        return;
    }
    const WindowFactory* factory = FunctionWindowRegistry::instance().find(command);
    if (!factory) return;
    if (command == cmd::kTrunking) {
        const auto answer = ctx_.messages().ask({ctx_.text(14), ctx_.text(82),
                                                 MessageService::Icon::Warning,
                                                 MessageService::Buttons::OkCancel, true});
        if (answer != QMessageBox::Ok) return;
    }
    QWidget* view = factory->create(ctx_, nullptr);
    if (!view) return;
    applyLanguageFont(view, ctx_.font());
    QMdiSubWindow* sub = mdi_->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    windows_[command] = sub;
    connect(sub, &QObject::destroyed, this, [this, command] { functionWindowDestroyed(command); });
    new FrameFollowsView(view, sub);
    sub->show();
    mdi_->setActiveSubWindow(sub);
    view->setFocus();
    rebuildMenus();
}

void CMainFrame::openDefaultWindow() { openFunctionWindow(cmd::kChannelInformation); }

void CMainFrame::functionWindowDestroyed(int command) {
    windows_.erase(command);
    rebuildMenus();
}

void CMainFrame::closeAllFunctionWindows() {
    // Closed one by one from the active window, so that each can commit its edit.
    while (!windows_.empty()) {
        QMdiSubWindow* sub = mdi_->activeSubWindow();
        if (!sub) sub = windows_.begin()->second;
        const int before = functionWindowCount();
        sub->widget()->setFocus();
        sub->close();
        delete sub; // closing is immediate; the destroyed handler unregisters it
        if (functionWindowCount() >= before) break;
    }
    if (treeView_) treeView_->close();
    rebuildMenus();
}

void CMainFrame::refreshAllWindows() {
    for (auto& [command, sub] : windows_) {
        const WindowFactory* f = FunctionWindowRegistry::instance().find(command);
        if (f && f->refresh) f->refresh(sub->widget());
    }
    if (treeView_) treeView_->rebuild(functionList_);
}

void CMainFrame::modelIdentityChanged() {
    ctx_.data().model.refresh();
    functionList_ = functionWindowList(ctx_.data().model);
    if (treeView_) treeView_->rebuild(functionList_);
    rebuildMenus();
    rebuildTitle();
}

void CMainFrame::rebuildTitle() {
    const CModelInfo& m = ctx_.data().model;
    baseTitle_ = QString::fromStdString(
        buildTitle(m.label(), m.vhfUhfText(), m.bandText(), ctx_.text(83).toStdString(),
                   ctx_.currentFileName().toStdString()));
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
    ctx_.lang().setCurrentLanguage(dlg.selectedLanguage());
    closeAllFunctionWindows();
    emit ctx_.languageChanged();
    openDefaultWindow();
}

void CMainFrame::showHelp() {
    const QString path = QCoreApplication::applicationDirPath() + '/' + ctx_.text(3);
    if (QFileInfo::exists(path)) QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

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
