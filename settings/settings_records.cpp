#include "settings/settings_records.h"

Settings settings;
