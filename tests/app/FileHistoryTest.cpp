#include "app/FileHistory.h"
