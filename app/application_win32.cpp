#include "app/application.h"

Application application;
