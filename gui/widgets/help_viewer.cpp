#include "widgets/help_viewer.h"

#include "widgets/form_view.h"
#include "widgets/help.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {

QPointer<CHelpViewer>& viewerPointer() {
    static QPointer<CHelpViewer> viewer;
    return viewer;
}

} // namespace

QString CHelpViewer::anchorFor(int topic) {
    return QStringLiteral("0x") + QString::number(topic, 16).toUpper();
}

CHelpViewer* CHelpViewer::instance() { return viewerPointer().data(); }

CHelpViewer::CHelpViewer() : QWidget(nullptr, Qt::Window), browser_(new QTextBrowser(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    // An open help window does not keep the program running after the main window.
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QStringLiteral("helpViewer"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
    // The document title follows every link inside the help file.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        anchor_ = url.fragment();
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Help") : title);
    });
}

CHelpViewer* CHelpViewer::showFile(const QString& file, const QStringList& anchors) {
    QPointer<CHelpViewer>& viewer = viewerPointer();
    if (!viewer) viewer = new CHelpViewer;
    viewer->show(file, anchors);
    return viewer;
}

QStringList CHelpViewer::anchors() const {
    QStringList names;
    const QTextDocument* doc = browser_->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        names << block.charFormat().anchorNames();
        for (auto it = block.begin(); !it.atEnd(); ++it)
            names << it.fragment().charFormat().anchorNames();
    }
    names.removeDuplicates();
    return names;
}

void CHelpViewer::show(const QString& file, const QStringList& wanted) {
    const QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (file_ != file || browser_->source().adjusted(QUrl::RemoveFragment) != url) {
        file_ = file;
        browser_->setSource(url);
    }
    const QStringList present = anchors();
    QString anchor = contentsAnchor();
    bool found = false;
    for (const QString& a : wanted) {
        for (const QString& p : present) {
            if (p.compare(a, Qt::CaseInsensitive) == 0) {
                anchor = p;
                found = true;
                break;
            }
        }
        if (found) break;
    }
    QUrl at = url;
    at.setFragment(anchor);
    browser_->setSource(at);
    browser_->scrollToAnchor(anchor);
    anchor_ = anchor;
    QWidget::show();
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void CHelpViewer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

namespace help {

namespace {

ViewerSetup& setup() {
    static ViewerSetup s;
    return s;
}

bool installed() { return static_cast<bool>(setup().fileName); }

// The topics to try for a request, best first: the topic itself, then the window's
// topic (a form window's template) of the widget that asked.
QStringList anchorsFor(int topic, const QWidget* from) {
    QStringList anchors{CHelpViewer::anchorFor(topic)};
    for (const QWidget* w = from; w; w = w->parentWidget()) {
        if (const auto* form = qobject_cast<const CFormView*>(w)) {
            anchors << CHelpViewer::anchorFor(kTopicBase + form->templateId());
            break;
        }
        const QVariant own = w->property("helpTopic");
        if (own.isValid()) {
            anchors << CHelpViewer::anchorFor(own.toInt());
            break;
        }
    }
    return anchors;
}

bool showOrReport(const QStringList& anchors) {
    const QString file = helpFile();
    if (file.isEmpty()) {
        if (setup().reportMissing) {
            const QString name = installed() ? setup().fileName() : QString();
            QStringList folders;
            for (const QString& f : setup().folders)
                if (!f.isEmpty()) folders << QDir::toNativeSeparators(f);
            setup().reportMissing(
                QStringLiteral("The help file \"%1\" was not found.\nIt is looked for in:\n%2")
                    .arg(name, folders.join('\n')));
        }
        return false;
    }
    CHelpViewer::showFile(file, anchors);
    return true;
}

} // namespace

QString findHelpFile(const QString& fileName, const QStringList& folders) {
    if (fileName.trimmed().isEmpty()) return {};
    for (const QString& folder : folders) {
        if (folder.isEmpty()) continue;
        const QFileInfo info(QDir(folder), fileName);
        if (info.isFile() && info.isReadable()) return info.absoluteFilePath();
    }
    return {};
}

void installViewer(ViewerSetup s) {
    setup() = std::move(s);
    setHandler([](int topic, QWidget* from) { showOrReport(anchorsFor(topic, from)); });
}

void uninstallViewer() {
    setup() = ViewerSetup{};
    setHandler({});
    if (CHelpViewer* viewer = CHelpViewer::instance()) delete viewer;
}

QString helpFile() {
    if (!installed()) return {};
    return findHelpFile(setup().fileName(), setup().folders);
}

bool openContents() { return showOrReport({CHelpViewer::contentsAnchor()}); }

} // namespace help

} // namespace vrl::gui
