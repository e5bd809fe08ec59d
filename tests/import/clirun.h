#pragma once
// Moved to tests/support; kept so that tests written against the old place still build.
#include "support/clirun.h"
