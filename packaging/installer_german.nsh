; Die eigenen Texte des Setups auf Deutsch.

LangString ProductTitle ${LANG_GERMAN} "${PRODUCT} Zusatzprogramme"
!define SETUP_DESCRIPTION_GERMAN "Setup der ${PRODUCT} Zusatzprogramme"
LangString WelcomeText ${LANG_GERMAN} "Hiermit werden die Zusatzprogramme von ${PRODUCT} ${VERSION_TEXT} von ${COMPANY} in den Installationsordner von ${PRODUCT} installiert:$\r$\n$\r$\n  Historical Data Viewer (histview.exe)$\r$\n  Verbindungsüberwachung (linkwait.exe)$\r$\n  SNMP-Routerabfrage (rtprobe.dll)$\r$\n$\r$\nIm Startmenü erscheint der Eintrag $\"Historical Data Viewer$\". Verlaufsdaten und Einstellungen von ${PRODUCT} werden nicht verändert und bleiben auch beim Deinstallieren erhalten.$\r$\n$\r$\n${COPYRIGHT}"
LangString SecPrograms ${LANG_GERMAN} "Zusatzprogramme"
LangString SecAutoStart ${LANG_GERMAN} "Lumetra Pro starten, sobald das Internet erreichbar ist"
LangString NoMonitor ${LANG_GERMAN} "Der Ordner$\r$\n$INSTDIR$\r$\nenthält kein Lumetra.exe. Die Zusatzprogramme gehören in den Installationsordner von ${PRODUCT}.$\r$\n$\r$\nTrotzdem in diesen Ordner installieren?"
LangString FileInUse ${LANG_GERMAN} "$R0 wird verwendet und kann nicht ersetzt oder entfernt werden. Schließen Sie den Historical Data Viewer und ${PRODUCT} und wählen Sie dann Wiederholen. Abbrechen beendet den Vorgang; keine Datei wurde verändert."
LangString FolderFailed ${LANG_GERMAN} "Der Ordner $INSTDIR kann nicht angelegt werden."
LangString UninstallerFailed ${LANG_GERMAN} "Das Deinstallationsprogramm kann nicht nach $INSTDIR geschrieben werden."
LangString ShortcutFailed ${LANG_GERMAN} "Der Eintrag im Startmenü kann nicht angelegt werden."
LangString RegistryFailed ${LANG_GERMAN} "Die Registrierung kann nicht geändert werden."
LangString RemoveFailed ${LANG_GERMAN} "Diese Datei kann nicht entfernt werden:"
