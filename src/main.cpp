#include "core/main_loop.h"

int main(int, char**) { return runGame(); }
