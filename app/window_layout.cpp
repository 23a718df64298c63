#include "app/window_layout.h"

#include <array>

namespace zl {

namespace {

using K = ControlKind;
using F = FontRole;
using S = SizeRule;

constexpr std::array<std::string_view, 3> kMenuTitles = {"Datei", "Vokabeln", "Hilfe"};

constexpr std::array<MenuItem, 27> kMenuItems = {{
    {0, CmdNew, "Neu", ImageNew},
    {0, CmdOpen, "Öffnen", ImageOpen},
    {0, CmdClose, "Schließen", NoIcon},
    {0, 0, "", NoIcon},
    {0, CmdSave, "Speichern", ImageSave},
    {0, CmdSaveAs, "Speichern unter...", NoIcon},
    {0, 0, "", NoIcon},
    {0, CmdSearch, "Suchen", ImageSearch},
    {0, CmdSort, "Vokabeln Sortieren", ImageSort},
    {0, CmdShuffle, "Vokabeln Mischen", NoIcon},
    {0, 0, "", NoIcon},
    {0, CmdPrint, "Drucken", ImagePrint},
    {0, 0, "", NoIcon},
    {0, CmdRestore, "Restore", ImageRestore},
    {0, CmdSplit, "Vokabeldatei teilen", NoIcon},
    {0, 0, "", NoIcon},
    {0, CmdQuit, "Beenden", NoIcon},
    {1, CmdEntryPage, "Eingeben", NoIcon},
    {1, CmdTestPage, "Abfragen", NoIcon},
    {2, CmdHelpPage, "Hilfe", NoIcon},
    {2, 0, "", NoIcon},
    {2, CmdShortcut, "Desktop Verknüpfung erstellen...", ImageShortcut},
    {2, 0, "", NoIcon},
    {2, CmdRegister, "Dateiendung .LTK registrieren...", ImageRegister},
    {2, CmdUnregister, "Registrierung .LTK entfernen...", NoIcon},
    {2, 0, "", NoIcon},
    {2, CmdAbout, "Info", ImageInfo},
}};

constexpr MenuItem kStatisticsItem = {0, CmdStatistics, "Statistik der Vokabel", NoIcon};

constexpr std::array<ToolButton, 14> kToolButtons = {{
    {TbNew, StockPicture::NewFile, ImageNew, "Neu"},
    {TbOpen, StockPicture::OpenFile, ImageOpen, "Öffnen"},
    {TbSave, StockPicture::Save, ImageSave, "Speichern"},
    {0, StockPicture::None, NoIcon, ""},
    {TbSearch, StockPicture::None, ImageSearch, "Suchen"},
    {TbSort, StockPicture::None, ImageSort, "Vokabeln Sortieren"},
    {0, StockPicture::None, NoIcon, ""},
    {TbPrint, StockPicture::Print, ImagePrint, "Drucken"},
    {0, StockPicture::None, NoIcon, ""},
    {TbUpdate, StockPicture::None, ImageUpdate, "Internet Update"},
    {0, StockPicture::None, NoIcon, ""},
    {TbHomepage, StockPicture::None, ImageHomepage, "Homepage"},
    {0, StockPicture::None, NoIcon, ""},
    {TbInfo, StockPicture::None, ImageInfo, "Info"},
}};

constexpr std::array<std::string_view, 3> kPageCaptions = {
    "          Vokabeln Eingeben          ",
    "          Vokabeln Abfragen          ",
    "                    Hilfe                    ",
};

// One row per control, as a table. The program's own spellings "Alle
// Vokbeln" and "Tip" are kept as written.
// clang-format off
constexpr std::array<ControlLayout, 37> kControls = {{
    // Entry page
    {EntryVocabularyField, EntryPage, K::TextField, 3, 28, 590, 35, S::Fixed, "", F::FontField, "", true, false},
    {EntryTranslationField, EntryPage, K::TextField, 3, 93, 590, 35, S::Fixed, "", F::FontField, "", true, false},
    {EntryVocabularyLabel, EntryPage, K::Label, 8, 8, 90, 20, S::Fixed, "Vokabel:", F::FontLabel, "", true, false},
    {EntryTranslationLabel, EntryPage, K::Label, 8, 73, 130, 20, S::Fixed, "Übersetzung:", F::FontLabel, "", true, false},
    {MergeButton, EntryPage, K::PushButton, 483, 138, 110, 35, S::Fixed, "Verbinden", F::DialogFont,
     "Verbindet zwei Vokabeldateien miteinander", false, false},
    {DeleteButton, EntryPage, K::PushButton, 323, 138, 110, 35, S::Fixed, "Löschen", F::DialogFont,
     "Löscht den markierten Datensatz", false, false},
    {AcceptEntryButton, EntryPage, K::DefaultPushButton, 3, 138, 110, 35, S::Fixed, "Übernehmen", F::DialogFont,
     "Eingabe Übernehmen", true, false},
    {EditButton, EntryPage, K::PushButton, 163, 138, 110, 35, S::Fixed, "Bearbeiten", F::DialogFont,
     "Öffnet den markierten Datensatz zur Bearbeitung", false, false},
    {EntryCountValue, EntryPage, K::SunkenValue, 323, 183, 270, 35, S::Fixed, "", F::FontLarge, "", true, false},
    {EntryCountLabel, EntryPage, K::Label, 8, 183, 310, 35, S::Fixed, "Eingegebene Vokabeln:", F::FontLarge, "", true, false},
    {VocabListView, EntryPage, K::ListView, 3, 228, 590, 0, S::ToPageBottom, "", F::DialogFont, "", true, false},
    // Test page: the upper field is the translation field and comes first.
    {TestTranslationField, TestPage, K::ReadOnlyTextField, 3, 28, 590, 35, S::Fixed, "", F::FontField, "", true, false},
    {TestVocabularyField, TestPage, K::ReadOnlyTextField, 3, 93, 590, 35, S::Fixed, "", F::FontField, "", true, false},
    {TestTranslationLabel, TestPage, K::Label, 8, 8, 150, 20, S::Fixed, "Übersetzung:", F::FontLabel, "", true, false},
    {TestVocabularyLabel, TestPage, K::Label, 8, 73, 95, 20, S::Fixed, "Vokabel:", F::FontLabel, "", true, false},
    {NewTestButton, TestPage, K::PushButton, 483, 138, 110, 35, S::Fixed, "Neuer Test", F::DialogFont,
     "Startet einen neuen Test", true, false},
    {SkipButton, TestPage, K::PushButton, 323, 138, 110, 35, S::Fixed, "Überspringen", F::DialogFont,
     "Springt zur nächsten Vokabel im Test", false, false},
    {AcceptAnswerButton, TestPage, K::DefaultPushButton, 3, 138, 110, 35, S::Fixed, "Übernehmen", F::DialogFont,
     "Eingabe Übernehmen", false, false},
    {TipButton, TestPage, K::PushButton, 163, 138, 110, 35, S::Fixed, "Tip", F::DialogFont, "Zeigt die gesuchte Lösung", false, false},
    {RemainingValue, TestPage, K::SunkenValue, 323, 183, 270, 35, S::Fixed, "", F::FontLarge, "", true, false},
    {RemainingLabel, TestPage, K::Label, 8, 183, 310, 35, S::Fixed, "Verbleibende Vokabeln:", F::FontLarge, "", true, false},
    {OptionsFrame, TestPage, K::Frame, 3, 228, 180, 0, S::ToPageBottom, "Abfrage Optionen", F::DialogFont, "", true, false},
    {PairStatisticsFrame, TestPage, K::Frame, 208, 228, 180, 0, S::ToPageBottom, "Statistik der Vokabel", F::DialogFont, "", true, false},
    {EvaluationFrame, TestPage, K::Frame, 413, 228, 180, 0, S::ToPageBottom, "Test Auswertung", F::DialogFont, "", true, false},
    {Test20Option, TestPage, K::OptionButton, 18, 253, 130, 15, S::Fixed, "Test (20 Vokabeln)", F::DialogFont, "", true, true},
    {AllVocabOption, TestPage, K::OptionButton, 18, 278, 130, 15, S::Fixed, "Alle Vokbeln", F::DialogFont, "", true, false},
    {AskForeignCheck, TestPage, K::CheckBox, 18, 303, 135, 15, S::Fixed, "Fremdsprache abfragen", F::DialogFont, "", true, true},
    {IgnoreCaseCheck, TestPage, K::CheckBox, 18, 328, 135, 15, S::Fixed, "GROSS/klein ignorieren", F::DialogFont, "", true, true},
    {RightCountValue, TestPage, K::SunkenValue, 223, 268, 45, 20, S::Fixed, "", F::FontSmall, "", true, false},
    {WrongCountValue, TestPage, K::SunkenValue, 223, 308, 45, 20, S::Fixed, "", F::FontSmall, "", true, false},
    {RightCountLabel, TestPage, K::Label, 278, 268, 100, 20, S::Fixed, "Richtig", F::FontLabel, "", true, false},
    {WrongCountLabel, TestPage, K::Label, 278, 308, 100, 20, S::Fixed, "Falsch", F::FontLabel, "", true, false},
    {RateLabel, TestPage, K::Label, 428, 268, 115, 20, S::Fixed, "Quote Richtig:", F::FontLabel, "", true, false},
    {GradeLabel, TestPage, K::Label, 428, 308, 115, 20, S::Fixed, "Note:", F::FontLabel, "", true, false},
    {RateValue, TestPage, K::PlainValue, 543, 268, 45, 20, S::Fixed, "", F::FontLabel, "", true, false},
    {GradeValue, TestPage, K::PlainValue, 543, 308, 45, 20, S::Fixed, "", F::FontLabel, "", true, false},
    // Help page
    {HelpViewer, HelpPage, K::RichTextViewer, 0, 0, 0, 0, S::WholePage, "", F::DialogFont, "", true, false},
}};
// clang-format on

}  // namespace

std::span<const std::string_view> menuTitles() { return kMenuTitles; }

std::span<const MenuItem> menuItems() { return kMenuItems; }

const MenuItem& statisticsPopupItem() { return kStatisticsItem; }

std::span<const ToolButton> toolButtons() { return kToolButtons; }

std::span<const std::string_view> pageCaptions() { return kPageCaptions; }

std::span<const ControlLayout> controlLayouts() { return kControls; }

}  // namespace zl
