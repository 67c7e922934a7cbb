// The view tests' helpers live in the header; the other test programs that use them list
// this file among their sources.
#include "ViewTestSupport.h"
