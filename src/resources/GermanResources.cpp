// The program's own resources: German.

#include "GermanResources.h"

#include "AboutBoxLayout.h"
#include "DialogTextsBuilder.h"
#include "MainDialogLayout.h"
#include "ProgramIcons.h"
#include "ResourceIds.h"
#include "StringTableBuilder.h"

#include <iterator>

namespace tensiq::res {

namespace {

constexpr StringEntry kStrings[] = {
    {101, "Inf&o über Tensiq..."},
    {102, "Synchronisation auf Datenfluß nicht möglich!"},
    {103, "Gesamt"},
    {104, "Letzte Messung speichern"},
    {105, "Ansicht wechseln"},
    {106, "Nächstes Seil einstellen"},
    {107, "Messung starten/stoppen"},
    {108, "Programm beenden"},
    {109, "Starten den Seilspannungs-Assistenten zur komfortablen Einstellung der Seile"},
    {110, "Parameter schreiben"},
    {111, "Parameter lesen"},
    {112, "Verbindung zum Tensiq nicht vorhanden!"},
    {113, "Fehler"},
    {114, "Auslesen der Parameter nicht möglich!"},
    {115, "Die Parameter wurden noch nicht ausgelesen!"},
    {116, "Schreiben der Parameter nicht möglich!"},
    {117, "Hinweis"},
    {118, "Die Parameter wurden erfolgreich geschrieben"},
    {119, "Start"},
    {120, "Stopp"},
    {121, "Achten Sie nun darauf, daß während der Seilspannungseinstellung\nkeine "
          "Gesamtgewichts-Veränderungen stattfinden!"},
    {122, "Seilspannungs-Assistent beenden"},
    {123, "Seilspannungs-Assistent starten"},
    {124, "Textdatei"},
    {125, "Alle Dateien"},
    {126, "Speichern unter"},
    {127, "„tensiq-cli doctor“ in einem Terminal nennt die üblichen Ursachen und ihre Abhilfe."},
    {150, "Diese Messung wird nicht aufgezeichnet und kann nicht gespeichert werden:\n%1"},
    {151, "Die letzte Messung wurde nicht aufgezeichnet, sie kann nicht gespeichert werden."},
    {152, "Die Aufzeichnung der Messung kann nicht gelesen werden:\n%1\n(%2)"},
    {160, "Der Seilspannungs-Assistent braucht mindestens zwei Seile.\nBitte prüfen Sie die "
          "Seilanzahl."},
    {161, "Es gibt noch keine Messung, die gespeichert werden könnte."},
    {162, "Die Datei kann dort nicht geschrieben werden:\n%1"},
    {163, "Der Datenträger ist voll, die Messung wurde nicht gespeichert:\n%1"},
    {164, "Die Messung konnte nicht gespeichert werden:\n%1\n(%2)"},
    {166, "%1 ist bereits vorhanden.\nMöchten Sie die Datei ersetzen?"},
    {180, "Die Aufzeichnung der Messung kann nicht angelegt werden:\n%1\n(%2)"},
    {181, "Die Aufzeichnung der Messung konnte nicht geschrieben werden:\n%1\n(%2)"},
    {182, "Die Aufzeichnung der Messung konnte nicht abgeschlossen werden:\n%1\n(%2)"},
    {183, "Sie enthält die ersten %1 Zeilen der Messung."},
    {184, "%1 Zeilen der Messung wurden zuvor ausgegeben."},
    {185, "Ihre letzte Zeile ist möglicherweise unvollständig."},
    {186, "Der Datenträger ist voll"},
    {187, "Die Datei hat die größte erlaubte Größe erreicht"},
    {188, "Keine Berechtigung zum Schreiben"},
    {189, "Der Ordner ist nicht vorhanden"},
    {190, "Seillast-Verlauf"},
    {200, "Seilspannungsprotokoll..."},
    {201, "Seilspannungsprotokoll"},
    {202, "Protokoll-Nr."},
    {203, "Datum"},
    {204, "Anlage"},
    {205, "Aufzug-Nr."},
    {206, "Techniker"},
    {207, "Bemerkung"},
    {208, "Gerät"},
    {209, "Anschluss"},
    {210, "Firmware"},
    {211, "Programm"},
    {212, "Messung von %1 bis %2"},
    {213, "Seil"},
    {214, "Vorgefunden"},
    {215, "Abw. %"},
    {216, "Sollwert"},
    {217, "Hinterlassen"},
    {218, "Zustand"},
    {219, "Ergebnis"},
    {220, "BESTANDEN"},
    {221, "NICHT BESTANDEN"},
    {222, "NICHT BEWERTET"},
    {223, "Regel: bestanden, wenn die Spannweite der hinterlassenen Seillasten (größte minus "
          "kleinste) die erlaubte Seildifferenz des Geräts von %1 nicht überschreitet."},
    {224, "Regel: bestanden, wenn die Spannweite der hinterlassenen Seillasten (größte minus "
          "kleinste) die Schwelle des Seildifferenz-Relais des Geräts von %1 nicht überschreitet."},
    {225, "Seile außerhalb von Mittelwert ± halber erlaubter Differenz: %1"},
    {226,
     "Es wurde kein Parameterblock gelesen; ohne den Grenzwert des Geräts wird nicht bewertet."},
    {227, "Die erlaubte Seildifferenz des Geräts ist 0 oder negativ; es wird nicht bewertet."},
    {228, "Nach dem Einstellen liegt keine Last an; es wird nicht bewertet."},
    {229, "%1: Mittelwert %2, Minimum %3, Maximum %4, Spannweite %5 (%6 %)"},
    {230, "Messdateien (eingebettet) und ihre SHA-256"},
    {231, "Unterschrift Techniker"},
    {232, "Unterschrift Kunde"},
    {233, "Mittelwert"},
    {234, "erlaubtes Band"},
    {235, "HOCH"},
    {236, "NIEDRIG"},
    {237, "Das Protokoll konnte nicht geschrieben werden:\n%1\n(%2)"},
    {238, "Lasten: Mittel je Seil über die letzten 2 s jedes Laufs (%1 und %2 Bilder)."},
    {239, "Ort, Datum"},
    {240, "Messung ö&ffnen..."},
    {241, "%1 – %2"},
    {242, "Seil %1"},
    {243, "&Alles zeigen"},
    {244, "Bereich als &CSV exportieren..."},
    {245, "Diagramm als &PNG exportieren..."},
    {246, "Laden a&bbrechen"},
    {247, "Reihe"},
    {248, "Am Cursor"},
    {249, "Mittelwert"},
    {250, "Minimum"},
    {251, "Maximum"},
    {252, "Std.-Abw."},
    {253, "Spreizung der Mittelwerte: %1 %2 (%3 %)"},
    {254, "Cursor: Bild %1"},
    {255, "Bereich: Bild %1 bis %2 (%3 Bilder)"},
    {256, "Die Datei kann nicht geöffnet werden:\n%1\n(%2)"},
    {257, "Die Datei ist keine Messung:\n%1\n(%2)"},
    {258, "Die Messung %1 ist in Zeile %2 fehlerhaft: %3.\nGezeigt wird sie bis zur Zeile davor."},
    {259, "Messung öffnen"},
    {260, "CSV-Datei"},
    {261, "PNG-Bild"},
    {262, "Die Datei konnte nicht geschrieben werden:\n%1"},
    {263, "Diagramm der Seillasten"},
    {264, "Werte am Cursor und im Bereich"},
    {265, "Wird geladen..."},
    {266, "die Datei ist leer"},
    {267, "binäre Daten, keine Textzeilen"},
    {268, "die erste Zeile ist kein Datum"},
    {269, "Last %1 ist keine ganze Zahl mit „;“ dahinter"},
    {270, "die Zeile enthält %1 statt 12 Lasten"},
    {271, "nach der zwölften Last folgt weiterer Text"},
    {272, "die Zeile ist leer"},
    {273, "die Datei endet mitten in der Zeile"},
    {274, "Reihen"},
    {275, "&Bereich = alles Sichtbare"},
    {61713, "Geben Sie bitte eine Zahl ein."},
    {61714, "Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein."},
    {61715, "Geben Sie bitte eine Zahl zwischen %1 und %2 ein."},
    {61719, "Geben Sie bitte eine positive ganze Zahl ein."},
};
constexpr auto kStringTable = MakeStringTable<CountBlocks(kStrings)>(kStrings);

constexpr const char* kAboutTexts[] = {"", "Tensiq Version 1.4", "Seillast-Messsystem für Aufzüge",
                                       "OK"};
constexpr auto kAboutControls = WithTexts(kAboutBoxLayout, kAboutTexts);

constexpr const char* kMainTexts[] = {
    "Parameter\nauslesen",              // 1002
    "Parameter\nschreiben",             // 1001
    "",                                 // 1005
    "",                                 // 1008
    "",                                 // 1010
    "",                                 // 1012
    "Öffner",                           // 1019
    "Schliesser",                       // 1020
    "Öffner",                           // 1021
    "Schliesser",                       // 1022
    "Öffner",                           // 1023
    "Schliesser",                       // 1024
    "Öffner",                           // 1025
    "Schliesser",                       // 1026
    "",                                 // 1003
    "",                                 // 1014
    "",                                 // 1016
    "",                                 // 1018
    "",                                 // 1043
    "Start",                            // 1040
    "Seilspannungs-Assistent starten",  // 1041
    "Nächstes Seil",                    // 1044
    "Beenden",                          // 1
    "Nulllast (Tara)",                  // 1004
    "kg",                               // 1058
    "Leerlast Relais",                  // 1006
    "kg",                               // 1054
    "Volllast Relais",                  // 1007
    "kg",                               // 1055
    "Überlast Relais",                  // 1009
    "kg",                               // 1056
    "Schlaffseil und Seildiff. Relais", // 1011
    "kg",                               // 1057
    "erlaubte Seildifferenz",           // 1013
    "kg",                               // 1050
    "10V = ",                           // 1015
    "kg",                               // 1059
    "Seilanzahl",                       // 1017
    "Progress1",                        // 1027
    "Progress1",                        // 1028
    "Progress1",                        // 1029
    "Progress1",                        // 1030
    "Progress1",                        // 1031
    "Progress1",                        // 1032
    "Progress1",                        // 1033
    "Progress1",                        // 1034
    "Progress1",                        // 1035
    "Progress1",                        // 1036
    "Progress1",                        // 1037
    "Progress1",                        // 1038
    "Static",                           // 1039
    "Seil 1",                           // rope1
    "Seil 2",                           // rope2
    "Seil 3",                           // rope3
    "Seil 4",                           // rope4
    "Seil 5",                           // rope5
    "Seil 6",                           // rope6
    "Seil 7",                           // rope7
    "Seil 8",                           // rope8
    "Seil 9",                           // rope9
    "Seil 10",                          // rope10
    "Seil 11",                          // rope11
    "Seil 12",                          // rope12
    "Faktor",                           // 1042
    "Custom1",                          // 1045
    "",                                 // 1046
    "",                                 // 1047
    "Read",                             // 1048
    "Write",                            // 1049
    "Units",                            // group1
    "kg",                               // 1051
    "tn.sh.",                           // 1052
    "tn.l.",                            // 1053
    "lbs",                              // 1060
    "Live Zero",                        // 1061
    "DC-Ausgang",                       // group2
    "auf Zuladung anwenden",            // 1062
    "Sensortype",                       // sensortype
    "Sensor A",                         // 1063
    "Sensor B",                         // 1064
    "Sensor C",                         // 1065
    "Sensor D",                         // 1066
    "",                                 // 1067
    "V (1 V = 2 mA)",                   // 1068
};
constexpr auto kMainControls = WithTexts(kMainDialogLayout, kMainTexts);

constexpr auto kDialogs = MakeDialogs("Info über Tensiq", kAboutControls, kMainControls);

constexpr ResourceModule kModule{kStringTable.data(), kStringTable.size(), kDialogs.data(),
                                 kDialogs.size(),     kProgramIcons,       kProgramIconCount};

} // namespace

} // namespace tensiq::res

namespace tensiq {

const res::ResourceModule* GermanResources() {
    return &res::kModule;
}

} // namespace tensiq
