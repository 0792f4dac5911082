#pragma once
// Beat search on the detection window: the last 400 values of the smoothed slope of the
// conditioned pulse. A beat is a slope lobe; its end (the last non-negative value) marks it.

// Countdown to the first evaluation: from the window's first maximum, the index of the
// first negative value after it (n when there is none).
int FirstLobeEnd(const double* window, int n);

// The window starts at the end of the previous beat's lobe. Returns the index of the end of
// the next lobe that rises above half the window's maximum (the beat interval in samples),
// or 0 when no such lobe ends inside the window.
int NextLobeEnd(const double* window, int n);
