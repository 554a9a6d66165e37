// A pure file reader that reaches into a screen: refused.
#include "modes/single/single.h"
