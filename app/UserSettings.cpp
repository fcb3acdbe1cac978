#include "app/UserSettings.h"

namespace quorlin {} // namespace quorlin
