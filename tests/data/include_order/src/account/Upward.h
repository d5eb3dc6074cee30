#pragma once
// An account header that reaches up into the shell: the check must refuse it.
#include "app/Shell.h"
