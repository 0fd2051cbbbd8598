; The setup's own texts in English (also for systems in neither language).

LangString ProductTitle ${LANG_ENGLISH} "${PRODUCT} companion programs"
!define SETUP_DESCRIPTION_ENGLISH "Setup of the ${PRODUCT} companion programs"
LangString WelcomeText ${LANG_ENGLISH} "This installs the companion programs of ${PRODUCT} ${VERSION_TEXT} by ${COMPANY} into the installation folder of ${PRODUCT}:$\r$\n$\r$\n  Historical Data Viewer (histview.exe)$\r$\n  Connection watcher (linkwait.exe)$\r$\n  SNMP router query (rtprobe.dll)$\r$\n$\r$\nThe Start menu gets the entry $\"Historical Data Viewer$\". The history and the settings of ${PRODUCT} are not changed, and uninstalling leaves them as they are.$\r$\n$\r$\n${COPYRIGHT}"
LangString SecPrograms ${LANG_ENGLISH} "Companion programs"
LangString SecAutoStart ${LANG_ENGLISH} "Start Lumetra Pro as soon as the internet can be reached"
LangString NoMonitor ${LANG_ENGLISH} "The folder$\r$\n$INSTDIR$\r$\nholds no Lumetra.exe. The companion programs belong in the installation folder of ${PRODUCT}.$\r$\n$\r$\nInstall into this folder all the same?"
LangString FileInUse ${LANG_ENGLISH} "$R0 is in use and cannot be replaced or removed. Close the Historical Data Viewer and ${PRODUCT}, then choose Retry. Cancel stops here; no file has been changed."
LangString FolderFailed ${LANG_ENGLISH} "The folder $INSTDIR cannot be created."
LangString UninstallerFailed ${LANG_ENGLISH} "The uninstaller cannot be written to $INSTDIR."
LangString ShortcutFailed ${LANG_ENGLISH} "The Start-menu entry cannot be created."
LangString RegistryFailed ${LANG_ENGLISH} "The registry cannot be changed."
LangString RemoveFailed ${LANG_ENGLISH} "This file cannot be removed:"
