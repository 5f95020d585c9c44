// A seeded monkey over the running program: for one model of each kind it opens every
// function window (and the Model Information and memory map dialogs) and sends random
// keys, clicks and texts. Afterwards the data must still be a valid image of the same
// model, and saving and re-opening must give the same bytes.
//
// VRL_MONKEY_SEED (default 1) and VRL_MONKEY_EVENTS (events per window) re-run a case;
// a failure names the seed, the model row and the window.
#include "gui_test_support.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/function_list.h"
#include "app/main_frame.h"
#include "app/registries.h"
#include "file/data_file.h"
#include "file/file_commands.h"
#include "model/image_layout.h"
#include "model/model_table.h"
#include "model/new_data.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QSet>
#include <QWheelEvent>
#include <QtTest>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <span>

#include <unistd.h>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

int envInt(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

struct ModelCase {
    const char* name;
    int row;
    int band;
    OptionBoard board;
};

// Between them these enable every function window: mobile and portable, 8 to 128
// channels, the K/M/E/C markets, the trunking and SCR boards and both extended
// feature classes.
constexpr ModelCase kModels[] = {
    {"mobile 8ch K", 0, 0, OptionBoard::None},
    {"mobile 8ch (N)E SCR", 2, 0, OptionBoard::Scr},
    {"mobile 128ch K trunking", 4, 1, OptionBoard::Trunking},
    {"mobile 128ch M trunking class 2", 5, 0, OptionBoard::Trunking},
    {"portable 8ch M class 1", 16, 0, OptionBoard::None},
    {"portable 16ch M", 23, 1, OptionBoard::None},
    {"portable 32ch K trunking", 25, 0, OptionBoard::Trunking},
    {"portable 128ch UHF M trunking class 2", 31, 2, OptionBoard::Trunking},
};

// Answers every question with one of the buttons it offers, at random.
class RandomMessages : public MessageService {
  public:
    explicit RandomMessages(std::mt19937& rng) : rng_(rng) {}
    QMessageBox::StandardButton ask(const Request& request) override {
        ++asked;
        if (always != QMessageBox::NoButton) return always;
        using B = QMessageBox;
        std::vector<B::StandardButton> offered;
        switch (request.buttons) {
        case Buttons::Ok:
            offered = {B::Ok};
            break;
        case Buttons::OkCancel:
            offered = {B::Ok, B::Cancel};
            break;
        case Buttons::YesNo:
            offered = {B::Yes, B::No};
            break;
        case Buttons::YesNoCancel:
            offered = {B::Yes, B::No, B::Cancel};
            break;
        case Buttons::RetryCancel:
            offered = {B::Retry, B::Cancel};
            break;
        }
        return offered[std::uniform_int_distribution<size_t>(0, offered.size() - 1)(rng_)];
    }
    // While set, every question gets this answer (opening windows, saving).
    QMessageBox::StandardButton always = QMessageBox::NoButton;
    int asked = 0;

  private:
    std::mt19937& rng_;
};

// The file choosers never leave the test's folder: Open offers the last saved file,
// Save As a file of its own, or either is cancelled.
class TempFileDialogs : public FileDialogs {
  public:
    TempFileDialogs(std::mt19937& rng, QString folder) : rng_(rng), folder_(std::move(folder)) {}
    QString openFile(QWidget*, const QString&) override { return coin() ? lastSaved : QString(); }
    QString saveFile(QWidget*, const QString&) override {
        if (!forced.isEmpty()) return forced;
        return coin() ? folder_ + QStringLiteral("/monkey-save.dat") : QString();
    }
    // Channel tables are never imported or exported here; a group is picked at random.
    QString openTable(QWidget*, const QString&, const QString&, const QStringList&) override {
        return {};
    }
    QString saveTable(QWidget*, const QString&, const QString&, const QStringList&, int&) override {
        return {};
    }
    std::optional<int> chooseGroup(QWidget*, const QString&, const QString&, int last,
                                   int) override {
        if (last < 1 || !coin()) return std::nullopt;
        return std::uniform_int_distribution<int>(1, last)(rng_);
    }
    QString lastSaved;
    QString forced;

  private:
    bool coin() { return std::uniform_int_distribution<int>(0, 1)(rng_) == 1; }
    std::mt19937& rng_;
    QString folder_;
};

bool isInside(const QWidget* w, const QWidget* root) {
    for (; w; w = w->parentWidget())
        if (w == root) return true;
    return false;
}

// Sends random input to one window, and keeps modal dialogs and pop-ups that the input
// opens from blocking the run: each gets a few random events of its own and is then
// closed. The guard runs as a chain of queued calls, so that it also runs inside the
// nested event loop of a dialog that an event opened.
class Monkey : public QObject {
  public:
    explicit Monkey(std::mt19937& rng) : rng_(rng) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    void startGuard() {
        guarding_ = true;
        scheduleGuard();
    }
    void stopGuard() { guarding_ = false; }

    // The next modal dialog that appears is the window under test: it receives
    // `events` random events and is then accepted or rejected.
    void driveNextModal(int events) { nextModalBudget_ = events; }
    int eventsSent() const { return sent_; }
    int dialogsMet() const { return dialogs_; }
    const QString& failure() const { return failure_; }

    // One random key, click or text for `root` or the pop-up open over it.
    void randomEvent(QWidget* root) {
        ++sent_;
        if (QWidget* popup = QApplication::activePopupWidget()) {
            static constexpr Qt::Key kPopupKeys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Return,
                                                     Qt::Key_Escape, Qt::Key_PageDown};
            QTest::keyClick(popup, kPopupKeys[pick(std::size(kPopupKeys))]);
            return;
        }
        // Half keys, a quarter clicks, the rest texts and the wheel.
        const int kind = pick(20);
        if (kind < 10)
            key(root);
        else if (kind < 15)
            click(root);
        else if (kind < 19)
            text(root);
        else
            wheel(root);
    }

  private:
    void scheduleGuard() {
        QMetaObject::invokeMethod(
            this, [this] { guard(); }, Qt::QueuedConnection);
    }

    // Drives or closes the active pop-up or modal dialog that is not the caller's own.
    void guard() {
        if (!guarding_) return;
        // The next link of the chain first: the event below may open a dialog whose
        // own event loop must still see the guard.
        scheduleGuard();
        QWidget* blocker = QApplication::activePopupWidget();
        if (!blocker) blocker = QApplication::activeModalWidget();
        if (!blocker || blocker == busy_) return;
        auto it = budgets_.find(blocker);
        if (it == budgets_.end()) {
            const bool popup = blocker->windowType() == Qt::Popup;
            int budget = pick(popup ? 4 : 25);
            if (!popup && nextModalBudget_ > 0) budget = std::exchange(nextModalBudget_, 0);
            it = budgets_.emplace(blocker, budget).first;
            dialogs_ += !popup;
            connect(blocker, &QObject::destroyed, this,
                    [this, blocker] { budgets_.erase(blocker); });
        }
        if (it->second > 0) {
            --it->second;
            // An event below may run a nested loop; the guard leaves this one alone there.
            QWidget* outer = std::exchange(busy_, blocker);
            randomEvent(blocker);
            busy_ = outer;
            return;
        }
        // Out of events: close it. One that will not go is forced after a while.
        if (--it->second < -200) {
            if (auto* d = qobject_cast<QDialog*>(blocker))
                d->QDialog::done(QDialog::Rejected);
            else
                blocker->hide();
            if (failure_.isEmpty())
                failure_ =
                    QStringLiteral("%1 does not close").arg(blocker->metaObject()->className());
            return;
        }
        if (auto* d = qobject_cast<QDialog*>(blocker)) {
            if (pick(3) == 0)
                d->accept();
            else
                d->reject();
        } else {
            blocker->close();
        }
    }

    QWidget* focusTarget(QWidget* root) {
        QWidget* f = QApplication::focusWidget();
        if (f && isInside(f, root)) return f;
        const auto children = usable<QWidget>(root);
        if (children.isEmpty()) return root;
        QWidget* w = children[pick(int(children.size()))];
        w->setFocus(Qt::TabFocusReason);
        return w;
    }

    template <class W> QList<W*> usable(QWidget* root) {
        QList<W*> list;
        for (W* w : root->findChildren<W*>())
            if (w->isVisible() && w->isEnabled()) list << w;
        return list;
    }

    void key(QWidget* root) {
        struct Press {
            Qt::Key key;
            Qt::KeyboardModifiers mods;
        };
        // No Ctrl or Alt letters: those reach the frame's menu commands (radio link,
        // file, print), which are not the window's.
        static constexpr Press kKeys[] = {
            {Qt::Key_Tab, Qt::NoModifier},
            {Qt::Key_Backtab, Qt::ShiftModifier},
            {Qt::Key_Up, Qt::NoModifier},
            {Qt::Key_Down, Qt::NoModifier},
            {Qt::Key_Left, Qt::NoModifier},
            {Qt::Key_Right, Qt::NoModifier},
            {Qt::Key_Return, Qt::NoModifier},
            {Qt::Key_Enter, Qt::KeypadModifier},
            {Qt::Key_Escape, Qt::NoModifier},
            {Qt::Key_Delete, Qt::NoModifier},
            {Qt::Key_Backspace, Qt::NoModifier},
            {Qt::Key_Space, Qt::NoModifier},
            {Qt::Key_Home, Qt::NoModifier},
            {Qt::Key_End, Qt::NoModifier},
            {Qt::Key_PageUp, Qt::NoModifier},
            {Qt::Key_PageDown, Qt::NoModifier},
            {Qt::Key_F1, Qt::NoModifier},
            {Qt::Key_F2, Qt::NoModifier},
            {Qt::Key_F4, Qt::NoModifier},
            {Qt::Key_Insert, Qt::NoModifier},
            {Qt::Key_Down, Qt::AltModifier},
            {Qt::Key_Tab, Qt::ControlModifier},
            {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
            {Qt::Key_Up, Qt::ShiftModifier},
            {Qt::Key_Right, Qt::ShiftModifier},
            {Qt::Key_F3, Qt::ShiftModifier},
            {Qt::Key_F4, Qt::ShiftModifier},
            {Qt::Key_F5, Qt::ShiftModifier},
            {Qt::Key_F7, Qt::ShiftModifier},
            {Qt::Key_F8, Qt::ShiftModifier},
            {Qt::Key_F3, Qt::NoModifier},
        };
        QWidget* target = focusTarget(root);
        const int n = int(std::size(kKeys));
        const int choice = pick(n + 16);
        if (choice < n) {
            QTest::keyClick(target, kKeys[choice].key, kKeys[choice].mods);
        } else {
            static const char kChars[] = "0123456789ABCDabcdxyz#*.,-+ ";
            QTest::keyClick(target, kChars[pick(int(sizeof kChars) - 1)]);
        }
    }

    void click(QWidget* root) {
        auto widgets = usable<QWidget>(root);
        widgets << root;
        QWidget* w = widgets[pick(int(widgets.size()))];
        const QPoint at(pick(std::max(1, w->width())), pick(std::max(1, w->height())));
        switch (pick(6)) {
        case 0:
            QTest::mouseDClick(w, Qt::LeftButton, {}, at);
            break;
        case 1:
            QTest::mouseClick(w, Qt::RightButton, {}, at);
            break;
        default:
            QTest::mouseClick(w, Qt::LeftButton, {}, at);
            break;
        }
    }

    // A short or long text, now and then with characters outside ASCII, typed or
    // pasted into a line edit, then maybe committed.
    void text(QWidget* root) {
        const auto edits = usable<QLineEdit>(root);
        if (edits.isEmpty()) return key(root);
        QLineEdit* e = edits[pick(int(edits.size()))];
        e->setFocus(Qt::TabFocusReason);
        if (pick(2) == 0) e->selectAll();
        static const QString kChars = QStringLiteral("0123456789.,ABCDEFabcdef#*-+/ @_()%$=xyzQW"
                                                     "\u00e4\u00d6\u00df\u00e9\u20ac\t");
        QString s;
        for (int i = pick(pick(8) == 0 ? 60 : 12); i >= 0; --i)
            s += kChars[pick(int(kChars.size()))];
        QPointer<QLineEdit> alive = e;
        if (pick(4) == 0) {
            QGuiApplication::clipboard()->setText(s);
            if (pick(2) == 0)
                QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
            else
                QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
        } else {
            for (const QChar c : s) {
                if (!alive) return;
                const Qt::Key k = c.isLetterOrNumber() && c.unicode() < 0x80
                                      ? Qt::Key(c.toUpper().unicode())
                                      : Qt::Key_unknown;
                QTest::sendKeyEvent(QTest::Click, alive.data(), k, QString(c), Qt::NoModifier);
            }
        }
        if (alive && pick(2) == 0) QTest::keyClick(alive, pick(2) ? Qt::Key_Return : Qt::Key_Tab);
    }

    // One notch of the mouse wheel over a random control (spin fields, combo boxes).
    void wheel(QWidget* root) {
        const auto widgets = usable<QWidget>(root);
        if (widgets.isEmpty()) return;
        QWidget* w = widgets[pick(int(widgets.size()))];
        const QPointF at(pick(std::max(1, w->width())), pick(std::max(1, w->height())));
        QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, pick(2) ? 120 : -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
    }

    std::mt19937& rng_;
    bool guarding_ = false;
    int nextModalBudget_ = 0;
    int sent_ = 0;
    int dialogs_ = 0;
    QWidget* busy_ = nullptr;
    std::map<const QWidget*, int> budgets_;
    QString failure_;
};

// How often the texts the monkey types outside ASCII appear in UTF-8 in the image:
// fields store ASCII only, so the count must never grow.
int utf8Typed(std::span<const uint8_t> image) {
    static constexpr std::array<std::array<uint8_t, 2>, 5> kPairs{
        {{0xC3, 0xA4}, {0xC3, 0x96}, {0xC3, 0x9F}, {0xC3, 0xA9}, {0xE2, 0x82}}};
    int n = 0;
    for (size_t i = 0; i + 1 < image.size(); ++i)
        for (const auto& p : kPairs)
            n += image[i] == p[0] && image[i + 1] == p[1];
    return n;
}

std::mt19937 seeded(unsigned seed, int row) {
    std::seed_seq seq{seed, unsigned(row)};
    return std::mt19937(seq);
}

// The function windows and the dialogs that the monkey drives, by command.
const QMap<int, QString>& windowNames() {
    static const QMap<int, QString> kNames = {
        {cmd::kChannelInformation, "channel information"},
        {cmd::kOptionalFeatures, "optional features"},
        {cmd::kKeyAssignment, "key assignment"},
        {cmd::kScan, "scan"},
        {cmd::kDtmf, "DTMF"},
        {cmd::kTwoTone, "2-tone"},
        {cmd::kTrunking, "trunking"},
        {cmd::kEmergency, "emergency"},
        {cmd::kOperatorSelTone, "operator selectable tone"},
        {cmd::kTestFrequency, "test frequency"},
        {cmd::kEmbeddedMessage, "embedded message"},
        {cmd::kExtendedFunction, "extended function"},
        {cmd::kChannelEdit, "channel edit"},
        {cmd::kGroupEdit, "group edit"},
    };
    return kNames;
}

QString windowName(int command) {
    if (command == cmd::kMemoryMap) return QStringLiteral("memory map (%1)").arg(command);
    if (command == cmd::kModelInformation)
        return QStringLiteral("model information (%1)").arg(command);
    return QStringLiteral("%1 (%2)").arg(windowNames().value(command, "?")).arg(command);
}

// The case in progress, written out when the program crashes (or the test's watchdog
// aborts a hang), so that it can be re-run; then the test library's own handler runs.
char gRunning[512];
std::array<struct sigaction, NSIG> gPreviousHandlers;

extern "C" void reportRunning(int signal) {
    static const char kHead[] = "monkey_test stopped in: ";
    [[maybe_unused]] auto n = ::write(STDERR_FILENO, kHead, sizeof kHead - 1);
    n = ::write(STDERR_FILENO, gRunning, ::strnlen(gRunning, sizeof gRunning));
    n = ::write(STDERR_FILENO, "\n", 1);
    ::sigaction(signal, &gPreviousHandlers[size_t(signal)], nullptr);
    ::raise(signal);
}

void installCrashReport() {
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) {
        struct sigaction action {};
        action.sa_handler = reportRunning;
        ::sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, &gPreviousHandlers[size_t(signal)]);
    }
}

