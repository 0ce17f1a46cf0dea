// The one set of highscore settings of the run.
#include "dialogs/highscore_settings.h"

namespace quillon {

HighscoreSettings& highscore_settings()
{
    static HighscoreSettings s_settings;
    return s_settings;
}

} // namespace quillon
