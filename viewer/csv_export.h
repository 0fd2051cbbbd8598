// "CSV Export": the day rows under the clicked row as a CSV data file that the user names in the
// Save As dialog; no spreadsheet application is needed.
#pragma once

#include <windows.h>

#include <string>

#include "prompts.h"

namespace viewer {

// Asks the user for the name of a file to save.
class FileChooser {
public:
    enum Result { kChosen, kCancelled, kFailed };
    virtual ~FileChooser() = default;
    // `path` comes in as the proposed path and goes out as the chosen one. On kFailed, `error` is
    // the dialog's error code.
    virtual Result ChooseSaveFile(HWND owner, const std::string& title, const std::string& filter,
                                  const std::string& extension, std::string& path, unsigned long& error) = 0;
};

// The system's Save As dialog; the working directory is the same after it as before.
FileChooser& SystemFileChooser();

// The user's documents folder, or empty when the system names none.
std::string DocumentsFolder();

// The day rows that the tree shows under the clicked row (`level`, its `texts`, its position `item`
// as a hint), from the history read afresh (read only), written with the separator of the active
// date style to the file the user chooses. The dialog starts in `lastFolder`, else in the documents
// folder; a file written makes its folder the new `lastFolder`. Failures are told in message boxes
// with `caption`.
void ExportCsv(HWND owner, winapp::Prompts& prompts, FileChooser& chooser, const std::string& caption, int level,
               const std::string (&texts)[4], int item, std::string& lastFolder);

}  // namespace viewer
