// File Print, Print Preview and Export PDF: the Print Out List dialog, then the
// system's print dialog, Qt's print preview or a PDF file, all painted by the one
// print engine.
#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "output/print_commands.h"
#include "output/print_list_dlg.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace vrl::gui {

namespace {

PrintListState& listState() {
    static PrintListState state;
    return state;
}

QPrinter& printer() { return sharedPrinter(); }

enum class Target { Printer, Pdf };

void runPrint(FrameHost& host, Target target) {
    AppContext& ctx = host.context();
    CPrintOutListDlg dlg(ctx, listState(), host.mainWindow());
    QObject::connect(&dlg, &CPrintOutListDlg::printSetupRequested, &dlg, [&dlg] {
        QPageSetupDialog setup(&printer(), &dlg);
        setup.exec();
    });
    if (dlg.exec() != QDialog::Accepted) return;
    PrintEngine engine(ctx.data(), [&ctx](int i) { return ctx.lang().text(i); }, dlg.job());
    if (dlg.outcome() == CPrintOutListDlg::Outcome::Preview) {
        // A modal preview: nothing can change the data or the menus while it shows.
        QPrintPreviewDialog preview(&printer(), host.mainWindow());
        preview.setWindowTitle(ctx.text(94));
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&engine](QPrinter* p) { engine.print(*p); });
        preview.exec();
        return;
    }
    if (target == Target::Pdf) {
        QString proposed = QFileInfo(ctx.currentFilePath()).completeBaseName();
        if (proposed.isEmpty()) proposed = QStringLiteral("vrl73m");
        const QString path = QFileDialog::getSaveFileName(
            host.mainWindow(), ctx.text(558).remove('&'), ctx.currentFolder() + proposed + ".pdf",
            QStringLiteral("PDF (*.pdf)"));
        if (path.isEmpty()) return;
        QString error;
        if (!writePrintPdf(engine, path, ctx.text(97), &error))
            ctx.messages().ask({error, ctx.text(79), MessageService::Icon::Error});
        return;
    }
    QPrintDialog dialog(&printer(), host.mainWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    if (!engine.print(printer()))
        ctx.messages().ask({ctx.text(97) + QStringLiteral(": ") + printer().printerName(), ctx.text(79),
                            MessageService::Icon::Error});
}

} // namespace

QPrinter& sharedPrinter() {
    static QPrinter p(QPrinter::HighResolution);
    return p;
}

VRL_REGISTER_COMMAND(cmd::kFilePrint, [](FrameHost& host) { runPrint(host, Target::Printer); });
VRL_REGISTER_COMMAND(cmd::kFilePrintPreview, [](FrameHost& host) { runPrint(host, Target::Printer); });
VRL_REGISTER_COMMAND(cmd::kFileExportPdf, [](FrameHost& host) { runPrint(host, Target::Pdf); });

} // namespace vrl::gui
