#include "RegStore.h"
