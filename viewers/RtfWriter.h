// Rich text (RTF) for coloured reports: what word processors open.
#pragma once

#include "viewers/Reports.h"

#include <string>

namespace quorlin {

/// A coloured document as rich text: Courier New, a colour table, the colour
/// changed before each line whose colour differs from the line before.
std::string WriteRtf(const TColouredDocument& document);

} // namespace quorlin
