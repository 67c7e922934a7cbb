#include "TavimoView.h"
