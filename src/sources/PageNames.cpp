#include "PageNames.h"
