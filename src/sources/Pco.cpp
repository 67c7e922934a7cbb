#include "Pco.h"
