#pragma once
// The two test sounds: short two-note chimes, 16-bit PCM mono WAV at 44100 samples/s.
// start.wav rises (E5 then A5), end.wav falls (A5 then E5).

#include <QString>

// Writes a chime of the two notes (Hz) to path; false when the file cannot be written.
bool WriteChime(const QString& path, double firstHz, double secondHz);
