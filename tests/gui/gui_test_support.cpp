#include "gui_test_support.h"

#include "app/app_context.h"

#include <QFile>
#include <QSettings>

namespace vrl::gui::test {

QMessageBox::StandardButton ScriptedMessages::ask(const Request& request) {
    asked.push_back(request);
    if (answers_.empty()) return fallback;
    const auto a = answers_.front();
    answers_.pop_front();
    return a;
}

QStringList ScriptedMessages::texts() const {
    QStringList list;
    for (const Request& r : asked) list << r.text;
    return list;
}

QString textOf(int row) {
    if (row == 85) return QStringLiteral("&New\tCtrl+N");
    if (row == 84) return QStringLiteral("&File");
    return QStringLiteral("L0:%1").arg(row);
}

QByteArray languageFileBytes(int languages) {
    QByteArray out = "Label";
    for (int l = 0; l < languages; ++l) out += ",Lang" + QByteArray::number(l);
    out += '\n';
    const int rows = 564 + languages;
    for (int row = 0; row < rows; ++row) {
        out += "T" + QByteArray::number(row);
        for (int l = 0; l < languages; ++l) {
            QByteArray text;
            if (row == 0) text = "DejaVu Sans";
            else if (row == 1) text = QByteArray::number(12 + l);
            else if (row >= 564) text = "Lang" + QByteArray::number(row - 564);
            else if (row == 85) text = l == 0 ? "&New\\tCtrl+N" : "&Neu\\tCtrl+N";
            else if (row == 84 && l == 0) text = "&File";
            else text = "L" + QByteArray::number(l) + ":" + QByteArray::number(row);
            out += ',' + text;
        }
        if (row + 1 < rows) out += '\n';
    }
    return out;
}

void writeLanguageFile(const QString& path, int languages) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(languageFileBytes(languages));
}

StartedApp::StartedApp(int languages, bool withLanguageFile) {
    if (withLanguageFile) {
        writeLanguageFile(dir.path() + "/vrl73m.lng", languages);
        // The keyed texts of the newer windows are the program's own, as installed.
        QFile::copy(VRL_SOURCE_DIR "/data/vrl73m-extra.lng", dir.path() + "/vrl73m-extra.lng");
    }
    settings = std::make_unique<AppSettings>(iniPath());
}

void StartedApp::setting(const QString& name, const QVariant& value) {
    QSettings raw(iniPath(), QSettings::IniFormat);
    raw.setValue("Backup/" + name, value);
    raw.sync();
    settings = std::make_unique<AppSettings>(iniPath());
}

bool StartedApp::start(const QStringList& args, bool show) {
    CVrl73mApp::Environment env;
    env.arguments = args;
    env.exeDir = dir.path();
    env.currentDir = dir.path();
    app = std::make_unique<CVrl73mApp>(*settings, messageService ? *messageService : messages, env);
    const bool ok = app->start(show);
    if (ok) app->context().setFileDialogs(&files);
    return ok;
}

} // namespace vrl::gui::test
