#pragma once

// Start-up's glow step for tests and benchmarks: extensions, render targets
// of bloomWidth x bloomHeight and the three programs read from shaders/ in
// the working directory (run from the runtime directory). Leaves the window
// framebuffer bound. True when the effect is ready (shadersActive). Once
// per GL context; releaseGlow gives the resources back.
bool startGlowEffect(int bloomWidth, int bloomHeight);
