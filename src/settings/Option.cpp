#include "Option.h"
