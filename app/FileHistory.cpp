#include "app/FileHistory.h"

namespace quorlin {} // namespace quorlin
