// The printout of the help text: what the help viewer shows, in its fonts,
// styles and paragraphs, laid out page after page by the viewer's own
// formatting, each page going on from the first character that did not fit
// on the one before. No head, no footer, no page numbers, no status
// message. A cancelled dialog ends it silently; nothing is ever reported.
#pragma once

namespace zl {

class Printer;

// The print command on the help page: the print dialog, then the help text
// as a document named "Zelvo Lingotak Hilfe".
void printHelpText(Printer& printer);

}  // namespace zl
