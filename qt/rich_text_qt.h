// Turns a RichDocument into the content of a QTextDocument, for the help
// viewer and its printout. Every paragraph becomes a block with its
// alignment and indents; every run a piece of text whose font, size,
// weight, underline and colour are set on the text itself, so that a screen
// reader reports them. Neighbouring bulleted paragraphs form one list whose
// disc bullets hang left of the text. An empty paragraph keeps the height of
// its style.
//
// Indents in twips become pixels at `dotsPerInch`; sizes stay points, which
// Qt converts for the screen or the printer. Cannot fail.
#pragma once

#include <QTextDocument>

#include "platform/rich_text.h"

namespace zl {

// Replaces the whole content of `target` by `source`.
void fillTextDocument(QTextDocument& target, const RichDocument& source, double dotsPerInch);

}  // namespace zl