void noteRunning(const QString& where) {
    const QByteArray text = where.toUtf8().left(sizeof gRunning - 1);
    std::memcpy(gRunning, text.constData(), size_t(text.size()));
    gRunning[text.size()] = '\0';
}

// One run over one model: the program, the monkey and the checks between windows.
class Run {
  public:
    Run(unsigned seed, const ModelCase& model, int events)
        : rng_(seeded(seed, model.row)), messages_(rng_), monkey_(rng_), model_(model),
          events_(events), seed_(seed) {}

    QString where(const QString& window) const {
        return QStringLiteral("VRL_MONKEY_SEED=%1 VRL_MONKEY_EVENTS=%2, model row %3 (data row "
                              "\"%4\"), window %5")
            .arg(seed_)
            .arg(events_)
            .arg(model_.row)
            .arg(QString::fromLatin1(model_.name), window);
    }

    bool start(QString& error) {
        s_.messageService = &messages_;
        if (!s_.start({}, true)) return (error = QStringLiteral("program did not start")), false;
        files_ = std::make_unique<TempFileDialogs>(rng_, s_.dir.path());
        s_.app->context().setFileDialogs(files_.get());
        RadioData& data = s_.app->data();
        newDataFor(data, models::identityFor(model_.row, model_.band, model_.board));
        data.image.setU8(layout::kOptionByte, optionByteFor(model_.board));
        data.image.takeSnapshot();
        emit s_.app->context().dataReplaced();
        emit s_.app->context().modelChanged();
        identity_ = data.image.identity();
        monkey_.startGuard();
        return true;
    }

