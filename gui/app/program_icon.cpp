#include "app/program_icon.h"

namespace vrl::gui {

QIcon programIcon() {
    // The drawing scales to every size; the picture stands in where SVG cannot be read.
    QIcon icon(QStringLiteral(":/icons/vrl73m.svg"));
    icon.addFile(QStringLiteral(":/icons/vrl73m-64.png"), QSize(64, 64));
    return icon;
}

} // namespace vrl::gui
