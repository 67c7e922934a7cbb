#include "Dib.h"