    CMainFrame* frame() { return s_.app->mainFrame(); }
    int events() const { return events_; }

    // The windows the frame offers now, with the two that the channel window opens.
    QList<int> windows() {
        QList<int> list;
        for (const FunctionEntry& e : frame()->functionList())
            if (!e.isSeparator()) list << e.command;
        for (int c : {cmd::kChannelEdit, cmd::kGroupEdit})
            if (frame()->commandAvailable(c) && !list.contains(c)) list << c;
        return list;
    }

    // Runs what the events posted, as the program's event loop would between two
    // inputs; a window closed by the input is deleted (deferred deletes posted outside
    // an event loop wait for one otherwise).
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // Sends events to the windows of `commands`, each to one of them at random; opens
    // a window (again, when the monkey closed it) before it gets its event.
    QString driveWindows(const QList<int>& commands, int events) {
        int opened = 0;
        for (int sent = 0; sent < events; ++sent) {
            const int command = commands[monkey_.pick(int(commands.size()))];
            QWidget* view = frame()->functionWindow(command);
            if (view && view->isHidden()) settle(); // closed, its frame not yet
            view = frame()->functionWindow(command);
            if (!view) {
                if (++opened > events / 4 + 2) break; // closed over and over: enough
                messages_.always = QMessageBox::Ok;
                frame()->runCommand(command);
                messages_.always = QMessageBox::NoButton;
                view = frame()->functionWindow(command);
                if (!view) return QStringLiteral("window %1 does not open").arg(command);
            }
            if (monkey_.pick(40) == 0)
                frameCommand();
            else
                monkey_.randomEvent(view);
            settle();
            if (!monkey_.failure().isEmpty()) return monkey_.failure();
        }
        frame()->closeAllFunctionWindows();
        settle();
        return monkey_.failure();
    }

