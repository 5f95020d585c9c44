// vrl73m-cli print: the print-out of a data file as a PDF, the same pages the
// desktop program prints (the one print engine paints both).
#include "commands.h"
#include "csv.h"
#include "options.h"

#include "file/data_file.h"
#include "output/print_engine.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

namespace vrl::cli {

int cmdPrint(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli print FILE -o OUT.pdf [--sections LIST] [--groups A-B] [--language N]\n"
        "Writes the print-out of the data file FILE as a PDF with selectable text. LIST is 'all'\n"
        "or comma-separated section names: model, optional, keys, scan, dtmf, twotone, trunking,\n"
        "emergency, ost, test_frequency, message, channels, extended (default: model,message).\n"
        "--groups limits the channel section to groups A to B (1-based); each end is limited to\n"
        "the groups in use, and an end below the start prints every group. A named section the\n"
        "model lacks is left out with a warning; when nothing remains, no file is written (exit 2).\n";
    Options opts({"--sections", "--groups", "--language", "-o", "--output"}, {});
    if (auto code = startCommand("print", kUsage, opts, args)) return *code;
    auto out = opts.value("-o") ? opts.value("-o") : opts.value("--output");
    if (opts.positional().size() != 1 || !out) return fail("print", "expected FILE and -o OUT.pdf", kExitUsage);
    int code = kExitOk;
    const auto language = languageOf(opts, "print", code);
    if (!language) return code;
    std::string error;
    auto table = loadLanguageForCli(*language, error);
    if (!table) return fail("print", error, kExitRefused);

    RadioData data;
    DataFileStatus status = readDataFile(opts.positional()[0], data.image);
    if (status.result != kFileOk) return fail("print", status.detail, kExitRefused);
    data.model.refresh();

    PrintJob job;
    const std::string list = opts.value("--sections").value_or("model,message");
    std::stringstream names(list);
    std::set<PrintSection> named; // the sections asked for by name
    for (std::string name; std::getline(names, name, ',');) {
        if (name == "all") {
            job.sections.fill(true);
            continue;
        }
        const auto section = printSectionByName(name);
        if (!section) return fail("print", "unknown section '" + name + "'", kExitUsage);
        job.sections[static_cast<size_t>(*section)] = true;
        named.insert(*section);
    }
    job.startGroup = 1;
    job.endGroup = 0; // every group
    if (auto groups = opts.value("--groups")) {
        const size_t dash = groups->find('-');
        const auto a = parseNumber(groups->substr(0, dash));
        const auto b = dash == std::string::npos ? a : parseNumber(groups->substr(dash + 1));
        if (!a || !b || *a < 0 || *b < 0 || *a > 999 || *b > 999)
            return fail("print", "--groups must be A-B with group numbers", kExitUsage);
        job.startGroup = static_cast<int>(*a);
        job.endGroup = static_cast<int>(*b);
    }
    job.title = QString::fromStdString(std::filesystem::path(opts.positional()[0]).filename().string());

    // Fonts need a GUI application; no display is needed to write a PDF.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "vrl73m-cli";
    char* argv[] = {name, nullptr};
    // Qt's notes about the session (no runtime folder, no display) are not for the user.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
    });
    QGuiApplication app(argc, argv);
    PrintEngine engine(data, [&table](int i) { return table->text(i); }, job);
    // A section named on the command line that this model lacks (or that has
    // nothing in the group range) is left out with a warning; 'all' leaves such
    // sections out quietly.
    const std::vector<PrintSection> printed = engine.sections();
    for (const PrintSectionInfo& s : printSections())
        if (named.count(s.section) &&
            std::find(printed.begin(), printed.end(), s.section) == printed.end())
            std::cerr << "vrl73m-cli print: warning: this model has nothing of section '" << s.name
                      << "'; it is left out\n";
    if (printed.empty()) return fail("print", "nothing to print; no file written", kExitRefused);
    QString message;
    if (!writePrintPdf(engine, QString::fromStdString(*out), QString::fromStdString(table->text(97)), &message))
        return fail("print", message.toStdString(), kExitRefused);
    std::cout << "wrote " << *out << ": " << engine.pageCount() << " pages\n";
    return kExitOk;
}

} // namespace vrl::cli
