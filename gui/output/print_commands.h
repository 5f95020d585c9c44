// The printer of the whole run: File Print, Print Setup and Test Mode's Print use
// one printer, so that the page set-up the user chose holds for every print-out.
#pragma once

class QPrinter;

namespace vrl::gui {

QPrinter& sharedPrinter();

} // namespace vrl::gui
