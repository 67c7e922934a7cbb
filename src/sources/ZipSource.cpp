#include "ZipSource.h"
