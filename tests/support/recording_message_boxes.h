// The recorded message boxes live with the rest of the platform fake.
#pragma once

#include "tests/support/fake_platform.h"
