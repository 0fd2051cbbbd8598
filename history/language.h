// The process-wide language index, read at start-up, and the date style it selects.
#pragma once

namespace history {

// 0 German, 1 English, ... (up to 5). Negative values are possible from a damaged registry.
int LanguageIndex();
void SetLanguageIndex(int index);

enum class DateStyle {
    Dotted,   // "%02d.%02d.%d": day, month, year
    Slashed,  // "%02d/%02d/%d": month, day, year
};

// German (0) and negative indices write dates dotted; every other language slashed.
DateStyle CurrentDateStyle();

}  // namespace history
