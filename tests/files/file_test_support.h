#include "tests/support/file_support.h"
