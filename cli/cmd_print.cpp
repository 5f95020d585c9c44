// vrl73m-cli print: the print-out of a data file as a PDF, the same pages the
// desktop program prints (the one print engine paints both).
#include "commands.h"
#include "csv.h"
#include "options.h"

#include "file/data_file.h"
#include "output/print_engine.h"

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace vrl::cli {

int cmdPrint(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli print FILE -o OUT.pdf [--sections LIST] [--groups A-B] [--language N]\n"
        "Writes the print-out of the data file FILE as a PDF with selectable text. LIST is 'all'\n"
        "or comma-separated section names: model, optional, keys, scan, dtmf, twotone, trunking,\n"
        "emergency, ost, test_frequency, message, channels, extended (default: model,message).\n"
        "--groups limits the channel section to groups A to B (1-based); each end is limited to\n"
        "the groups in use, and an end below the start prints every group.\n";
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

    gui::PrintJob job;
    const std::string list = opts.value("--sections").value_or("model,message");
    std::stringstream names(list);
    for (std::string name; std::getline(names, name, ',');) {
        if (name == "all") {
            job.sections.fill(true);
            continue;
        }
        const auto section = printSectionByName(name);
        if (!section) return fail("print", "unknown section '" + name + "'", kExitUsage);
        job.sections[static_cast<size_t>(*section)] = true;
    }
    const size_t extended = static_cast<size_t>(PrintSection::Extended);
    if (job.sections[extended] && !printSectionOffered(PrintSection::Extended, data.image)) {
        job.sections[extended] = false;
        if (list != "all")
            std::cerr << "vrl73m-cli print: this model has no extended function; that section is left out\n";
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
    gui::PrintEngine engine(data, [&table](int i) { return table->text(i); }, job);
    QString message;
    if (!gui::writePrintPdf(engine, QString::fromStdString(*out), QString::fromStdString(table->text(97)), &message))
        return fail("print", message.toStdString(), kExitRefused);
    std::cout << "wrote " << *out << ": " << engine.pageCount() << " pages\n";
    return kExitOk;
}

} // namespace vrl::cli