    // A command of the frame that acts on the open windows and the data.
    void frameCommand() {
        static constexpr int kCommands[] = {
            cmd::kEditUndo,       cmd::kEditUndo,     cmd::kEditRedo,        cmd::kCascade,
            cmd::kTileHorizontal, cmd::kTileVertical, cmd::kCloseAllWindows, cmd::kLanguageSetup};
        frame()->runCommand(kCommands[monkey_.pick(int(std::size(kCommands)))]);
    }

    // Undo and Redo, also across a model change.
    QString stepHistory(int steps) {
        for (int i = 0; i < steps; ++i) {
            frame()->runCommand(monkey_.pick(3) ? cmd::kEditUndo : cmd::kEditRedo);
            settle();
        }
        frame()->closeAllFunctionWindows();
        settle();
        return monkey_.failure();
    }

    // A dialog command whose modal dialog is the window under test.
    QString driveDialog(int command) {
        monkey_.driveNextModal(events_);
        frame()->runCommand(command);
        settle();
        frame()->closeAllFunctionWindows();
        settle();
        if (QApplication::activeModalWidget()) return QStringLiteral("a dialog is still open");
        return monkey_.failure();
    }

    // The data are a valid image of the model; saved and re-opened they are the same.
    // `rawEdits`: the memory map writes bytes past the channel store, and a radio
    // write mends the directory it leaves.
    QString check(bool identityMayChange, bool rawEdits = false) {
        CDataImage& image = s_.app->data().image;
        const ModelIdentity id = image.identity();
        // Flag bit 6 says whether a data password is stored; the optional features
        // window keeps it in step with the password. Everything else is the model's.
        const auto modelBytes = [](ModelIdentity i) {
            i.bytes[7] |= 0x40;
            return i;
        };
        if (!identityMayChange && !(modelBytes(id) == modelBytes(identity_)))
            return QStringLiteral("identity bytes changed to %1")
                .arg(QString::fromStdString(id.hex()));
        if (!models::isAcceptable(id))
            return QStringLiteral("identity %1 is no model of the table")
                .arg(QString::fromStdString(id.hex()));
        identity_ = id;
        if (const int n = utf8Typed(image.bytes()); n > utf8Seen_ && !rawEdits)
            return QStringLiteral("text outside ASCII stored in the image");
        else
            utf8Seen_ = n;
        // The frame follows the data: the flags and the offered windows are those of
        // the model the image names.
        auto fresh = std::make_unique<RadioData>();
        std::copy(image.bytes().begin(), image.bytes().end(), fresh->image.bytes().begin());
        fresh->model.options = s_.app->data().model.options;
        fresh->model.refresh();
        const ModelFlags& want = fresh->model.flags();
        const ModelFlags& have = s_.app->data().model.flags();
        if (want.capacity != have.capacity || want.mobile != have.mobile ||
            want.trunking != have.trunking || want.scr != have.scr)
            return QStringLiteral("model flags do not follow the identity");
        const auto offered = openableEntries(functionWindowList(fresh->model), [](int command) {
            return FunctionWindowRegistry::instance().find(command) != nullptr;
        });
        if (offered != frame()->functionList())
            return QStringLiteral("the windows offered are not the model's");
        // The block directory names the blocks a radio write sends: it must cover
        // every group and channel record in use.
        auto rebuilt = std::make_unique<CDataImage>();
        std::copy(image.bytes().begin(), image.bytes().end(), rebuilt->bytes().begin());
        rebuilt->rebuildDirectory();
        if (!rawEdits && rebuilt->directory() != image.directory())
            return QStringLiteral("block directory is stale");

        const std::vector<uint8_t> before(image.bytes().begin(), image.bytes().end());
        const QString path = s_.dir.path() + QStringLiteral("/check.dat");
        messages_.always = QMessageBox::Ok;
        files_->forced = path;
        const bool saved = frame()->fileCommands().saveAs();
        files_->forced.clear();
        messages_.always = QMessageBox::NoButton;
        if (!saved) return QStringLiteral("Save As failed");
        files_->lastSaved = path;

        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("saved file missing");
        const QByteArray raw = f.readAll();
        auto parsed = std::make_unique<CDataImage::Bytes>();
        const DataFileStatus status = parseDataFile(
            std::span(reinterpret_cast<const uint8_t*>(raw.constData()), size_t(raw.size())),
            *parsed);
        if (status.result != kFileOk)
            return QStringLiteral("saved file refused: %1")
                .arg(QString::fromStdString(status.detail));
        if (!std::equal(before.begin(), before.end(), parsed->begin()))
            return QStringLiteral("saved bytes differ");

        messages_.always = QMessageBox::Ok;
        const bool reopened = frame()->fileCommands().openPath(path);
        messages_.always = QMessageBox::NoButton;
        if (!reopened) return QStringLiteral("saved file does not open");
        if (!std::equal(before.begin(), before.end(), image.bytes().begin()))
            return QStringLiteral("re-opened bytes differ");
        frame()->closeAllFunctionWindows();
        settle();
        return {};
    }

