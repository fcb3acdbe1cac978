// The options summary shown on the Main Panel (MnlblOptsUsed) and printed in
// the listing's statistics section.
#pragma once

#include "state/Controls.h"

namespace quorlin {

/// Rebuilds MnlblOptsUsed from the option controls: the checked preferences
/// in tag order, "Dps1 " to "Dps3 ", "Dpln " once for any Dln box, the
/// batch-only options in batch mode, then the DP option; "None" when empty.
/// At most 255 characters.
void BuildOptsSummary(TAppState& app);

} // namespace quorlin
