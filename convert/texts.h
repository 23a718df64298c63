// The converter's texts, in UTF-8 as the terminal and its message boxes
// take them. "%1", "%2", ... stand for what fill() puts in.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zl::convert_text {

inline const std::string ProgramName = "zelvo-lingotak-convert";
inline const std::string ImportTitle = "Zelvo Lingotak (Import)";

inline const std::string Help = R"(Aufruf: zelvo-lingotak-convert [OPTIONEN] EINGABE AUSGABE
        zelvo-lingotak-convert --open DATEI

Wandelt Vokabelpaare zwischen den Vokabeldateien von Zelvo Lingotak (.ltk)
und anderen Formaten um: CSV, TSV, Anki-Text (.txt), KVTML 2.0 (.kvtml) und
Anki-Pakete (.apkg, .colpkg).

Das Format der EINGABE wird am Inhalt erkannt (Anki-Paket, KVTML-Dokument,
Vokabeldatei, sonst Text mit Trennzeichen: Tabulator, Semikolon oder Komma;
UTF-8, UTF-16 mit Byte-Order-Mark oder Windows-1252). Das Format der AUSGABE
folgt ihrer Endung: .ltk, .csv, .tsv, .txt (Anki), .kvtml, .apkg.

Aus einem Anki-Paket wird jede Notiz ein Paar aus ihren ersten beiden Feldern
(HTML wird zu Text, Bilder und Töne fallen weg, Lückentexte werden
übersprungen); die Zähler kommen von ihrer ersten Karte. Ein geschriebenes
.apkg enthält einen Stapel mit dem Namen der Datei und eine Karte je Paar
(Vokabel vorn, Übersetzung hinten); negative Zähler werden als 0 geschrieben.

Optionen:
  --to FORMAT            Format der Ausgabe: ltk, csv, tsv, anki, kvtml oder apkg
  --from FORMAT          Format der Eingabe, statt es zu erkennen
  --columns N,M          Vokabel aus Spalte N, Übersetzung aus Spalte M (ab 1)
  --languages N,M        bei KVTML: die Sprachen mit den Kennungen N und M
  --fields NAME,NAME     bei Anki-Paketen: Vokabel und Übersetzung aus den
                         Feldern dieser Namen (Notiztypen ohne sie: übersprungen)
  --deck NAME            bei Anki-Paketen: nur dieser Stapel und seine
                         Unterstapel (sonst alle)
  --header               die erste Zeile nennt nur die Spalten und wird übersprungen
  --delimiter ,          CSV mit Kommas schreiben (sonst mit Semikolons, wie
                         deutsche Tabellenprogramme sie erwarten)
  --replace-unmappable   Zeichen, die eine Vokabeldatei nicht fassen kann,
                         durch das nächstliegende ersetzen (sonst: nichts schreiben)
  --force                eine vorhandene AUSGABE ersetzen
  --open DATEI           die Paare in eine neue Vokabeldatei neben DATEI
                         schreiben und den Vokabeltrainer damit starten
  -h, --help             diese Hilfe

Rückgabewert: 0 bei Erfolg, 1 wenn die Eingabe nicht umgewandelt werden kann,
2 bei falschem Aufruf. Mehr dazu: man zelvo-lingotak-convert
)";

// Wrong usage (exit status 2).
inline const std::string Usage =
    "Aufruf: zelvo-lingotak-convert [OPTIONEN] EINGABE AUSGABE\n"
    "        zelvo-lingotak-convert --open DATEI\n"
    "Mehr dazu: zelvo-lingotak-convert --help";
inline const std::string UnknownOption = "Unbekannte Option: %1";
inline const std::string MissingValue = "Die Option %1 braucht einen Wert.";
inline const std::string UnknownFormat = "Unbekanntes Format: %1 (bekannt sind ltk, csv, tsv, anki, kvtml und apkg)";
inline const std::string OutputFormatUnknown =
    "An der Endung von %1 ist kein Format zu erkennen (.ltk, .csv, .tsv, .txt, .kvtml, .apkg); --to FORMAT nennt "
    "es.";
inline const std::string BadColumns = "--columns erwartet zwei verschiedene Spaltennummern ab 1, etwa --columns 2,3.";
inline const std::string BadDelimiter = "--delimiter erwartet ; oder , als Trennzeichen einer CSV-Ausgabe.";
inline const std::string BadLanguages = "--languages erwartet zwei verschiedene Kennungen, etwa --languages 0,2.";
inline const std::string BadFields =
    "--fields erwartet zwei verschiedene Feldnamen, etwa --fields Vorderseite,Rückseite.";
