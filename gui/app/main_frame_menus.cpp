// The main frame's commands: actions, tool bar and the menus built from language texts.
#include "app/main_frame.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "app/ui_helpers.h"
#include "widgets/help_viewer.h"

#include <QAction>
#include <QPixmap>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <utility>

namespace vrl::gui {

namespace {

// Commands the frame carries out itself.
constexpr int kBuiltIn[] = {
    cmd::kFileNew,        cmd::kFileOpen,         cmd::kFileSave,       cmd::kFileSaveAs,
    cmd::kFileExit,       cmd::kEditUndo,         cmd::kEditRedo,       cmd::kModelInformation, cmd::kLanguageSetup,  cmd::kTreeView,
    cmd::kCloseAllWindows, cmd::kCascade,         cmd::kTileHorizontal, cmd::kTileVertical,
    cmd::kArrangeIcons,   cmd::kViewToolbar,      cmd::kViewStatusBar,  cmd::kAbout,
};

// Every command of the menus: the built-in ones, the function windows and those
// that other parts of the program register.
constexpr int kAllCommands[] = {
    cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs, cmd::kFileImportChannels,
    cmd::kFileExportChannels, cmd::kFilePrint, cmd::kFilePrintPreview, cmd::kFileExportPdf,
    cmd::kFileCompare, cmd::kCompareWithRadio, cmd::kFleetProgramming, cmd::kFileExit, cmd::kEditUndo, cmd::kEditRedo,
    cmd::kModelInformation, cmd::kReadFromRadio,
    cmd::kWriteToRadio, cmd::kTestMode, cmd::kReadFromTrunkingBoard, cmd::kWriteToTrunkingBoard,
    cmd::kTrunkingAlignment, cmd::kMemoryMap, cmd::kRadioInformation, cmd::kCheckSum, cmd::kRadioHistory,
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

} // namespace

namespace {
const int kToolBarCommands[] = {cmd::kFileNew,       cmd::kFileOpen,           cmd::kFileSave,
                                cmd::kFilePrint,     cmd::kModelInformation,   cmd::kChannelInformation,
                                cmd::kReadFromRadio, cmd::kWriteToRadio,       cmd::kTreeView,
                                cmd::kAbout};
} // namespace

void CMainFrame::createActions() {
    for (int command : kAllCommands) {
        auto* a = new QAction(this);
        a->setData(command);
        connect(a, &QAction::triggered, this, [this, command] { runCommand(command); });
        actions_[command] = a;
    }
    // Blank icons of the final size until loadToolBarIcons(): the tool bar has its
    // layout at the first paint without the icon plug-ins.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    for (int command : kToolBarCommands) actions_[command]->setIcon(QIcon(blank));
    actions_[cmd::kViewToolbar]->setCheckable(true);
    actions_[cmd::kViewToolbar]->setChecked(true);
    actions_[cmd::kViewStatusBar]->setCheckable(true);
    actions_[cmd::kViewStatusBar]->setChecked(true);
}

void CMainFrame::loadToolBarIcons() {
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
    // The popups of the previous build go too (clear() only takes them off the bar);
    // later, as this may run from one of their own items.
    for (QMenu* old : menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        old->deleteLater();
    menuBar()->clear();
    menuBar()->setFont(font);
    const bool trunking = ctx_.data().model.flags().trunking;

    QMenu* file = addPopup(84);
    addItem(file, cmd::kFileNew, 85);
    addItem(file, cmd::kFileOpen, 86);
    addItem(file, cmd::kFileSave, 87);
    addItem(file, cmd::kFileSaveAs, 88);
    file->addSeparator();
    addItem(file, cmd::kFileImportChannels, 113);
    addItem(file, cmd::kFileExportChannels, 114);
    file->addSeparator();
    addItem(file, cmd::kFilePrint, 89);
    addItem(file, cmd::kFilePrintPreview, 90);
    addItem(file, cmd::kFileExportPdf, 558);
    file->addSeparator();
    addItem(file, cmd::kFileCompare, 486);
    file->addSeparator();
    addItem(file, cmd::kFileExit, 91);

    QMenu* model = addPopup(117);
    addItem(model, cmd::kModelInformation, 118);

    QMenu* edit = addPopup(119);
    edit->addAction(actions_[cmd::kEditUndo]);
    edit->addAction(actions_[cmd::kEditRedo]);
    edit->addSeparator();
    for (const FunctionEntry& e : functionList_) {
        if (e.isSeparator()) edit->addSeparator();
        else addItem(edit, e.command, e.textIndex);
    }

    QMenu* program = addPopup(132);
    addItem(program, cmd::kReadFromRadio, 133);
    addItem(program, cmd::kWriteToRadio, 134);
    addItem(program, cmd::kCompareWithRadio, 487);
    setMenuText(actions_.at(cmd::kFleetProgramming), ctx_.text("fleet.menu"));
    program->addAction(actions_.at(cmd::kFleetProgramming));
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
    setMenuText(actions_.at(cmd::kRadioHistory), ctx_.text("history.menu"));
    tools->addAction(actions_.at(cmd::kRadioHistory));

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
    // Keys that the rebuilt menus show now may be held by an open child window.
    for (auto& [command, sub] : windows_)
        releaseMenuShortcuts(sub);
    applyLanguageFont(statusBar(), font);
    updateUndoActions();
}

void CMainFrame::updateUndoActions() {
    const EditHistory& history = ctx_.history();
    auto label = [this](int textIndex, const std::string& step) {
        QString text = ctx_.text(textIndex);
        if (!step.empty()) text += QLatin1Char(' ') + QString::fromStdString(step);
        return text;
    };
    actions_[cmd::kEditUndo]->setText(label(559, history.undoLabel()));
    actions_[cmd::kEditRedo]->setText(label(560, history.redoLabel()));
    actions_[cmd::kEditUndo]->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    actions_[cmd::kEditRedo]->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (int command : {cmd::kEditUndo, cmd::kEditRedo})
        actions_[command]->setToolTip(actions_[command]->text().remove('&'));
    updateEnabledStates();
}

bool CMainFrame::commandAvailable(int command) const {
    if (command == cmd::kHelpTopics)
        return !help::helpFile().isEmpty();
    if (command == cmd::kCloseAllWindows || command == cmd::kCascade ||
        command == cmd::kTileHorizontal || command == cmd::kTileVertical ||
        command == cmd::kArrangeIcons)
        return true;
    if (command == cmd::kEditUndo) return ctx_.history().canUndo();
    if (command == cmd::kEditRedo) return ctx_.history().canRedo();
    if (isBuiltIn(command)) return true;
    if (CommandRegistry::instance().find(command)) return true;
    return FunctionWindowRegistry::instance().find(command) != nullptr;
}

void CMainFrame::updateEnabledStates() {
    for (auto& [command, a] : actions_) a->setEnabled(commandAvailable(command));
}

} // namespace vrl::gui
