#include "print/help_printout.h"

#include "platform/printer.h"
#include "print/texts.h"

namespace zl {

void printHelpText(Printer& printer) {
  if (printer.showPrintDialog(print_text::HelpDocumentName)) printer.printHelpDocument();
}

}  // namespace zl
