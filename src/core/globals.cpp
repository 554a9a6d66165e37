#include "core/globals.h"

int screenWidth = 1024;
int screenHeight = 768;
int framesPerSecond = 0;
bool glowPass = false;
bool shadersActive = false;
bool wireframe = false;
bool debugView = false;
int animationTicks = 0;