inline const std::string BadDeck = "--deck erwartet den Namen eines Stapels, etwa --deck \"Französisch\".";

// Why an input cannot be read, after its name and the line or entry.
inline const std::string HeadNamesNoDelimiter = "Die Kopfzeile nennt kein brauchbares Trennzeichen.";
inline const std::string HeadNamesNoColumn = "Die Kopfzeile nennt keine gültige Spaltennummer.";
inline const std::string NoDelimiter =
    "Keine Spalten gefunden: keine Zeile ist durch Tabulator, Semikolon oder Komma geteilt.";
inline const std::string NoSuchColumn = "Keine Zeile hat eine Spalte %1; die Zeilen haben höchstens %2 Spalten.";
inline const std::string NoTwoTexts = "Keine Spalten gefunden: keine Zeile hat zwei Texte.";
inline const std::string DeclaresEntities =
    "Die Datei deklariert eigene Entitäten; solche Dateien werden aus Sicherheitsgründen nicht gelesen.";
inline const std::string UndeclaredEntity = "Die Datei verwendet die nicht deklarierte Entität „&%1;“.";
inline const std::string NotKvtml = "Die Datei ist kein KVTML-Dokument (ihr äußeres Element heißt „%1“).";
inline const std::string NoTwoLanguages = "Die Datei nennt keine zwei Sprachen.";
inline const std::string NoSuchLanguage = "Die Datei hat keine Sprache mit der Kennung „%1“ (vorhanden: %2).";
inline const std::string OldLanguages = "0 für <o>, ab 1 für die <t>";
inline const std::string LanguageRange = "0 bis %1";
inline const std::string NoLanguages = "keine";
// Anki packages. The causes complete PackageUnreadable.
inline const std::string PackageUnreadable =
    "Das Anki-Paket kann nicht gelesen werden: %1. Bitte das Paket neu herunterladen oder in Anki neu exportieren.";
inline const std::string PackageWithoutCollection = "das ZIP-Archiv enthält keine Anki-Sammlung";
inline const std::string ZipNotZip = "kein vollständiges ZIP-Archiv (sein Inhaltsverzeichnis fehlt)";
inline const std::string ZipChecksum = "eine Prüfsumme im ZIP-Archiv stimmt nicht, die Daten sind beschädigt";
inline const std::string ZipMethod = "das ZIP-Archiv ist mit einem Verfahren gepackt, das nicht unterstützt wird";
inline const std::string ZipEncrypted = "das ZIP-Archiv ist verschlüsselt";
inline const std::string ZipBroken = "das ZIP-Archiv ist beschädigt oder unvollständig";
inline const std::string ZipOther = "libzip meldet den Fehler %1";
inline const std::string ZstdBroken = "die zstd-komprimierte Sammlung ist beschädigt (%1)";
inline const std::string CollectionTooLarge =
    "die Sammlung wäre entpackt größer als %1 MB (höchstens 4 GB, die Hälfte des freien Arbeitsspeichers und 64 MB "
    "mehr als das Hundertfache des Pakets)";
inline const std::string CollectionNotSqlite = "die Sammlung ist keine SQLite-Datenbank";
inline const std::string CollectionBroken = "die Sammlung (eine SQLite-Datenbank) ist beschädigt";
inline const std::string CollectionTruncated = "die Sammlung ist unvollständig";
inline const std::string CollectionUnreadable = "die Sammlung ist anders aufgebaut als eine Anki-Sammlung (SQLite: %1)";
inline const std::string CollectionLacksTable = "der Sammlung fehlt die Tabelle „%1“";
inline const std::string CollectionNotATable =
    "„%1“ ist in der Sammlung keine gewöhnliche Tabelle; so eine Sammlung wird aus Sicherheitsgründen nicht gelesen";
inline const std::string NoSuchDeck = "Das Anki-Paket hat keinen Stapel „%1“ (vorhanden: %2).";
inline const std::string NoDecks = "keine";
// %2: what SQLite or libzip reported.
inline const std::string PackageNotMade =
    "%1 kann nicht geschrieben werden: Das Anki-Paket ließ sich nicht bilden (%2).";
