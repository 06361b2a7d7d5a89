#include "texts.h"

namespace lexstr {

const char *const kLanguage = "de";

const Entry kCaptions[] = {
    // Main menu: File
    {1001, "&Datei"},
    {1002, "&Neu..."},
    {1003, "Ö&ffnen..."},
    {1004, "&Speichern"},
    {1005, "Speichern &unter..."},
    {1006, "&Zuletzt geöffnet"},
    // Reserved numbers that no window shows; kept so every number answers
    {1007, ""},
    {1008, ""},
    // Main menu: File (quit) and Edit
    {1009, "&Beenden"},
    {1010, "&Bearbeiten"},
    {1011, "&Rückgängig"},
    {1012, "&Ausschneiden"},
    {1013, "&Kopieren"},
    {1014, "&Einfügen"},
    {1015, "&Löschen"},
    {1016, "Alles &markieren"},
    // Reserved
    {1017, ""},
    // Main menu: Edit
    {1018, "&Suchen und Ersetzen..."},
    // Reserved
    {1019, ""},
    {1020, ""},
    // Main menu: Extras, Window and Help
    {1021, "E&xtras"},
    {1022, "&Fenster"},
    {1023, "Ü&berlappend"},
    {1024, "&Nebeneinander"},
    {1025, "&Untereinander"},
    {1026, "&Symbole anordnen"},
    {1027, "&Hilfe"},
    {1028, "&Hilfe anzeigen"},
    {1029, "&Info..."},
    {1030, "&Bildbrowser"},
    {1031, "&Farbcodes..."},
    // Reserved
    {1032, ""},
    // Main menu: Extras
    {1033, "&Sonderzeichen..."},
    // Reserved
    {1034, ""},
    // Main menu: Extras
    {1035, "&Optionen..."},
    // Document window: page titles and page button tooltips
    {1036, "Quelltext"},
    {1037, "Vorschau"},
    {1038, "Info"},
    // New document: window caption, proposed file name and title of both choosers
    {1039, "Neues Dokument"},
    // New-document wizard and template chooser
    {1040, "&Titel:"},
    {1041, "&Hintergrundbild:"},
    {1042, "Farben"},
    {1043, "Te&xt:"},
    {1044, "Hinter&grund:"},
    {1045, "Lin&ks:"},
    {1046, "&Aktiver Link:"},
    {1047, "&Besuchter Link:"},
    {1048, "&Leeres Dokument"},
    {1049, "&Erstellen"},
    {1050, "&Vorlage:"},
    // Status bar: caret position, followed by " line/count"
    {1051, "Zeile"},
    // Options dialog
    {1052, "Optionen"},
    {1053, "Arbeitsbereich"},
    {1054, "Browser"},
    {1055, "Farben"},
    {1056, "Schriftarten"},
    {1057, "&Hintergrund..."},
    {1058, "&Tags..."},
    {1059, "&Attribute..."},
    {1060, "Te&xt..."},
    {1061, "&Kommentare..."},
    {1062, "Editor"},
    // Also the print preview's toolbar caption, hence no colon
    {1063, "Drucker"},
    {1064, "Titel:"},
    {1065, "Programm:"},
    {1066, "Ü&bernehmen"},
    {1067, "Abbrechen"},
    {1068, "OK"},
    // Main menu: File, printing
    {1069, "&Drucken"},
    {1070, "Druck&vorschau"},
    // Colour-code picker
    {1071, "Farbcodes"},
    {1072, "R:"},
    {1073, "G:"},
    {1074, "B:"},
    {1075, "In &Zwischenablage"},
    {1076, "&Farbauswahl..."},
    {1077, "&Einfügen"},
    {1078, "&Schließen"},
    // Options dialog: side of the tag list
    {1079, "Position der Tag-Liste"},
    {1080, "&Links"},
    {1081, "&Rechts"},
    // Special-character table
    {1082, "Sonderzeichen"},
    {1083, "&Kopieren"},
    {1084, "&Einfügen"},
    // Main menu: File
    {1085, "Neu &laden"},
    // Conversion pop-up menu: banner and items
    {1086, "Konvertieren"},
    {1087, "&Umlaute in HTML-Code umwandeln"},
    {1088, "&Code in Umlaute umwandeln"},
    {1089, "&Sonderzeichen in HTML-Code umwandeln"},
    {1090, "C&ode in Sonderzeichen umwandeln"},
    {1091, "HTML-&Tags entfernen"},
    // Plug-in pop-up menu banner
    {1092, "Assistenten"},
    // Document window: links page
    {1093, "Links"},
    // Options dialog: background page
    {1094, "Hintergrundbild"},
    // Search window
    {1095, "Suchen und Ersetzen"},
    {1096, "Suchen:"},
    {1097, "Ersetzen:"},
    {1098, "&Weitersuchen"},
    {1099, "&Ersetzen"},
    {1100, "&Alle ersetzen"},
    {1101, "&Schließen"},
    {1102, "&Groß-/Kleinschreibung"},
    {1103, "&Nur ganze Wörter"},
    {1104, "&Rückwärts"},
    {1105, "Ab &Textanfang"},
    // Image browser: window title and context menu
    {1106, "Bildbrowser"},
    {1107, "&Vorschau"},
    {1108, "Bild-&Tag kopieren"},
    {1109, "&Pfad kopieren"},
    {1110, "Ordner &einlesen"},
    {1111, "&Miniaturansicht"},
    {1112, "&Detailansicht"},
    {1113, "&Schließen"},
    // Picture preview title, followed by the picture's path
    {1114, "Bildvorschau"},
    // Scan progress window
    {1115, "Ordner wird durchsucht..."},
    {1116, "&Stopp"},
    // Main menu: Window, and the dockable toolbar
    {1117, "&Fensterleiste"},
    {1118, "Symbolleiste"},
    // Document window: info page
    {1119, "Pfad:"},
    {1120, "Größe:"},
    {1121, "Kurzname:"},
    {1122, "Geändert:"},
    {1123, "Attribute:"},
    {1124, "Schreibgeschützt"},
    {1125, "Versteckt"},
    {1126, "System"},
    {1127, "Archiv"},
    // Document window: info page, the text format of the file
    {1128, "Kodierung:"},
    {1129, "Zeilenumbrüche:"},
    // Titles of the open and save dialogs
    {1130, "Datei öffnen"},
    {1131, "Datei speichern"},
    // Names of encodings and line breaks on the info page
    {1132, "UTF-8 mit BOM"},
    {1133, "CR LF (Windows)"},
    {1134, "LF (Unix)"},
    {1135, "CR (klassisches macOS)"},
    // Splash and info box: the line under the program's name
    {1136, "HTML-Editor für Handarbeit"},
    // Special-character table: a line of entities.mvt in a message, the word
    // between the two entities of a button's hint, the close button's hint
    {1150, "Zeile"},
    {1151, "oder"},
    {1152, "Schließen"},
    // New-document wizard: title and filter of the background-picture dialog
    {1160, "Hintergrundbild wählen"},
    {1161, "Bilder (*.gif,*.jpg,*.jpeg,*.png)|*.gif;*.jpg;*.jpeg;*.png"},
    // Options: the font size, the background picture's size and when it serves
    {1180, "Breite:"},
    {1181, "Höhe:"},
    {1182, "Größe:"},
    {1183, "Als Hintergrund dienen Bilder mit 1 bis 100 Pixeln Breite und Höhe."},
    // Options: a font list without a chosen font
    {1184, "(Voreinstellung)"},
    // Browser drop-down: the desktop's default browser
    {1200, "&Standardbrowser"},
    // Print preview toolbar
    {1240, "Ganze Seite"},
    {1241, "Seitenbreite"},
    {1242, "100 %"},
    {1243, "Drucken"},
    {1244, "Schließen"},
    {0, nullptr},
};

// The part before the first "|" is the tooltip, the rest goes to the status bar.
const Entry kHints[] = {
    // Main toolbar
    {2001, "Neu|Neues Dokument mit dem Assistenten anlegen"},
    {2002, "Öffnen|Vorhandene Datei öffnen"},
    {2003, "Speichern|Aktuelles Dokument speichern"},
    {2004, "Speichern unter|Aktuelles Dokument unter einem neuen Namen speichern"},
    {2005, "Optionen|Farben, Schriftarten, Browser und Hintergrund einstellen"},
    {2006, "Hilfe|Hilfe zum Programm anzeigen"},
    {2007, "Beenden|Programm beenden"},
    {2008, "Drucken|Aktuelles Dokument sofort auf dem aktuellen Drucker ausgeben"},
    {2009, "Im Browser anzeigen|Gespeicherte Datei in einem Webbrowser öffnen"},
    {2010, "Bildbrowser|Bilder eines Ordners ansehen und Bild-Tags kopieren"},
    {2011, "Farbcodes|Eine Farbe mischen und ihren HTML-Farbcode einfügen"},
    // Reserved
    {2012, ""},
    // Main toolbar
    {2013, "Sonderzeichen|Sonderzeichen als HTML-Entity einfügen"},
    {2014, "Konvertieren|Umlaute und Sonderzeichen umwandeln oder HTML-Tags entfernen"},
    // Reserved
    {2015, ""},
    {2016, ""},
    // Colour palette below the tag list
    {2017, "Farbnamen|Auf eine Farbe klicken, um ihren Namen in das Dokument einzufügen"},
    // Reserved
    {2018, ""},
    {2019, ""},
    {2020, ""},
    {2021, ""},
    {2022, ""},
    {2023, ""},
    {2024, ""},
    {2025, ""},
    // Main toolbar
    {2026, "Ordner öffnen|Ordner des Dokuments im Dateimanager öffnen"},
    // Colour-code picker
    {2027, "Heller|Farbe aufhellen: linke Maustaste um 1, rechte Maustaste um 10"},
    {2028, "Dunkler|Farbe abdunkeln: linke Maustaste um 1, rechte Maustaste um 10"},
    // Main toolbar
    {2029, "Tag-Liste|Tag-Liste ein- oder ausblenden"},
    {2030, "Assistenten|Installierte Assistenten und Erweiterungen aufrufen"},
    // Image browser toolbar
    {2031, "Vorschau|Ausgewähltes Bild in Originalgröße anzeigen"},
    {2032, "Bild-Tag kopieren|<img>-Tag mit Breite und Höhe des Bildes in die Zwischenablage kopieren"},
    {2033, "Pfad kopieren|Pfad des Bildes relativ zum Dokument in die Zwischenablage kopieren"},
    {2034, "Ordner einlesen|Gewählten Ordner nach Bildern (GIF, JPEG, PNG, WebP) durchsuchen"},
    {2035, "Miniaturansicht|Bilder als Miniaturen anzeigen"},
    {2036, "Detailansicht|Bilder als Liste mit Breite, Höhe und Dateigröße anzeigen"},
    {2037, "Schließen|Bildbrowser schließen"},
    // Picture preview: background colour controls
    {2038, "Hintergrundfarbe|Hintergrundfarbe um das Bild wählen, um transparente Bereiche zu beurteilen"},
    {0, nullptr},
};

const Entry kMessages[] = {
    // Template chooser: template file missing
    {1002, "Die Vorlagendatei template.mvt wurde nicht gefunden. Das neue Dokument bleibt leer."},
    // Tag list: tag file missing
    {3001, "Die Datei tagcodes.mvt wurde nicht gefunden. Die Tag-Liste bleibt leer."},
    // Tag list: tag file there but unreadable; the path comes before, the reason after
    {3190, "Die Datei tagcodes.mvt konnte nicht gelesen werden. Die Tag-Liste bleibt leer."},
    // Template chooser: template file there but unreadable; the path comes before, the reason after
    {3210, "Die Vorlagendatei template.mvt konnte nicht gelesen werden. Das neue Dokument bleibt leer."},
    // Template chooser: the template file holds NUL bytes; follows 3210
    {3460, "Die Datei enthält Nullbytes und ist keine Textdatei (etwa ein Bild oder ein Programm)."},
    // Reserved
    {3002, ""},
    // Quit and close questions; 3004 and 3005 enclose the document's caption
    {3003, "Es ist kein Dokument geöffnet. Möchten Sie das Programm beenden?"},
    {3004, "Möchten Sie die Änderungen an „"},
    {3005, "“ speichern?"},
    // Reload question
    {3006, "Das Dokument aus seiner Datei neu laden? Alle nicht gespeicherten Änderungen gehen dabei verloren."},
    // Conversions and tag stripping
    {3007, "Alle HTML-Entities aus der Tabelle entities.mvt in Sonderzeichen umwandeln? Ist Text markiert, wird nur die Markierung "
           "umgewandelt, sonst der ganze Text."},
    {3008, "Alle Sonderzeichen aus der Tabelle entities.mvt in HTML-Entities umwandeln? Ist Text markiert, wird nur die Markierung "
           "umgewandelt, sonst der ganze Text."},
    {3009, "Alle HTML-Tags aus dem gesamten Dokument entfernen? Nur der Text zwischen den Tags bleibt erhalten."},
    // Plug-in started without a document
    {3010, "Dieser Assistent fügt Text in ein Dokument ein. Bitte öffnen oder erstellen Sie zuerst ein Dokument."},
    // Help
    {3011, "Es wurde keine Hilfe gefunden. Die Hilfedateien fehlen im Programmordner."},
    // General error box: first and last line around the error text
    {3012, "Es ist ein Fehler aufgetreten:"},
    // Error box: the cause when memory ran out, or when the program itself failed
    {3337, "Der Arbeitsspeicher reicht nicht aus. Der Befehl wurde abgebrochen."},
    {3338, "Interner Programmfehler. Der Befehl wurde abgebrochen."},
    {3013, "Das Programm läuft weiter. Speichern Sie zur Sicherheit Ihre Dokumente."},
    // Search window: follows the quoted search text
    {3014, "wurde nicht gefunden."},
    // Saving: characters that Windows-1252 cannot hold; nothing is appended to this text
    {3015, "Das Dokument enthält Zeichen, die in Windows-1252 nicht gespeichert werden können.\n\n"
           "Ja: Datei als UTF-8 speichern.\n"
           "Nein: Diese Zeichen als Zeichenreferenzen wie &#937; schreiben.\n"
           "Abbrechen: Nicht speichern."},
    // Saving a style sheet file (.css) with characters that Windows-1252 cannot hold; as 3015
    {3520, "Das Stylesheet enthält Zeichen, die in Windows-1252 nicht gespeichert werden können.\n\n"
           "Ja: Datei als UTF-8 speichern.\n"
           "Nein: Diese Zeichen als CSS-Escapes wie \\3a9 schreiben.\n"
           "Abbrechen: Nicht speichern."},
    // Saving a script file (.js, .mjs, .json) with characters that Windows-1252 cannot hold; as 3015
    {3521, "Das Skript enthält Zeichen, die in Windows-1252 nicht gespeichert werden können.\n\n"
           "Ja: Datei als UTF-8 speichern.\n"
           "Nein: Diese Zeichen als JavaScript-Escapes wie \\u03a9 schreiben.\n"
           "Abbrechen: Nicht speichern."},
    // Saving: file changed on disk; the file name and a line break come first
    {3016, "Diese Datei wurde seit dem Laden oder letzten Speichern von einem anderen Programm geändert. "
           "Möchten Sie sie trotzdem überschreiben?"},
    // Activating a document whose file changed on disk while it has no unsaved edits
    {3017, "Die Datei dieses Dokuments wurde von einem anderen Programm geändert. "
           "Möchten Sie sie neu laden? Mit „Nein“ bleibt der angezeigte Text erhalten."},
    // Saving failed; the file name comes first, a line break and the system's reason follow
    {3018, "Die Datei konnte nicht gespeichert werden."},
    // Opening or reloading failed; the file name comes first, a line break and the system's reason follow
    {3019, "Die Datei konnte nicht geöffnet werden."},
    // Saving under a name the file type changed; the new file name and a line break come first
    {3020, "Diese Datei gibt es schon. Möchten Sie sie ersetzen?"},
    // Reasons why a file could not be read or written; they follow 3018 or 3019
    {3021, "Auf dem Datenträger ist nicht genug freier Speicherplatz."},
    {3022, "Zugriff verweigert: Sie haben keine Berechtigung für diese Datei oder ihren Ordner."},
    {3023, "Das Dateisystem ist schreibgeschützt."},
    {3024, "Der Ordner der Datei existiert nicht."},
    {3025, "Die Datei existiert nicht."},
    {3026, "Die Datei ist von einem anderen Programm gesperrt oder wird gerade verwendet."},
    {3027, "Der Name bezeichnet einen Ordner oder ein Gerät, keine Datei."},
    {3028, "Die Datei ist zu groß."},
    {3029, "Der Datenträger meldet einen Lese- oder Schreibfehler."},
    {3030, "Der Dateiname ist zu lang."},
    // Any other reason; the system's error number follows
    {3031, "Das Betriebssystem meldet den Fehler Nummer "},
    // Follows 3028 when a document is opened; a blank, the file's size and " MB." follow
    {3350, "Geöffnet werden Dateien bis 64 MB. Größe dieser Datei:"},
    // Opening a file that holds NUL bytes; follows 3019
    {3351, "Die Datei enthält Nullbytes und ist keine Textdatei (etwa ein Bild oder ein Programm). "
           "Sie wird nicht geöffnet, weil Speichern ihre Bytes verändern würde."},
    // Opening a UTF-16 file whose byte count is odd; follows 3019
    {3301, "Die Datei ist in UTF-16 gespeichert, endet aber mitten in einem Zeichen (ihr fehlt ein Byte) und ist wohl "
           "abgeschnitten. Sie wird nicht geöffnet, weil Speichern ihre Bytes verändern würde."},
    // Shown on the Preview page instead of a page too large to lay out
    {3352, "Das Dokument ist zu groß für die Vorschau: Sie zeigt Seiten bis 4 MB. "
           "Speichern Sie die Seite und öffnen Sie sie im Browser."},
    // Preview: a link to a program or script; a line break and the file follow
    {3366, "Die Vorschau startet keine Programme. Dieser Verweis führt auf ein Programm oder Skript:"},
    // Preview: a link to a local file that does not exist; a line break and the file follow
    {3368, "Der Verweis führt auf eine Datei, die es nicht gibt:"},
    // Preview: a linked page that cannot be read; a line break, the file, a line break and the reason follow
    {3300, "Die verlinkte Seite kann nicht gelesen werden:"},
    // Preview: a relative link in a document that was never saved
    {3369, "Das Dokument ist noch nicht gespeichert. Relative Verweise gelten erst, wenn es einen Ordner hat."},
    // Shown on the Preview page instead of a page whose tables nest too deep to lay out
    {3560, "Die Seite schachtelt Tabellen tiefer als 12 Ebenen. So eine Seite legt die Vorschau nicht aus, weil das "
           "Fenster dabei minutenlang stehen bliebe. Oft fehlt ein </table>."},
    // Preview of a page made of frames; a list of the frames' pages follows
    {3370, "Diese Seite besteht aus Frames, die die Vorschau nicht nebeneinander zeigt. Ein Klick öffnet die Seite eines Frames:"},
    // Settings file; a line break and the file or folder follow, for 3034 and 3035 then the reason
    {3032, "Der Ordner für die Einstellungen kann nicht angelegt werden:"},
    {3033, "Die Einstellungsdatei ist von einem anderen Programm gesperrt:"},
    {3034, "Die Einstellungsdatei kann nicht gelesen werden:"},
    {3035, "Die Einstellungsdatei kann nicht geschrieben werden:"},
    // Settings values; a blank and the value's name follow
    {3036, "Diesen Einstellungswert gibt es nicht:"},
    {3037, "Dieser Einstellungswert hat den falschen Typ:"},
    {3038, "Dieser Einstellungswert kann nicht gespeichert werden:"},
    // Follows 3037 when the program goes on with the value's default
    {3039, "Das Programm verwendet stattdessen die Voreinstellung."},
    // Special-character table: Copy or Insert before a character was chosen
    {3050, "Kein Sonderzeichen ausgewählt!"},
    // entities.mvt: a line whose first field is no character code; the line follows
    {3051, "In der Tabelle entities.mvt beginnt diese Zeile nicht mit einem gültigen Zeichencode (einer ganzen Zahl von 0 "
           "bis 1114111):"},
    // Conversions: the table's entities would make the text too long
    {3052, "Die Umwandlung würde den Text zu lang machen: Die Tabelle entities.mvt enthält zu lange Einträge. Der Text bleibt "
           "unverändert."},
    // External tools: a start the desktop refused; a line break and the program, file or folder follow
    {3080, "Das Programm konnte nicht gestartet werden. Prüfen Sie den Pfad des Browsers in den Optionen:"},
    {3081, "Die Arbeitsumgebung kennt kein Programm, das diese Datei oder Adresse öffnet:"},
    {3082, "Der Dateimanager konnte den Ordner nicht öffnen:"},
    // Configured browser: its file is no program; a line break and the file follow
    {3367, "Der Browser kann nicht gestartet werden: Diese Datei ist kein ausführbares Programm. Prüfen Sie den Pfad des "
           "Browsers in den Optionen:"},
    // File manager: the folder to show no longer exists; its path follows
    {3211, "Der Ordner existiert nicht mehr:"},
    // Command channel: a second start whose files the running editor did not take; the reason follows
    {3110, "Quirtle läuft bereits, hat die Dateien der Befehlszeile aber nicht angenommen:"},
    // Reasons why a command did not reach the running editor; 3111 and 3112 are followed by the name
    {3111, "Kein laufendes Programm bietet diesen Befehlsdienst an:"},
    {3112, "Das laufende Programm kennt dieses Befehlsthema nicht:"},
    {3113, "Der Befehl ist zu lang: Erlaubt ist höchstens 1 MiB."},
    {3114, "Das laufende Programm hat nicht rechtzeitig geantwortet."},
    {3115, "Das laufende Programm hat den Befehl als unlesbar abgelehnt."},
    {3116, "Die Verbindung zum laufenden Programm ist ohne Antwort abgebrochen."},
    // The running editor answered Busy: too many clients at once, or it is ending
    {3530, "Das laufende Programm nimmt gerade keine Befehle an: Es ist überlastet oder wird beendet."},
    // A line break and the folder follow
    {3117, "Der Ordner für die Verbindung zum laufenden Programm ist nicht sicher oder lässt sich nicht anlegen:"},
    // The command-line client's help
    {3118, "Aufruf: quirtle-dde [--service NAME] [--topic THEMA] [ZEILE ...]\n"
           "Sendet die Zeilen, ohne ZEILE die Standardeingabe, als einen Befehl an das laufende Quirtle, "
           "etwa: quirtle-dde openfile seite.htm"},
    // Followed by the option
    {3119, "Unbekannte Option:"},
    {3383, "Dieser Option fehlt ihr Wert:"},
    // The command line's --help; like every text here at most 255 characters
    {3140, "Aufruf: quirtle [OPTION] [DATEI...]\n"
           "HTML-Editor für Handarbeit. Läuft er schon, öffnet er die Dateien dort.\n"
           "\n"
           "  -h, --help   zeigt diese Hilfe und endet\n"
           "  --version    zeigt die Version und endet\n"
           "  --           alles danach sind Dateinamen\n"},
    // Start after a run that did not end cleanly: the documents' names, one a
    // line, stand between 3141 and 3142
    {3141, "Quirtle wurde beim letzten Mal nicht ordnungsgemäß beendet. Diese Dokumente hatten ungespeicherte "
           "Änderungen:"},
    {3142, "Sollen sie wiederhergestellt werden? Bei „Nein“ werden die geretteten Texte verworfen."},
    // The same question for a single document
    {3421, "Quirtle wurde beim letzten Mal nicht ordnungsgemäß beendet. Dieses Dokument hatte ungespeicherte Änderungen:"},
    {3422, "Soll es wiederhergestellt werden? Bei „Nein“ wird der gerettete Text verworfen, bei „Abbrechen“ bleibt er für den "
           "nächsten Start aufbewahrt."},
    // Follows 3142: the question may be put off
    {3333, "Bei „Abbrechen“ bleiben sie für den nächsten Start aufbewahrt."},
    // Recovery files that could not be read at start, 3336 for one, 3419 for
    // several; each path and reason follow
    {3336, "Diese Wiederherstellungsdatei konnte nicht gelesen werden. Sie bleibt erhalten und wird beim nächsten Start "
           "wieder angeboten:"},
    {3419, "Diese Wiederherstellungsdateien konnten nicht gelesen werden. Sie bleiben erhalten und werden beim nächsten "
           "Start wieder angeboten:"},
    // Recovery is off for this run; the folder and the reason follow
    {3334, "Ungespeicherte Änderungen werden in dieser Sitzung nicht für den Fall eines Absturzes aufbewahrt, weil der Ordner "
           "für die Wiederherstellungsdateien nicht angelegt werden kann:"},
    // A recovery file could not be written; its path and the reason follow
    {3335, "Eine Wiederherstellungsdatei konnte nicht geschrieben werden. Nach einem Absturz fehlten die neuesten "
           "ungespeicherten Änderungen. Speichern Sie Ihre Arbeit:"},
    // Stands for a document that was never saved, before its title
    {3143, "(neues Dokument)"},
    // A recovery file that cannot be read; its path and 3145-3148 follow
    {3144, "Diese Wiederherstellungsdatei ist beschädigt und wurde beiseitegelegt:"},
    {3420, "Diese Wiederherstellungsdateien sind beschädigt und wurden beiseitegelegt:"},
    {3145, "Die Datei beginnt nicht mit dem Kopf einer Wiederherstellungsdatei."},
    {3146, "Der Kopf der Datei ist beschädigt."},
    {3147, "Der Text ist unvollständig."},
    {3148, "Der Text ist kein gültiges UTF-8."},
    // A plug-in chosen from the menu did not load; its path and the reason follow
    {3380, "Der Assistent konnte nicht geladen werden:"},
    {3381, "Die Datei ist nicht mehr vorhanden."},
    {3382, "Das ist keine gewöhnliche Datei, sondern etwa ein Ordner oder eine benannte Pipe."},
    // Why a plug-in's library did not load; 3416-3418 are followed by the
    // library, the function or the version that is missing
    {3415, "Die Datei ist keine Bibliothek, die dieses System laden kann (etwa beschädigt oder für einen anderen Prozessor "
           "gebaut)."},
    {3416, "Eine Bibliothek, die der Assistent braucht, ist nicht installiert:"},
    {3417, "Der Assistent braucht eine Funktion, die keine geladene Bibliothek bietet:"},
    {3418, "Der Assistent braucht eine neuere Fassung einer Systembibliothek:"},
    // A text plug-in finished after its document had been closed
    {3430, "Das Dokument wurde geschlossen, während der Assistent lief. Sein Text wurde nicht eingefügt."},
    // A plug-in failed without saying why; its file name comes first
    {3120, "Der Assistent hat einen Fehler ohne Beschreibung gemeldet."},
    // Printing: the printer or the output file could not be opened
    {3121, "Der Druck konnte nicht beginnen: Der Drucker ist nicht bereit oder die Ausgabedatei kann nicht geschrieben werden."},
    // Printing into a file failed while writing it; the file's path comes first, the reason follows
    {3220, "Die Druckdatei konnte nicht geschrieben werden."},
    // Printing: the chosen page range holds no page; the document's page count follows
    {3221, "Es wurde nichts gedruckt: Im gewählten Seitenbereich liegt keine Seite. Seiten im Dokument:"},
    // A second start: files whose names the running editor cannot be sent; one a line follows
    {3122, "Quirtle läuft bereits. Diese Dateien kann es nicht übernehmen, weil ihr Name einen Zeilenumbruch enthält:"},
    // Image browser, after a scan: pictures left out of the list because their names are no UTF-8; one a line follows
    {3385, "Diese Bilder fehlen in der Liste, weil ihr Name kein UTF-8 ist (etwa ein Umlaut aus einem alten Archiv). Benennen Sie sie "
           "in UTF-8 um:"},
    // Command line: files whose names are no UTF-8, shown read as Windows-1252; one a line follows
    {3384, "Diese Dateien können nicht geöffnet werden, weil ihr Name kein UTF-8 ist (etwa ein Umlaut aus einem alten Archiv). Benennen "
           "Sie sie in UTF-8 um:"},
    // quirtle-dde: its standard input could not be read (a folder, a broken device)
    {3160, "Die Befehlszeilen konnten nicht von der Standardeingabe gelesen werden."},
    // Image browser: captions of the report view's width, height and size columns
    {3320, "Breite"},
    {3321, "Höhe"},
    {3322, "Größe"},
    // Open and save dialogs without fileext.mvt: names and patterns of the file
    // types, alternating and separated by "|"
    {3339, "HTML-Dokumente|*.htm;*.html|Stylesheets (CSS)|*.css|ASP-Seiten|*.asp"},
    // Saving under the file of another open document window; the path and a line break come first
    {3340, "Diese Datei ist bereits in einem anderen Fenster geöffnet. Wählen Sie einen anderen Namen oder schließen Sie zuerst das "
           "andere Fenster."},
    // Below a list of names in a message box that holds only the first of them; their number follows
    {3410, "… und weitere, hier nicht aufgeführt:"},
    {0, nullptr},
};

} // namespace lexstr
