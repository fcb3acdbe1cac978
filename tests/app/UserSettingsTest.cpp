#include "app/UserSettings.h"