    void finish() {
        monkey_.stopGuard();
        messages_.always = QMessageBox::Ok;
        QCoreApplication::processEvents();
    }

    RandomMessages& messages() { return messages_; }
    const Monkey& monkey() const { return monkey_; }

  private:
    std::mt19937 rng_;
    RandomMessages messages_;
    Monkey monkey_;
    const ModelCase& model_;
    int events_;
    unsigned seed_;
    std::unique_ptr<TempFileDialogs> files_;
    StartedApp s_;
    ModelIdentity identity_;
    int utf8Seen_ = 0;
};

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { installCrashReport(); }
    // The models of the run between them open every function window of the program,
    // so that a window added later is driven too.
    void theModelsCoverEveryFunctionWindow() {
        QSet<int> driven;
        for (const ModelCase& model : kModels) {
            Run run(1, model, 0);
            QString error;
            QVERIFY2(run.start(error), qPrintable(error));
            for (int command : run.windows())
                driven << command;
            run.finish();
        }
        for (int command : windowNames().keys())
            if (FunctionWindowRegistry::instance().find(command))
                QVERIFY2(driven.contains(command), qPrintable(windowName(command)));
    }
    void randomInputKeepsTheDataValid_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kModels)); ++i)
            QTest::newRow(kModels[i].name) << i;
    }
    void randomInputKeepsTheDataValid() {
        QFETCH(int, index);
        const ModelCase& model = kModels[index];
        const unsigned seed = unsigned(envInt("VRL_MONKEY_SEED", 1));
        const int events = envInt("VRL_MONKEY_EVENTS", 100);

        Run run(seed, model, events);
        QString error;
        QVERIFY2(run.start(error), qPrintable(error));
        QVERIFY2(run.check(false).isEmpty(), qPrintable(run.where("none")));

        struct Step {
            QString name;
            std::function<QString()> drive;
            bool modelMayChange = false;
            bool rawEdits = false;
        };
        std::vector<Step> steps;
        for (int command : run.windows())
            steps.push_back({windowName(command), [&run, command] {
                                 return run.driveWindows({command}, run.events());
                             }});
        // Every window open at once: a change in one refreshes the others.
        steps.push_back({QStringLiteral("all at once"),
                         [&run] { return run.driveWindows(run.windows(), 3 * run.events()); }});
        // The dialogs that may change the model identity come last, each followed by
        // Undo and Redo across what it did.
        for (int command : {cmd::kModelInformation, cmd::kMemoryMap}) {
            const auto drive = [&run, command] {
                const QString fault = run.driveDialog(command);
                return fault.isEmpty() ? run.stepHistory(4) : fault;
            };
            steps.push_back({windowName(command), drive, true, command == cmd::kMemoryMap});
        }
        for (const Step& step : steps) {
            const QString where = run.where(step.name);
            noteRunning(where);
            QString fault = step.drive();
            if (fault.isEmpty()) fault = run.check(step.modelMayChange, step.rawEdits);
            QVERIFY2(fault.isEmpty(), qPrintable(where + ": " + fault));
        }
        noteRunning({});
        qInfo("%d events, %d modal dialogs met, %d questions answered", run.monkey().eventsSent(),
              run.monkey().dialogsMet(), run.messages().asked);
        run.finish();
    }
};

int main(int argc, char** argv) {
    // A long run outlasts the test library's five-minute watchdog: it gets time in
    // proportion to its events (the guard reports a dialog that does not close).
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT")) {
        const qint64 ms = std::max<qint64>(300000, qint64(envInt("VRL_MONKEY_EVENTS", 0)) * 400);
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(ms));
    }
    QApplication app(argc, argv);
    MonkeyTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "monkey_test.moc"
