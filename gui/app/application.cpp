#include "app/application.h"

#include "app/app_context.h"
#include "app/app_settings.h"
#include "app/main_frame.h"
#include "app/program_icon.h"
#include "app/settings_values.h"
#include "model/new_data.h"
#include "widgets/help_viewer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

namespace vrl::gui {

namespace {

std::string str(const QString& s) { return QFile::encodeName(s).toStdString(); }

MessageService::Request startError(const char* text) {
    return {QString::fromLatin1(text), QString::fromLatin1(kLanguageMessageCaption),
            MessageService::Icon::Error, MessageService::Buttons::Ok, false};
}

// Sets the program's and the tool bar's icons and opens the frame's default window once the frame has
// painted for the first time.
class OpenDefaultWindowAfterPaint : public QObject {
  public:
    explicit OpenDefaultWindowAfterPaint(CMainFrame* frame) : QObject(frame), frame_(frame) {
        frame->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            frame_->removeEventFilter(this);
            QMetaObject::invokeMethod(
                frame_,
                [frame = frame_] {
                    // The icon needs the image and icon plug-ins and the MIME database,
                    // which the first paint does without.
                    QApplication::setWindowIcon(programIcon());
                    frame->loadToolBarIcons();
                    frame->openDefaultWindow();
                },
                Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

  private:
    CMainFrame* frame_;
};

} // namespace

namespace {

// A folder where data files may go: writable, and not a build tree (a folder with
// the build system's cache in it or just above it).
bool isUsableDataFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable()) return false;
    const QDir dir(folder);
    return !dir.exists(QStringLiteral("CMakeCache.txt")) &&
           !dir.exists(QStringLiteral("../CMakeCache.txt"));
}

} // namespace

CVrl73mApp::Environment CVrl73mApp::Environment::current(const QStringList& arguments) {
    Environment env;
    env.arguments = arguments;
    env.exeDir = QCoreApplication::applicationDirPath();
    env.currentDir = QDir::currentPath();
    env.pathEnv = QString::fromLocal8Bit(qgetenv("PATH"));
    // The user's own folder for data files: "VRL-73M" in the documents folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty()) env.userDataDir = documents + QStringLiteral("/VRL-73M");
#ifdef VRL_INSTALL_DATA_DIR
    env.installDataDir = QStringLiteral(VRL_INSTALL_DATA_DIR);
#endif
    // An installed program (or a package unpacked anywhere) finds its data beside
    // its own bin folder, whatever prefix it was built for.
    const QString besideBin = env.exeDir + QStringLiteral("/../share/vrl73m");
    if (QDir(besideBin).exists()) env.installDataDir = QDir(besideBin).canonicalPath();
#ifdef VRL_SOURCE_DATA_DIR
    env.sourceDataDir = QStringLiteral(VRL_SOURCE_DATA_DIR);
#endif
    return env;
}

CVrl73mApp::CVrl73mApp(AppSettings& settings, MessageService& messages, Environment env)
    : settings_(settings), messages_(messages), env_(std::move(env)),
      data_(std::make_unique<RadioData>()) {}

CVrl73mApp::~CVrl73mApp() {
    if (ctx_) help::uninstallViewer();
    frame_.reset();
    ctx_.reset();
}

bool CVrl73mApp::loadLanguage() {
    lang_.setCurrentLanguage(languageFromSetting(settings_.language()));
    auto found = findLanguageFile(str(env_.exeDir), str(env_.currentDir), str(env_.installDataDir),
                                  str(env_.pathEnv));
    if (!found && !env_.sourceDataDir.isEmpty()) {
        const QString inSource = env_.sourceDataDir + '/' + QString::fromLatin1(kLanguageFileName);
        if (QFileInfo(inSource).isFile()) found = str(inSource);
    }
    if (!found) {
        messages_.ask(startError(kLanguageNotFoundMessage));
        return false;
    }
    languageFile_ = QFile::decodeName(found->c_str());
    switch (lang_.loadFile(*found)) {
    case LanguageLoadStatus::Ok: loadSupplement(); return true;
    case LanguageLoadStatus::NotFound: messages_.ask(startError(kLanguageNotFoundMessage)); break;
    case LanguageLoadStatus::Damaged: messages_.ask(startError(kLanguageDamagedMessage)); break;
    }
    return false;
}

// The texts of the newer windows, beside the language file (or in the source tree). A
// missing or damaged supplement is not fatal: those windows then show their text keys.
void CVrl73mApp::loadSupplement() {
    QStringList dirs{QFileInfo(languageFile_).absolutePath()};
    if (!env_.sourceDataDir.isEmpty()) dirs << env_.sourceDataDir;
    for (const QString& dir : dirs) {
        const QString path = dir + '/' + QString::fromLatin1(kSupplementFileName);
        if (!QFileInfo(path).isFile()) continue;
        if (lang_.loadSupplementFile(str(path)) == LanguageLoadStatus::Ok) return;
        qWarning("%s: %s", qPrintable(path), lang_.errorDetail().c_str());
        return;
    }
    qWarning("%s not found beside %s", kSupplementFileName, qPrintable(languageFile_));
}

void CVrl73mApp::restoreModel() {
    CDataImage& image = data_->image;
    image.clear();
    const auto stored = settings_.lastModel();
    std::optional<ModelIdentity> remembered;
    if (stored) remembered = parseLastModel(stored->toStdString());
    ModelIdentity id;
    if (remembered) {
        id = checkedIdentity(*remembered);
    } else {
        data_->model.clearCapacityFlags();
        id = defaultIdentity();
    }
    if (!data_->model.options.scrOffered) id.bytes[6] |= 0x80;
    newDataFor(*data_, id);
    data_->model.refresh();
    data_->model.setCommitted(data_->model.currentChoice());
}

bool CVrl73mApp::start(bool show) {
    std::vector<std::string> args;
    for (const QString& a : env_.arguments) args.push_back(a.toStdString());
    data_->model.options = parseSwitches(args);

    if (!loadLanguage()) return false;
    restoreModel();

    ctx_ = std::make_unique<AppContext>(*data_, lang_, messages_);
    ctx_->setComPort(comPortFromSetting(settings_.comPort()));
    ctx_->setVerifyAfterWrite(settings_.verifyAfterWrite());
    installHelp();
    const std::string folder = dataFolder(
        settings_.lastFilePath().value_or(QString()).toStdString(), str(env_.exeDir),
        [](const std::string& p) { return QFileInfo(QString::fromStdString(p)).isDir(); },
        str(env_.userDataDir),
        [](const std::string& p) { return isUsableDataFolder(QString::fromStdString(p)); });
    // The user's folder is made on first use, so that the file choosers can start there.
    if (!env_.userDataDir.isEmpty() && QString::fromStdString(folder).startsWith(env_.userDataDir))
        QDir().mkpath(env_.userDataDir);
    ctx_->setCurrentFilePath(QString::fromStdString(folder) + QStringLiteral("vrl73m.dat"));

    // Every window of the program shows its own icon, not the toolkit's (a shown
    // program sets it once it has painted).
    if (!show) QApplication::setWindowIcon(programIcon());
    frame_ = std::make_unique<CMainFrame>(*ctx_, &settings_);
    if (!show) frame_->loadToolBarIcons();
    placeMainFrame(show);
    frame_->rebuildTitle();
    if (show) {
        // The frame paints first and the default window follows, so the program
        // appears without waiting for the channel grid to be built.
        new OpenDefaultWindowAfterPaint(frame_.get());
    } else {
        frame_->openDefaultWindow();
    }
    started_ = true;
    return true;
}

// The help file's name is language text 3, read at each request so that a language
// change takes effect at once. It is looked for beside the executable, in the current
// folder, in the installed data folder's "help" and, for a run from the build tree, in
// the source tree's data/help.
void CVrl73mApp::installHelp() {
    QStringList folders{env_.exeDir, env_.currentDir};
    if (!env_.exeDir.isEmpty()) folders << env_.exeDir + QStringLiteral("/help");
    if (!env_.installDataDir.isEmpty()) folders << env_.installDataDir + QStringLiteral("/help");
    if (!env_.sourceDataDir.isEmpty()) folders << env_.sourceDataDir + QStringLiteral("/help");
    folders.removeDuplicates();
    AppContext* ctx = ctx_.get();
    MessageService* messages = &messages_;
    help::installViewer(
        {folders, [ctx] { return ctx->text(kHelpFileText).trimmed(); },
         [messages](const QString& text) {
             messages->ask({text, QStringLiteral("VRL-73M"), MessageService::Icon::Warning,
                            MessageService::Buttons::Ok, false});
         }});
}

void CVrl73mApp::placeMainFrame(bool show) {
    const auto stored = settings_.lastWinPos();
    std::optional<WindowPlacement> placement;
    if (stored) placement = parseWindowPlacement(stored->toStdString());
    StartShow how = StartShow::Maximized;
    if (placement) {
        how = startShowFor(*placement);
        const QRect rect(placement->left, placement->top, placement->width(), placement->height());
        // A window remembered on a screen that is no longer there would open out of
        // sight: it opens maximized on the primary screen instead.
        if (how == StartShow::Normal && !QGuiApplication::screenAt(rect.center())) {
            how = StartShow::Maximized;
            frame_->resize(1024, 720);
        } else if (rect.isValid()) {
            frame_->setGeometry(rect);
        }
    } else {
        frame_->resize(1024, 720);
    }
    if (how == StartShow::Maximized) frame_->setWindowState(Qt::WindowMaximized);
    if (show) frame_->show();
}

void CVrl73mApp::exit() {
    if (!started_) return;
    settings_.setLastModel(QString::fromStdString(formatLastModel(data_->image.identity())));
    settings_.setComPort(ctx_->comPort());
    settings_.setVerifyAfterWrite(ctx_->verifyAfterWrite());
    settings_.setLastFilePath(QString::fromStdString(
        folderWithSeparator(ctx_->currentFilePath().toStdString())));
    settings_.setLanguage(lang_.currentLanguage());
    settings_.sync();
}

} // namespace vrl::gui