// What the summary adds after reading a package.
inline const std::string MediaDropped = "%1 weggelassen: Bilder und Töne bleiben in Anki.";
inline const std::string OneMediaReference = "Medienverweis";
inline const std::string MediaReferences = "Medienverweise";
inline const std::string ClozeSkipped = "%1 übersprungen: Aus einem Lückentext wird kein Vokabelpaar.";
inline const std::string OneClozeNote = "Lückentext-Notiz";
inline const std::string ClozeNotes = "Lückentext-Notizen";
inline const std::string FieldsMissing = "%1 übersprungen: Ihr Notiztyp hat die Felder „%2“ und „%3“ nicht.";
inline const std::string OneNote = "Notiz";
inline const std::string Notes = "Notizen";

// What expat found wrong in a document that is no well-formed XML.
inline const std::string NotXml = "Die Datei ist kein gültiges XML-Dokument (%1).";
inline const std::string XmlUnclosedElement = "nicht geschlossenes Element";
inline const std::string XmlNoElement = "kein Element";
inline const std::string XmlTagMismatch = "schließendes Element passt nicht zum geöffneten";
inline const std::string XmlInvalidToken = "ungültiges Zeichen";
inline const std::string XmlUnclosedToken = "unvollständige Markierung";
inline const std::string XmlPartialCharacter = "unvollständiges Zeichen";
inline const std::string XmlDuplicateAttribute = "doppeltes Attribut";
inline const std::string XmlJunkAfterDocument = "Inhalt nach dem Ende des Dokuments";
inline const std::string XmlUndefinedEntity = "nicht deklarierte Entität";
inline const std::string XmlBadCharacterReference = "ungültiger Zeichenverweis";
inline const std::string XmlUnknownEncoding = "unbekannte Zeichenkodierung";
inline const std::string XmlIncorrectEncoding = "Zeichen passen nicht zur angegebenen Kodierung";
inline const std::string XmlUnclosedCdata = "nicht geschlossener CDATA-Abschnitt";
inline const std::string XmlBadDeclaration = "fehlerhafte XML-Deklaration";
inline const std::string XmlTooManyEntities = "zu viele Entitäten";
inline const std::string XmlSyntax = "Syntaxfehler";

// Failures (exit status 1). %1 is the file; each says why and what to do.
inline const std::string ReadMissing = "%1: Diese Datei gibt es nicht. Bitte Namen und Ordner prüfen.";
inline const std::string ReadNoPermission =
    "%1: Keine Berechtigung, die Datei zu lesen. Bitte die Rechte der Datei prüfen oder eine lesbare Kopie "
    "angeben.";
inline const std::string ReadFolder = "%1 ist ein Ordner, keine Datei. Bitte eine Vokabeldatei darin angeben.";
inline const std::string ReadBroken =
    "%1: Der Datenträger meldet beim Lesen einen Fehler. Bitte den Datenträger prüfen oder eine Kopie der Datei "
    "angeben.";
inline const std::string PathNotAFolder = "%1: Ein Teil des Pfades ist kein Ordner. Bitte den Pfad prüfen.";
inline const std::string LinkNotFollowed =
    "%1: Dieser Verknüpfung wird nicht gefolgt: Sie gehört einem anderen Benutzer in einem Ordner, in den alle "
    "schreiben dürfen, oder Verknüpfungen führen im Kreis. Bitte die Datei selbst angeben.";
// %2: the system's name of the error.
inline const std::string CannotRead = "%1: Die Datei kann nicht gelesen werden (Systemfehler %2).";
// An input that is no text: what it is instead, then NothingRead.
inline const std::string ZipArchive =
    "Die Datei ist ein ZIP-Archiv (etwa ein Anki-Paket), keine Textdatei mit Vokabeln.";
