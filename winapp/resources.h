// The program's resources in the language chosen at start-up. The thread locale alone does not pick
// resources on current systems, so every lookup names the language and falls back to any language
// for resources that exist in one only.
#pragma once

#include <windows.h>

#include <string>

#include "handles.h"

namespace winapp {

HINSTANCE ResourceInstance();

void SetResourceLanguage(LANGID language);
LANGID ResourceLanguage();

// The resource in the chosen language, else in any language; null when it does not exist.
HRSRC FindResourceInLanguage(LPCSTR type, int id);

// A string of the string table as text of the system's ANSI code page; empty when it does not exist.
std::string LoadText(int id);
// The same, with its first `token` (a placeholder such as "%s") replaced by `value`.
std::string LoadText(int id, const std::string& token, const std::string& value);

// The dialog template, or null.
const DLGTEMPLATE* LoadDialogTemplate(int id);

// A menu resource; an empty holder when it does not exist.
Menu LoadMenuResource(int id);

// Icons and bitmaps exist once for all languages.
HICON LoadIconResource(int id);

}  // namespace winapp
