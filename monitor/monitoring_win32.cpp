#include "monitor/monitoring.h"

Monitoring monitoring;