inline const std::string PdfDocument = "Die Datei ist ein PDF-Dokument, keine Textdatei mit Vokabeln.";
inline const std::string Program = "Die Datei ist ein Programm, keine Textdatei mit Vokabeln.";
inline const std::string BinaryData = "Die Datei enthält Binärdaten, keinen Text.";
inline const std::string NothingRead = " Es wurde nichts geschrieben.";
inline const std::string AtPlace = "%1: %2: %3";
inline const std::string Line = "Zeile %1";
inline const std::string Entry = "Eintrag %1";
inline const std::string Note = "Notiz %1";
inline const std::string TooLarge = "%1: Die Datei ist zu groß (höchstens 4 GB).";
inline const std::string OutOfMemory = "Der Arbeitsspeicher reicht nicht, um %1 umzuwandeln.";
inline const std::string NoPairs = "%1: Die Datei enthält keine Vokabelpaare.";
inline const std::string OutputExists = "%1 gibt es schon. Mit --force wird die Datei ersetzt.";
inline const std::string OutputIsInput = "%1 ist die Eingabedatei selbst; sie wird nie überschrieben.";
// %2: the output's folder.
inline const std::string WriteNoFolder =
    "%1 kann nicht geschrieben werden: Den Ordner %2 gibt es nicht. Bitte den Ordner anlegen oder einen anderen "
    "angeben.";
inline const std::string WriteNoPermission =
    "%1 kann nicht geschrieben werden: Keine Berechtigung, im Ordner %2 Dateien anzulegen. Bitte einen anderen "
    "Ordner angeben.";
inline const std::string WriteFolder = "%1 ist ein Ordner. Bitte einen Dateinamen angeben.";
inline const std::string WriteReadOnly =
    "%1 kann nicht geschrieben werden: Der Datenträger ist schreibgeschützt. Bitte einen anderen Ordner angeben.";
inline const std::string WriteUnsupported =
    "%1 kann nicht geschrieben werden: Das Dateisystem dort kann nicht, was dafür nötig ist. Bitte einen Ordner "
    "auf einem anderen Datenträger angeben.";
inline const std::string WriteBroken =
    "%1 kann nicht geschrieben werden: Der Datenträger meldet einen Fehler. Bitte den Datenträger prüfen oder einen "
    "anderen angeben.";
// %2: the system's name of the error.
inline const std::string CannotWrite = "%1 kann nicht geschrieben werden (Systemfehler %2).";
inline const std::string DiskFull =
    "Der Datenträger ist voll: %1 wurde nicht geschrieben. Bitte Platz schaffen oder einen anderen Datenträger "
    "angeben.";
// The import found no folder to write the new vocabulary file into.
inline const std::string NoImportFolder =
    "Die Vokabeldatei kann weder im Ordner %1 noch im Ordner „Dokumente“ angelegt werden: Keine Berechtigung. "
    "Bitte die Datei in einen eigenen Ordner kopieren und dort öffnen.";
inline const std::string Unmappable = "%1: %2 Zeichen passen nicht in eine Vokabeldatei (Windows-1252):";
inline const std::string UnmappablePlace = "  %1: „%2“ (U+%3)";
inline const std::string NothingWritten =
    "Es wurde nichts geschrieben. Mit --replace-unmappable wird stattdessen das nächstliegende Zeichen "
    "geschrieben (der Buchstabe ohne Akzent, sonst „?“).";
inline const std::string FileChangedWhileReading =
    "zelvo-lingotak-convert: Die Eingabedatei wurde während des Lesens verkürzt; es wurde nichts geschrieben.\n";

// Success.
// The summary: the file, then the three counts, each with its noun in the
// singular for one (counted).
inline const std::string Summary = "%1: %2 geschrieben, %3 übersprungen, %4 ersetzt.";
inline const std::string OnePair = "Paar";
inline const std::string Pairs = "Paare";
inline const std::string OneEntry = "Eintrag";
inline const std::string Entries = "Einträge";
inline const std::string Characters = "Zeichen";
inline const std::string TooManyPairs =
    "Warnung: %1 enthält %2 Paare. Der Trainer öffnet die Datei, nimmt aber keine weiteren Paare auf "
    "(höchstens 30000 pro Datei).";

// The import through "Open with".
inline const std::string ReplaceQuestion =
    "%1\n\nSollen diese Zeichen durch die nächstliegenden ersetzt werden (der Buchstabe ohne Akzent, "
    "sonst „?“)?";
inline const std::string TrainerDidNotStart =
    "Die Vokabeln stehen jetzt in %1,\naber der Vokabeltrainer konnte nicht gestartet werden.";

// `pattern` with "%1", "%2", ... replaced by `values` in order.
std::string fill(std::string_view pattern, std::initializer_list<std::string_view> values);

// `count` and its noun: `one` for 1, else `many` ("1 Paar", "2 Paare").
std::string counted(std::int64_t count, std::string_view one, std::string_view many);

}  // namespace zl::convert_text
