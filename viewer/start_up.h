// The rules of the viewer's start-up that need no window: language and working folder.
#pragma once

#include <string>

namespace viewer {

// The thread locale of a language index (1031 German, 1033 English, 1036, 1034, 1043, 1045), or 0
// for an index outside 0..5, which leaves the locale as it is.
unsigned LocaleOfLanguage(int index);

// The resource language the viewer shows for a thread locale: German for German locales, English
// for every other (only these two text sets exist).
unsigned ResourceLanguageOfLocale(unsigned locale);

// The program's folder from argument 0: everything up to and including the last backslash after
// the first character. False, with `folder` untouched, when there is none.
bool ProgramFolderOf(const std::string& programPath, std::string& folder);

}  // namespace viewer
